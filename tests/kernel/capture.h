// Captures what the code under test writes on descriptor 2 (the terminal
// stream and the kernel's reports) for the lifetime of the object.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/bgrp.h"
#include "core/live_device.h"
#include "kernel/kernel.h"
#include "terminal/terminal.h"

namespace tgdtest {

class Fd2Capture {
public:
    Fd2Capture() {
        std::fflush(stderr);
        file_ = std::tmpfile();
        saved_ = dup(2);
        dup2(fileno(file_), 2);
    }
    ~Fd2Capture() {
        std::fflush(stderr);
        dup2(saved_, 2);
        close(saved_);
        std::fclose(file_);
    }
    Fd2Capture(const Fd2Capture&) = delete;
    Fd2Capture& operator=(const Fd2Capture&) = delete;

    // Everything written since construction or the last take().
    std::string take() {
        std::fflush(stderr);
        std::string text;
        char buf[4096];
        for (;;) {
            ssize_t n = pread(fileno(file_), buf, sizeof buf, static_cast<off_t>(taken_ + text.size()));
            if (n <= 0) break;
            text.append(buf, static_cast<std::size_t>(n));
        }
        taken_ += text.size();
        return text;
    }

private:
    std::FILE* file_ = nullptr;
    int saved_ = -1;
    std::size_t taken_ = 0;
};

// The kernel started on the graphics terminal, as after the first 'I'.
inline void start_terminal_kernel() {
    tgd::install_live_device(tgd::hp2648_);
    tgd::bgrp_ = tgd::GraphicsParameters{};
    Fd2Capture quiet;
    const float none[1] = {0.0f};
    tgd::pbegnz_(none, 0);
}

}  // namespace tgdtest
