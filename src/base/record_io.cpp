#include "base/record_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "base/abandon.h"
#include "base/fields.h"
#include "base/output_stream.h"
#include "base/stack.h"

namespace tgd {

namespace {

constexpr const char* temp_template = "TXtemp.XXXXXX";
std::string last_temp_name;

int item_size(int type) { return type == cio_characters ? 1 : 4; }

// Writes all of data, retrying short writes; returns the bytes written,
// -1 when a first write fails.
ssize_t write_all(int fd, const char* data, std::size_t n) {
    std::size_t put = 0;
    while (put < n) {
        ssize_t w = ::write(fd, data + put, n - put);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return put > 0 ? static_cast<ssize_t>(put) : -1;
        put += static_cast<std::size_t>(w);
    }
    return static_cast<ssize_t>(put);
}

// Bytes of count items, or -1 when the count is negative or too large.
ssize_t transfer_bytes(int count, int type) {
    if (count < 0) return -1;
    return static_cast<ssize_t>(count) * item_size(type);
}

}  // namespace

int cread_(int unit, void* buffer, int count, int type) {
    ssize_t bytes = transfer_bytes(count, type);
    if (bytes < 0) return -1;
    flush_gathered();
    ssize_t n;
    do {
        n = ::read(unit, buffer, static_cast<std::size_t>(bytes));
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : static_cast<int>(n / item_size(type));
}

// Unlike cread_, keeps reading until count items have come or the input ends.
int ccread_(int unit, void* buffer, int count, int type) {
    ssize_t bytes = transfer_bytes(count, type);
    if (bytes < 0) return -1;
    flush_gathered();
    auto* p = static_cast<char*>(buffer);
    ssize_t got = 0;
    while (got < bytes) {
        ssize_t n = ::read(unit, p + got, static_cast<std::size_t>(bytes - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return got > 0 ? static_cast<int>(got / item_size(type)) : -1;
        if (n == 0) break;
        got += n;
    }
    return static_cast<int>(got / item_size(type));
}

int cwrite_(int unit, const void* buffer, int count, int type) {
    ssize_t bytes = transfer_bytes(count, type);
    if (bytes < 0) return -1;
    flush_gathered();
    ssize_t put = write_all(unit, static_cast<const char*>(buffer), static_cast<std::size_t>(bytes));
    return put < 0 ? -1 : static_cast<int>(put / item_size(type));
}

long long cseek_(int unit, long long offset, int whence) {
    flush_gathered();
    int w = whence == 1 ? SEEK_CUR : whence == 2 ? SEEK_END : SEEK_SET;
    return ::lseek(unit, static_cast<off_t>(offset), w);
}

int copen_(const char* name, int flags, int mode) {
    if (name == nullptr) return -1;
    return ::open(name, flags, static_cast<mode_t>(mode));
}

int ccreat_(const char* name) {
    constexpr mode_t permissions = 0775;
    if (name != nullptr && name[0] != '\0') return ::creat(name, permissions);
    std::string temp = temp_template;  // the X's are fresh for every use
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        if (errno != EEXIST) return -1;
        std::fputs("TERMINATING: < cio > too many temporary files - try again\n", stderr);
        fabort_();
    }
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, permissions & ~mask);
    last_temp_name = temp;
    return fd;
}

std::string_view ccreat_temp_name() { return last_temp_name; }

int cclose_(int unit) {
    flush_gathered();
    (void)take_write_failure(unit);  // nobody asked: the next file on this descriptor starts clean
    return ::close(unit);
}
int sclose_(int unit) { return cclose_(unit); }

int sopen_(const char* name, int mode) {
    int fd = mode == 1 ? ccreat_(name) : copen_(name, mode, 0);
    if (fd >= 0) aclose_(fd, 1);
    return fd;
}

void aclose_(int unit, int flag) { ::fcntl(unit, F_SETFD, flag ? FD_CLOEXEC : 0); }

void gtline_(int unit, std::span<char> buffer, int& length) {
    // Room for the NUL; the rest of a longer line is read and dropped.
    const std::size_t keep = buffer.empty() ? 0 : buffer.size() - 1;
    std::size_t n = 0;
    bool any = false;
    flush_gathered();
    for (;;) {
        char c;
        ssize_t r = ::read(unit, &c, 1);
        if (r < 0) {
            if (errno == EINTR) {
                interrupt_point();
                continue;
            }
            std::fputs("TERMINATING: < gtline > in reading (gtline)\n", stderr);
            fabort_();
        }
        if (r == 0) {
            if (!any) {
                length = -1;
                return;
            }
            break;
        }
        any = true;
        if (c == '\n') break;
        if (n < keep) buffer[n++] = c;
    }
    if (!buffer.empty()) buffer[n] = '\0';
    length = static_cast<int>(n);
}

void gtlin2_(int unit, std::span<char> buffer, int start, int& length) {
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (from > buffer.size()) from = buffer.size();
    gtline_(unit, buffer.subspan(from), length);
}

void ptline_(int unit, std::string_view text) {
    std::size_t end = text.find_last_not_of(' ');
    if (end != std::string_view::npos) gathered_write(unit, text.substr(0, end + 1));
    gathered_write(unit, "\n");
}

void prtfil_(int unit) {
    // The newline goes into the line right after its last nonblank, so
    // that the line leaves in one piece.
    const std::size_t end = encbfc_.used().find_last_not_of(' ');
    encbfl_ = end == std::string_view::npos ? 0 : static_cast<int>(end + 1);
    *encbfc_.take(1) = '\n';
    gathered_write(unit, encbfc_.used());
    encbfl_ = 0;
    encbfc_.reset();
}

void setprm_(int unit, std::string_view prompt) {
    if (unit != 0 || !::isatty(2)) return;
    prompt = prompt.substr(0, prompt.find('\0'));
    gathered_write(2, prompt);
}

void gtinbf_() {
    if (decbfl_.unit >= 0) {
        gtline_(decbfl_.unit, decbfc_.chars, decbfl_.length);
        decbfl_.position = 1;
    } else {
        decbfl_.length = -1;
    }
}

}  // namespace tgd
