# The shell runs scripts with Tcl's full language and the library loaded.
puts "argc=$argc argv=$argv"
puts [expr {6 * 7}]
puts "package quorlane [package present quorlane]"
puts "catch: [catch {error "a scripted failure"} message] $message"
proc square {x} { return [expr {$x * $x}] }
puts "square 12 = [square 12]"
