# A script whose name starts with "-", given after "--".
puts "the script ran: $argv"
