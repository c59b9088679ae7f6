#include "harness/host_ops.h"
#include "base/record_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "harness/temp_dir.h"
#include "harness/fd_capture.h"

namespace tgd {
namespace {

using tgdtest::read_file;

// A pipe whose read end carries the given bytes, then end of input.
struct FedPipe {
    int fds[2] = {-1, -1};
    explicit FedPipe(const std::string& bytes) {
        if (::pipe(fds) != 0) return;
        [[maybe_unused]] auto n = ::write(fds[1], bytes.data(), bytes.size());
        ::close(fds[1]);
    }
    ~FedPipe() { ::close(fds[0]); }
    int in() const { return fds[0]; }
};

TEST(RecordIo, BlockTransfersCountWholeItems) {
    test::TempDir dir;
    int fd = ccreat_(dir.file("data").c_str());
    ASSERT_GE(fd, 0);
    EXPECT_EQ(cwrite_(fd, "0123456789", 10, cio_characters), 10);
    EXPECT_EQ(cread_(fd, nullptr, 1, 1), -1);  // created write-only
    cclose_(fd);
    fd = copen_(dir.file("data").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    char buf[16] = {};
    EXPECT_EQ(cread_(fd, buf, 3, 1), 2);  // 10 bytes are 2 whole words
    EXPECT_EQ(cseek_(fd, -4, 2), 6);
    EXPECT_EQ(cseek_(fd, 1, 1), 7);
    EXPECT_EQ(ccread_(fd, buf, 8, cio_characters), 3);
    EXPECT_EQ(std::string(buf, 3), "789");
    EXPECT_EQ(cread_(fd, buf, -1, 1), -1);
    EXPECT_EQ(cclose_(fd), 0);
    EXPECT_EQ(cread_(fd, buf, 1, cio_characters), -1);  // closed descriptor
}

TEST(RecordIo, OpenForTheWriterCreatesTruncatesAndClosesOnExec) {
    test::TempDir dir;
    const std::string name = dir.file("plot.dgf");
    std::ofstream(name) << "old contents\n";
    int fd = sopen_(name.c_str(), 1);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(read_file(name), "");
    EXPECT_EQ(::fcntl(fd, F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
    aclose_(fd, 0);
    EXPECT_EQ(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    EXPECT_EQ(sclose_(fd), 0);

    EXPECT_LT(sopen_(dir.file("missing").c_str(), 2), 0);
    int rw = sopen_(name.c_str(), 2);
    ASSERT_GE(rw, 0);
    EXPECT_EQ(cwrite_(rw, "ab", 2, cio_characters), 2);
    cclose_(rw);
    EXPECT_EQ(read_file(name), "ab");
    EXPECT_LT(copen_(nullptr, O_RDONLY), 0);
}

TEST(RecordIo, EmptyNameCreatesAFreshTemporaryFile) {
    test::TempDir dir;
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    int a = ccreat_("");
    std::string first(ccreat_temp_name());
    int b = ccreat_("");
    std::string second(ccreat_temp_name());
    std::filesystem::current_path(old);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind("TXtemp.", 0), 0u);
    EXPECT_EQ(first.size(), 13u);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / first));
    struct stat st {};
    ::fstat(a, &st);
    EXPECT_EQ(st.st_mode & 0700, 0700u);
    cclose_(a);
    cclose_(b);
}

TEST(RecordIo, LinesAreReadOneAtATime) {
    FedPipe p("first line\n\nyes");
    char buf[512];
    int n = 0;
    gtline_(p.in(), buf, n);
    EXPECT_EQ(n, 10);
    EXPECT_STREQ(buf, "first line");
    gtline_(p.in(), buf, n);
    EXPECT_EQ(n, 0);
    EXPECT_STREQ(buf, "");
    gtline_(p.in(), buf, n);
    EXPECT_EQ(n, 3);
    EXPECT_STREQ(buf, "yes");
    gtline_(p.in(), buf, n);
    EXPECT_EQ(n, -1);
    EXPECT_STREQ(buf, "yes");  // left as it was
}

TEST(RecordIo, LineReadStopsAtTheNewline) {
    // The rest of the input stays for the descriptor's other readers.
    FedPipe p("one\ntwo\n");
    char buf[8];
    int n = 0;
    gtline_(p.in(), buf, n);
    char rest[8] = {};
    EXPECT_EQ(::read(p.in(), rest, sizeof rest), 4);
    EXPECT_STREQ(rest, "two\n");
}

TEST(RecordIo, LongLinesAreCutAtTheBuffer) {
    FedPipe p("abcdefghij\nnext\n");
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    int n = 0;
    gtline_(p.in(), std::span<char>(buf, 5), n);
    EXPECT_EQ(n, 4);
    EXPECT_STREQ(buf, "abcd");
    EXPECT_EQ(buf[5], '#');
    gtline_(p.in(), std::span<char>(buf, 8), n);  // the cut line's rest is gone
    EXPECT_STREQ(buf, "next");
}

TEST(RecordIo, LineReadFromAPosition) {
    FedPipe p("tail\n");
    char buf[16] = "head";
    int n = 0;
    gtlin2_(p.in(), buf, 5, n);
    EXPECT_EQ(n, 4);
    EXPECT_STREQ(buf, "headtail");
}

TEST(RecordIo, WrittenLinesLoseTrailingBlanks) {
    test::TempDir dir;
    const std::string name = dir.file("out");
    int fd = ccreat_(name.c_str());
    ptline_(fd, "ab  ");
    ptline_(fd, "    ");
    ptline_(fd, " x y");
    ptline_(fd, "");
    cclose_(fd);
    EXPECT_EQ(read_file(name), "ab\n\n x y\n\n");
}

TEST(RecordIo, PromptOnlyForTerminalInput) {
    test::FdCapture err;  // descriptor 2 is a file, not a terminal
    setprm_(0, "Save last frame? ");
    setprm_(5, "Save last frame? ");
    EXPECT_EQ(err.text(), "");
}

TEST(RecordIoDeathTest, ReadErrorEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char buf[8];
    int n;
    EXPECT_DEATH(gtline_(-1, buf, n), "TERMINATING: < gtline > in reading \\(gtline\\)");
}

}  // namespace
}  // namespace tgd
