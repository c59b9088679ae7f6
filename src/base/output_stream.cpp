#include "base/output_stream.h"

#include <stdio_ext.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <vector>

#include "base/abandon.h"
#include "base/process_state.h"

namespace tgd {

bool OutputStream::open(const std::string& path, const char* mode) {
    const std::string close_on_exec = std::string(mode) + "e";
    // The old file is closed first: reopening the same file must not let
    // its buffered bytes land in the file just emptied.
    drain();
    file_.reset();
    file_.reset(path.empty() ? nullptr : std::fopen(path.c_str(), close_on_exec.c_str()));
    ok_ = file_ != nullptr;
    return ok_;
}

bool OutputStream::adopt(std::FILE* file) {
    drain();
    file_.reset(file);
    ok_ = file_ != nullptr;
    return ok_;
}

void OutputStream::drain() {
    if (file_ && ok_ && !buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get()) != buffer_.size())
        ok_ = false;
    buffer_.clear();
}

void OutputStream::flush() {
    drain();
    if (file_ && std::fflush(file_.get()) != 0) ok_ = false;
}

bool OutputStream::close() {
    if (!file_) return ok_;
    drain();
    if (std::fflush(file_.get()) != 0) ok_ = false;
    if (std::fclose(file_.release()) != 0) ok_ = false;
    return ok_;
}

}  // namespace tgd

namespace tgd {

namespace {
constexpr std::size_t kGatherLimit = 1 << 16;
constexpr int kTerminal = 2;

// The bytes of the one file descriptor gathered at a time; a write to
// another descriptor puts them out first.
// The buffers are never destroyed: the destructors of other globals may
// still close a descriptor (and so flush) at exit.
std::string& gathered = *new std::string;  // NOLINT(cppcoreguidelines-owning-memory)
int gathered_fd = -1;
std::array<char, kGatherLimit> terminal_buffer;
// The replies of the current operation.
std::string& replies = *new std::string;  // NOLINT(cppcoreguidelines-owning-memory)
int replies_fd = -1;
// Descriptors of record files a gathered write has failed on since they
// were last asked about.
std::vector<int>& failed_fds = *new std::vector<int>;  // NOLINT(cppcoreguidelines-owning-memory)

const StateReset reset_state{[] {
    gathered.clear();
    gathered_fd = -1;
    replies.clear();
    replies_fd = -1;
    failed_fds.clear();
}};

// Writes bytes to fd and empties them; the count actually written.
std::size_t write_out(int fd, std::string& bytes) {
    std::size_t put = 0;
    while (put < bytes.size()) {
        ssize_t w = ::write(fd, bytes.data() + put, bytes.size() - put);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) break;  // a failed write loses the rest, as the single writes did
        put += static_cast<std::size_t>(w);
    }
    bytes.clear();
    return put;
}

void flush_file() {
    const std::size_t size = gathered.size();
    if (write_out(gathered_fd, gathered) < size &&
        std::find(failed_fds.begin(), failed_fds.end(), gathered_fd) == failed_fds.end())
        failed_fds.push_back(gathered_fd);
}

// A failed flush has lost its bytes (an interrupt, or nobody reading).
void flush_terminal() {
    if (std::fflush(stderr) == 0) return;
    __fpurge(stderr);
    std::clearerr(stderr);
    interrupt_point();
}

// The writer under the terminal stream: a write cut short by a signal is
// made again, unless the signal was an interrupt inside a window, which
// abandons what was not yet written.
ssize_t terminal_write(void*, const char* bytes, std::size_t n) {
    std::size_t put = 0;
    while (put < n) {
        ssize_t w = ::write(kTerminal, bytes + put, n - put);
        if (w < 0 && errno == EINTR) {
            if (interrupt_pending()) return -1;
            continue;
        }
        if (w <= 0) return put > 0 ? static_cast<ssize_t>(put) : -1;
        put += static_cast<std::size_t>(w);
    }
    return static_cast<ssize_t>(n);
}
}  // namespace

void gather_terminal_output() {
    static bool done = false;
    if (done) return;
    done = true;
    std::fflush(stderr);
    cookie_io_functions_t io{};
    io.write = terminal_write;
    std::FILE* terminal = fopencookie(nullptr, "w", io);
    if (terminal == nullptr) return;
    if (::isatty(kTerminal))
        std::setvbuf(terminal, nullptr, _IONBF, 0);
    else
        std::setvbuf(terminal, terminal_buffer.data(), _IOFBF, terminal_buffer.size());
    stderr = terminal;  // the messages written through stderr share the buffer
}

void gathered_write(int fd, std::string_view bytes) {
    if (fd == kTerminal) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stderr) != bytes.size()) flush_terminal();
        return;
    }
    if (fd != gathered_fd) {
        flush_file();
        gathered_fd = fd;
    }
    gathered.append(bytes);
    if (gathered.size() >= kGatherLimit) flush_file();
}

void gathered_reply(int fd, std::string_view bytes) {
    if (fd != replies_fd) {
        write_out(replies_fd, replies);
        replies_fd = fd;
    }
    replies.append(bytes);
}

bool take_write_failure(int fd) {
    if (fd == gathered_fd) flush_file();
    const auto it = std::find(failed_fds.begin(), failed_fds.end(), fd);
    if (it == failed_fds.end()) return false;
    failed_fds.erase(it);
    return true;
}

void flush_gathered() {
    flush_file();
    flush_terminal();
    write_out(replies_fd, replies);
}

}  // namespace tgd
