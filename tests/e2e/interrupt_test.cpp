// SIGINT while a drawing operation is blocked on the terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "harness/tgd_process.h"

namespace {

using tgdtest::Options;
using tgdtest::TgdProcess;

// A terminal that stops reading: tgd's writes to it block once the pipe
// is full.
struct StalledTerminal {
    int fds[2] = {-1, -1};
    StalledTerminal() { EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0); }
    ~StalledTerminal() {
        ::close(fds[0]);
        if (fds[1] >= 0) ::close(fds[1]);
    }
    // Reads everything written so far, so that tgd can go on.
    void drain() {
        fcntl(fds[0], F_SETFL, O_NONBLOCK);
        char buf[65536];
        while (::read(fds[0], buf, sizeof buf) > 0) {
        }
    }
};

void send_long_polyline(TgdProcess& tgd) {
    // Zig-zags across the plot: every vertex is an absolute line sequence,
    // far more than a pipe holds.
    const int n = 40000;
    std::vector<float> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[static_cast<std::size_t>(i)] = i % 2 ? 0.9f : 0.1f;
        y[static_cast<std::size_t>(i)] = static_cast<float>(i % 100) / 100.0f;
    }
    tgd.send_byte('L');
    tgd.send_int(n);
    tgd.send_reals(x);
    tgd.send_reals(y);
}

TEST(Interrupt, InterruptedDrawingAnswersBAndTheLoopGoesOn) {
    StalledTerminal terminal;
    Options options;
    options.stderr_fd = terminal.fds[1];
    TgdProcess tgd(options);
    tgd.initialise();
    send_long_polyline(tgd);
    // Outside the drawing SIGINT is ignored, so it is sent until the
    // blocked drawing answers.
    for (int i = 0; i < 100 && !tgd.reply_ready(100); ++i) kill(tgd.pid(), SIGINT);
    EXPECT_EQ(tgd.read_byte(), 'B');
    terminal.drain();
    tgd.send_byte('W');
    EXPECT_EQ(tgd.read_byte(), 'W');
    EXPECT_EQ(tgd.finish(), 0);
}

TEST(Interrupt, DriverStartedInTheBackgroundFinishesItsDrawing) {
    StalledTerminal terminal;
    Options options;
    options.stderr_fd = terminal.fds[1];
    options.sigint_ignored = true;
    TgdProcess tgd(options);
    tgd.initialise();
    send_long_polyline(tgd);
    EXPECT_FALSE(tgd.reply_ready(300));
    kill(tgd.pid(), SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::thread reader([&] {
        for (int i = 0; i < 200 && !tgd.reply_ready(0); ++i) {
            terminal.drain();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    EXPECT_EQ(tgd.read_byte(), 'L');
    reader.join();
    tgd.read_reals(2);
    terminal.drain();
    EXPECT_EQ(tgd.finish(), 0);
}

}  // namespace
