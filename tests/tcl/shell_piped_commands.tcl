# Commands piped into the shell run as a script file does: read in the same
# way to their end, with the same output and exit status. A NUL byte or a
# Windows line end in them does not stop the commands after it or change
# what they mean.
source [file join [file dirname [info script]] lib scenario.tcl]
set shell [info nameofexecutable]
# Runs the shell with `args` (exec's words); answers its exit status and
# what it printed.
proc run_shell {args} {
    set status 0
    if {[catch {exec $::shell {*}$args 2>@1} output] && [lindex $::errorCode 0] eq "CHILDSTATUS"} {
        set status [lindex $::errorCode 2]
        regsub {\nchild process exited abnormally$} $output {} output
    }
    return [list $status $output]
}
# Runs the script `text` as a file and piped in; prints what the runs
# printed and their exit status when they agree, else both.
proc both_ways {text} {
    set f [open script.tcl w]
    fconfigure $f -encoding utf-8 -translation lf
    puts -nonewline $f $text
    close $f
    lassign [run_shell script.tcl] file fileOutput
    set f [open script.tcl rb]
    lassign [run_shell <@ $f] piped pipedOutput
    close $f
    # Only the file's run names its file.
    regsub -all {\n    \(file "script.tcl" line \d+\)} $fileOutput {} fileOutput
    if {$file == $piped && $fileOutput eq $pipedOutput} {
        puts "$pipedOutput\n  (status $piped, as a file and piped in)"
    } else {
        puts "as a file (status $file):\n$fileOutput\npiped in (status $piped):\n$pipedOutput"
    }
}

puts "--- a NUL byte inside a value, and one in a comment between two commands"
both_ways "set x \"a\0b\"\nputs \"length \[string length \$x\]\"\nputs after\n"
both_ways "puts before\n# a NUL \0 in a comment\nputs after\n"

puts "--- Windows line ends, a brace spanning lines, and text that is not ASCII"
both_ways "proc p {} {\r\n  return \"Gr\u00fc\u00dfe \u2713\"\r\n}\r\nputs \[p\]\r\nputs \[string length \"a\r\nb\"\]\r\n"

puts "--- a failing command ends the script with status 1"
both_ways "puts one\nclose_project\nputs never\n"

puts "--- exit in the script sets the status"
both_ways "puts leaving\nexit 3\n"
