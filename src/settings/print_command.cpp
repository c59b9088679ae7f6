#include "settings/print_command.h"

#include <csignal>
#include <cstdlib>

#include "base/abandon.h"
#include "base/output_stream.h"

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
    flush_gathered();  // the command's own output comes after ours
    // Dispositions set to ignore survive exec, so the default is put back
    // for the time of the call; the driver writes nothing meanwhile.
    struct sigaction fallback {
    }, saved{};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(SIGPIPE, &fallback, &saved);
    // Outside an interrupt window the command starts with SIGINT ignored,
    // as the driver then ignores it.
    struct sigaction ignore {
    }, saved_sigint_action{};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    const bool outside_window = !interrupt_window_open();
    if (outside_window) sigaction(SIGINT, &ignore, &saved_sigint_action);
    const int status = std::system(line.c_str());
    sigaction(SIGPIPE, &saved, nullptr);
    if (outside_window) sigaction(SIGINT, &saved_sigint_action, nullptr);
    return status;
}

}  // namespace tgd
