#include "settings/print_command.h"

#include <csignal>
#include <cstdlib>

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
    // A relative name beginning with '-' would be taken as an option.
    line += shell_quote(file.starts_with('-') ? "./" + std::string(file) : std::string(file));
    line += " &";
    return line;
}

int run_shell_command(const std::string& line) {
    // Dispositions set to ignore survive exec, so the default is put back
    // for the time of the call; the driver writes nothing meanwhile.
    struct sigaction fallback {
    }, saved{};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(SIGPIPE, &fallback, &saved);
    const int status = std::system(line.c_str());
    sigaction(SIGPIPE, &saved, nullptr);
    return status;
}

}  // namespace tgd
