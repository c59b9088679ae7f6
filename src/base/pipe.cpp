#include "base/pipe.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "base/abandon.h"
#include "base/output_stream.h"
#include "base/process_state.h"

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

namespace {
constexpr std::size_t kReadAhead = 1 << 16;

struct ReadAhead {
    std::array<char, kReadAhead> bytes;
    std::size_t begin = 0, end = 0;
    std::size_t available() const { return end - begin; }
    // Takes up to n bytes from the buffer.
    std::size_t take(char* to, std::size_t n) {
        n = std::min(n, available());
        std::memcpy(to, bytes.data() + begin, n);
        begin += n;
        return n;
    }
};
ReadAhead ahead;
const StateReset reset_state{[] { ahead.begin = ahead.end = 0; }};

// One read() into the empty buffer with my_read's result.
int refill() {
    ahead.begin = ahead.end = 0;
    int got = my_read(kCommandFd, ahead.bytes.data(), static_cast<int>(kReadAhead));
    if (got > 0) ahead.end = static_cast<std::size_t>(got);
    return got;
}
}  // namespace

int read_commands(void* buf, int n) {
    if (n < 1) return n;
    auto* to = static_cast<char*>(buf);
    std::size_t done = ahead.take(to, static_cast<std::size_t>(n));
    const auto want = static_cast<std::size_t>(n);
    while (done < want) {
        if (want - done >= kReadAhead) {
            // A large block is read straight into its place.
            flush_gathered();
            ssize_t got = ::read(kCommandFd, to + done, want - done);
            if (got < 0 && errno == EINTR) {
                interrupt_point();
                continue;
            }
            if (got <= 0) return static_cast<int>(got);
            done += static_cast<std::size_t>(got);
            continue;
        }
        int got = refill();
        if (got < 0 && errno == EINTR) {
            interrupt_point();
            continue;
        }
        if (got <= 0) return got;
        done += ahead.take(to + done, want - done);
    }
    return n;
}

int read_command_byte(char& c) {
    if (ahead.available() == 0) {
        int got = refill();
        if (got <= 0) return got;
    }
    return static_cast<int>(ahead.take(&c, 1));
}

int my_read(int fd, void* buf, int n) {
    flush_gathered();
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
    flush_gathered();
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
