# A script that fails stops there and the shell exits with a non-zero status.
puts "before the failure"
no_such_command with arguments
puts "never printed"
