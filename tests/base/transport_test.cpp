// Transport, allocation and abandoning, below the command loop.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "base/abandon.h"
#include "base/alloc.h"
#include "base/pipe.h"
#include "base/process_state.h"

namespace {

using namespace tgd;

// The reply letter an abandoned call answers with; 0 when it returned.
template <class F>
char abandoned_with(F call) {
    try {
        call();
    } catch (const OperationAbandoned& abandoned) {
        return abandoned.reply;
    }
    return 0;
}

struct Pipe {
    int fds[2];
    Pipe() { EXPECT_EQ(::pipe(fds), 0); }
    ~Pipe() {
        for (int fd : fds)
            if (fd >= 0) ::close(fd);
    }
    void close_write() {
        ::close(fds[1]);
        fds[1] = -1;
    }
};

TEST(Transport, ReadsAWholeBurstLargerThanOneChunk) {
    Pipe p;
    std::vector<char> sent(10000);
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 7);
    std::thread writer([&] { ASSERT_EQ(pwrite(p.fds[1], sent.data(), 10000), 10000); });
    std::vector<char> got(10000);
    EXPECT_EQ(pread(p.fds[0], got.data(), 10000), 10000);
    writer.join();
    EXPECT_EQ(got, sent);
}

TEST(Transport, NothingIsReadForCountsBelowOne) {
    // An invalid descriptor proves that no read() is made.
    char c = 'x';
    EXPECT_EQ(pread(-1, &c, 0), 0);
    EXPECT_EQ(pread(-1, &c, -3), -3);
    EXPECT_EQ(pwrite(-1, &c, 0), 0);
    EXPECT_EQ(c, 'x');
}

TEST(Transport, EndOfFileKeepsWhatArrived) {
    Pipe p;
    ASSERT_EQ(::write(p.fds[1], "abc", 3), 3);
    p.close_write();
    char buf[8] = {};
    EXPECT_EQ(pread(p.fds[0], buf, 8), 0);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(my_read(p.fds[0], buf, 1), 0);
}

TEST(Transport, LinesAreReadWithoutReadingAhead) {
    Pipe p;
    const std::string input = "first line that is long\nsecond\nlast";
    ASSERT_EQ(::write(p.fds[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    p.close_write();
    EXPECT_EQ(read_line(p.fds[0], 5), "first");  // cut, the rest of the line dropped
    EXPECT_EQ(read_line(p.fds[0], 80), "second");
    EXPECT_EQ(read_line(p.fds[0], 80), "last");
    EXPECT_EQ(read_line(p.fds[0], 80), std::nullopt);
}

TEST(Allocation, ZeroElementsGiveAValidBlock) {
    Block<float> empty(0);
    EXPECT_NE(empty.data(), nullptr);
    EXPECT_EQ(empty.size(), 0u);
    Block<int> some(3);
    for (int v : some) EXPECT_EQ(v, 0);
}

TEST(Allocation, ImpossibleCountsAbandonWithOutOfMemoryAndStartTracing) {
    for (long long count : {-1LL, -2147483648LL, 1LL << 62}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(abandoned_with([count] { Block<float> block(count); }), 'A') << count;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Out of memory. Restart TAVIX.\n");
    }
    EXPECT_EQ(alloc_trace, 1);
    testing::internal::CaptureStderr();
    void* p = my_calloc(3, 4);
    std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_EQ(trace, "my_calloc : (3*4) " + std::to_string(reinterpret_cast<std::uintptr_t>(p)) + ".\n");
    std::free(p);
    testing::internal::CaptureStderr();
    p = my_malloc(5);
    trace = testing::internal::GetCapturedStderr();
    EXPECT_EQ(trace, "my_malloc : (5) " + std::to_string(reinterpret_cast<std::uintptr_t>(p)) + ".\n");
    std::free(p);
    reset_process_state();
}

class Interrupts : public testing::Test {
protected:
    void SetUp() override {
        previous_ = saved_sigint;
        saved_sigint.sa_handler = SIG_DFL;
    }
    void TearDown() override {
        saved_sigint = previous_;
        ignore_sigint();
    }
    struct sigaction previous_ {};
};

TEST_F(Interrupts, AnInterruptInsideTheWindowAbandonsWithB) {
    InterruptWindow window;
    raise(SIGINT);
    EXPECT_TRUE(interrupt_pending());
    EXPECT_EQ(abandoned_with([&] { window.close(); }), 'B');
    EXPECT_FALSE(interrupt_pending());
    // SIGINT is ignored again after the window.
    raise(SIGINT);
    EXPECT_FALSE(interrupt_pending());
}

TEST_F(Interrupts, ABlockedWriteReturnsAndAbandons) {
    Pipe p;
    std::thread interrupter;
    const auto blocked_write = [&] {
        InterruptWindow window;
        pthread_t self = pthread_self();
        interrupter = std::thread([self] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            pthread_kill(self, SIGINT);
        });
        std::vector<char> lots(1 << 20);
        pwrite(p.fds[1], lots.data(), static_cast<int>(lots.size()));  // blocks: nobody reads
    };
    EXPECT_EQ(abandoned_with(blocked_write), 'B');
    interrupter.join();
}

TEST_F(Interrupts, NoWindowWhenStartedWithInterruptIgnored) {
    saved_sigint.sa_handler = SIG_IGN;
    struct sigaction before {};
    sigaction(SIGINT, nullptr, &before);
    InterruptWindow window;
    struct sigaction now {};
    sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, before.sa_handler);  // no handler installed
    EXPECT_NO_THROW(window.close());
}

TEST(Abort, ZzabtAbandonsWithA) { EXPECT_EQ(abandoned_with(zzabt_), 'A'); }

}  // namespace
