# The shell starts with the project model built and the terminal as its
# host: it prints nothing of its own (no warning, no debug line) and leaves
# no file behind in the folder it runs in.
puts "quorlane [package present quorlane] started"
puts "files in the folder: [llength [glob -nocomplain -directory [pwd] *]]"
