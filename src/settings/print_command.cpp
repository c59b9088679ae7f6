#include "settings/print_command.h"

namespace tgd {

std::string shell_quote(std::string_view text) {
    std::string quoted = "'";
    for (char ch : text) {
        if (ch == '\'')
            quoted += "'\\''";
        else
            quoted += ch;
    }
    quoted += '\'';
    return quoted;
}

std::string print_command_line(std::string_view command, std::string_view file) {
    std::string line(command);
    line += ' ';
    line += shell_quote(file);
    line += " &";
    return line;
}

}  // namespace tgd
