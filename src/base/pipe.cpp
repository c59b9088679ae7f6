#include "base/pipe.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/abandon.h"

namespace tgd {

namespace {
constexpr int kChunk = 4096;

template <class Call>
int transfer(int n, Call call) {
    if (n < 1) return n;
    int done = 0;
    while (done < n) {
        ssize_t got = call(done, std::min(n - done, kChunk));
        if (got < 0 && errno == EINTR) {
            interrupt_point();  // leaves with 'B' when SIGINT arrived in a window
            continue;
        }
        if (got <= 0) return static_cast<int>(got);
        done += static_cast<int>(got);
    }
    return n;
}
}  // namespace

int pread(int fd, void* buf, int n) {
    auto* bytes = static_cast<char*>(buf);
    return transfer(n, [&](int at, int len) { return ::read(fd, bytes + at, static_cast<size_t>(len)); });
}

int pwrite(int fd, const void* buf, int n) {
    const auto* bytes = static_cast<const char*>(buf);
    return transfer(n, [&](int at, int len) { return ::write(fd, bytes + at, static_cast<size_t>(len)); });
}

int my_read(int fd, void* buf, int n) {
    for (;;) {
        ssize_t got = ::read(fd, buf, static_cast<size_t>(n));
        if (got < 0 && errno == EINTR && !interrupt_pending()) continue;
        return static_cast<int>(got);
    }
}

}  // namespace tgd

namespace tgd {

std::optional<std::string> read_line(int fd, std::size_t max) {
    std::string line;
    bool any = false;
    for (;;) {
        char c;
        ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) {
            interrupt_point();
            continue;
        }
        if (got <= 0) break;
        any = true;
        if (c == '\n') break;
        if (line.size() < max) line.push_back(c);
    }
    if (!any) return std::nullopt;
    return line;
}

}  // namespace tgd
