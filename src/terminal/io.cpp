// Output of escape sequences on descriptor 2, the wait for Return after a
// frame prompt, and the locator.
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>

#include "base/abandon.h"
#include "base/pipe.h"
#include "terminal/escape.h"
#include "terminal/terminal.h"

namespace tgd {

namespace {

constexpr int kInputFd = 0;
constexpr std::size_t kLocatorReplySize = 32;  // the reply buffer, NUL included

// SIGINT ignored for the guard's lifetime; the disposition found is put back.
class SigintIgnored {
public:
    SigintIgnored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGINT, &ignore, &previous_);
    }
    ~SigintIgnored() { sigaction(SIGINT, &previous_, nullptr); }
    SigintIgnored(const SigintIgnored&) = delete;
    SigintIgnored& operator=(const SigintIgnored&) = delete;

private:
    struct sigaction previous_ {};
};

// Echo off on standard input while it is a terminal (pending input is
// discarded first); the attributes found are put back.
class EchoOff {
public:
    EchoOff() {
        if (!isatty(kInputFd) || tcgetattr(kInputFd, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        active_ = tcsetattr(kInputFd, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (active_) tcsetattr(kInputFd, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios saved_{};
    bool active_ = false;
};

// The low byte of each code.
std::string low_bytes(const int* codes, int n) {
    std::string bytes;
    for (int i = 0; i < n; ++i) bytes += static_cast<char>(codes[i] & 0xff);
    return bytes;
}

}  // namespace

void zoutrz_(std::string_view bytes) {
    interrupt_point();
    pwrite(kTerminalFd, bytes.data(), static_cast<int>(bytes.size()));
}

void zoutrz_(const int* codes, int n) { zoutrz_(low_bytes(codes, n)); }

void zoutwz_(std::string_view bytes) {
    zoutrz_(bytes);
    if (isatty(kInputFd)) tcflush(kInputFd, TCIFLUSH);
    // Up to the newline; end of input also ends the wait.
    (void)read_line(kInputFd, 0);
}

void zoutwz_(const int* codes, int n) { zoutwz_(low_bytes(codes, n)); }

void zquxyz_(int& ix, int& iy, int& key) {
    std::string request;
    esc::locator_request(request);
    zoutrz_(request);
    SigintIgnored no_interrupts;
    std::optional<std::string> line;
    {
        EchoOff quiet;
        line = read_line(kInputFd, kLocatorReplySize - 1);
    }
    key = -1;
    if (!line) return;
    long x = 0, y = 0;
    int k = 0;
    int fields = std::sscanf(line->c_str(), "%6ld,%6ld,%3d", &x, &y, &k);
    if (fields >= 1) ix = static_cast<int>(x);
    if (fields >= 2) iy = static_cast<int>(y);
    if (fields == 3 && k != 13 && k != 10) key = 1;
}

}  // namespace tgd
