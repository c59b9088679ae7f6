// The pick-from-menu dialogue, on the user's terminal when there is one.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "base/pipe.h"
#include "driver/device_hooks.h"

namespace tgd {

namespace {
// The terminal, opened for the dialogue and closed after it.
class TerminalInput {
public:
    TerminalInput() : fd_(::open("/dev/tty", O_RDONLY | O_CLOEXEC)) {}
    ~TerminalInput() {
        if (fd_ >= 0) ::close(fd_);
    }
    TerminalInput(const TerminalInput&) = delete;
    TerminalInput& operator=(const TerminalInput&) = delete;
    int fd() const { return fd_ >= 0 ? fd_ : 0; }

private:
    int fd_;
};

constexpr std::size_t kLineMax = 79;
}  // namespace

int zmenuz(const std::vector<std::string>& items) {
    const long n = static_cast<long>(items.size());
    TerminalInput input;
    if (n > 0) std::fprintf(stderr, "%s\n", items[0].c_str());
    for (long i = 1; i < n; ++i) std::fprintf(stderr, "%ld: %s\n", i, items[static_cast<std::size_t>(i)].c_str());
    for (;;) {
        std::fputs("Selection: ", stderr);
        std::fflush(stderr);
        std::optional<std::string> line = read_line(input.fd(), kLineMax);
        if (!line) {
            std::clearerr(stdin);
            return 0;
        }
        const char* text = line->c_str();
        char* end = nullptr;
        errno = 0;
        long number = std::strtol(text, &end, 10);
        if (end != text) {
            if (errno == 0 && number >= 0 && number < n) return static_cast<int>(number);
            std::fputs("Enter an item from the menu, or 0 to exit\n", stderr);
            continue;
        }
        for (long i = 1; i < n; ++i) {
            if (items[static_cast<std::size_t>(i)] == *line) return static_cast<int>(i);
        }
        std::fputs("Enter an item from the menu, or 0 to exit\n", stderr);
    }
}

}  // namespace tgd
