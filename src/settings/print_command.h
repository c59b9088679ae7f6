// The command line that hands a finished printer file to its print command.
#pragma once

#include <string>
#include <string_view>

namespace tgd {

// text in single quotes for the shell, an embedded single quote written as
// '\'' : a file name with blanks or shell characters stays one word and
// runs nothing.
std::string shell_quote(std::string_view text);

// "command file &", the file name quoted; the command is the user's own
// text and goes to the shell as given.
std::string print_command_line(std::string_view command, std::string_view file);

}  // namespace tgd
