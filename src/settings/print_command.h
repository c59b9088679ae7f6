// The command line that hands a finished printer file to its print command.
#pragma once

#include <string>
#include <string_view>

namespace tgd {

// text in single quotes for the shell, an embedded single quote written as
// '\'' : a file name with blanks or shell characters stays one word and
// runs nothing.
std::string shell_quote(std::string_view text);

// "command file &", the file name quoted (and a name beginning with '-'
// given as "./-..."); the command is the user's own text and goes to the
// shell as given.
std::string print_command_line(std::string_view command, std::string_view file);

// Runs a command line through the shell and returns its status.  The
// command gets the default disposition of SIGPIPE back, which the driver
// itself ignores.
int run_shell_command(const std::string& line);

}  // namespace tgd
