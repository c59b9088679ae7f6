// Captures what is written on a descriptor (2 by default: the terminal
// stream, the kernel's reports and the messages) while a test runs a piece
// of code.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

namespace tgd::test {

class FdCapture {
public:
    explicit FdCapture(int fd = 2) : fd_(fd), file_(std::tmpfile()) {
        std::fflush(stderr);
        saved_ = ::dup(fd_);
        ::dup2(::fileno(file_), fd_);
    }
    ~FdCapture() {
        restore();
        std::fclose(file_);
    }
    FdCapture(const FdCapture&) = delete;
    FdCapture& operator=(const FdCapture&) = delete;

    // Restores the descriptor and returns everything written on it.
    std::string text() {
        restore();
        std::string out;
        std::rewind(file_);
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, file_)) > 0) out.append(buf, n);
        return out;
    }

    // Everything written since construction or the last take(); the
    // capture goes on.
    std::string take() {
        std::fflush(stderr);
        std::string text;
        char buf[4096];
        for (;;) {
            ssize_t n = ::pread(::fileno(file_), buf, sizeof buf, static_cast<off_t>(taken_ + text.size()));
            if (n <= 0) break;
            text.append(buf, static_cast<std::size_t>(n));
        }
        taken_ += text.size();
        return text;
    }

private:
    void restore() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, fd_);
            ::close(saved_);
            saved_ = -1;
        }
    }
    int fd_;
    std::FILE* file_;
    int saved_ = -1;
    std::size_t taken_ = 0;
};

}  // namespace tgd::test
