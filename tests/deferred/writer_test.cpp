#include "base/process_state.h"
#include "harness/host_ops.h"
#include "deferred/writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/record_io.h"
#include "base/fields.h"
#include "harness/temp_dir.h"
#include "base/abandon.h"
#include "core/bgrp.h"
#include "harness/fd_capture.h"

namespace tgd {
namespace {

using tgdtest::read_file;

// Standard input replaced by a pipe holding the given answers, then end
// of input; restored afterwards.
class Answers {
public:
    explicit Answers(const std::string& text) : saved_(::dup(0)) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        [[maybe_unused]] auto n = ::write(fds[1], text.data(), text.size());
        ::close(fds[1]);
        ::dup2(fds[0], 0);
        ::close(fds[0]);
    }
    ~Answers() {
        ::dup2(saved_, 0);
        ::close(saved_);
    }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;

private:
    int saved_;
};

class Writer : public ::testing::Test {
protected:
    void SetUp() override {
        // Run with standard input closed, the file would take descriptor 0,
        // where the answers to "Save last frame? " are read.
        if (::fcntl(0, F_GETFD) < 0) {
            ASSERT_EQ(::open("/dev/null", O_RDONLY), 0);
        }
        reset_process_state();
        winitz_();
    }
    void TearDown() override { reset_process_state(); }

    // Opens the file with the mode; returns the messages written.
    std::string open(int mode, const std::string& name = "plot.dgf") {
        path_ = dir_.file(name);
        test::FdCapture err;
        wcopyz_(mode, path_.c_str(), static_cast<int>(path_.size()));
        return err.text();
    }
    std::string close() {
        test::FdCapture err;
        wclosz_();
        return err.text();
    }
    std::string contents() const { return read_file(path_); }

    void line(float x0, float y0) {
        const float x[] = {x0}, y[] = {y0};
        wlinsz_(x, y, 1);
    }

    test::TempDir dir_;
    std::string path_;
};

TEST_F(Writer, RecordsOfEachKindAreAppendedAfterAnExistingFile) {
    path_ = dir_.file("plot.dgf");
    std::ofstream(path_) << "old\n";
    EXPECT_EQ(open(2), "Deferred Graphics on\n");
    EXPECT_EQ(par_dump_unit, cdefer_.unit());

    const float x[] = {0.5f, -1.25f, 0.0f}, y[] = {2.0f, 1e6f, 0.001f};
    wlinsz_(x, y, 3);
    wpntsz_(x, y, 1);
    wpolyz_(x, y, 2);
    const float x1[] = {1, 2}, y1[] = {3, 4}, x2[] = {5, 6}, y2[] = {7, 8};
    wsegsz_(x1, y1, x2, y2, 2);
    wtextz_(0.25f, 3.0f, "ab   ", 5, 0.5f);
    const float pairs[] = {8.0f, 2.0f, 200.0f, 1.0f};
    wdiffz_(pairs, 4);
    wlinsz_(x, y, 0);
    // Negative counts give no record a reader could misparse.
    wlinsz_(x, y, -1);
    wsegsz_(x1, y1, x2, y2, -2);
    wtextz_(1.0f, 1.0f, "x", -1, 0.0f);
    EXPECT_EQ(close(), "Deferred Graphics turned off\n");
    EXPECT_EQ(par_dump_unit, -1);

    EXPECT_EQ(contents(),
              "old\n"
              "lines 3\n 0.5 2\n -1.25 1e6\n  0 0.001\n"
              "points 1\n 0.5 2\n"
              "polygon 2\n 0.5 2\n -1.25 1e6\n"
              "segs 2\n 1 3 5 7\n 2 4 6 8\n"
              "text 0.25 3 0.5 5\nab\n"
              "diff 2\n 8 2\n"
              "lines 0\n");
}

// A newline inside a text would end its string line early and make the
// rest of the text read as a record of its own.
TEST_F(Writer, TextKeepsToItsOneStringLine) {
    open(2);
    wtextz_(1.0f, 2.0f, "a\nlines 9\n", 10, 0.0f);
    line(3, 4);
    (void)close();
    EXPECT_EQ(contents(), "text 1 2  0 10\na lines 9\nlines 1\n 3 4\n");
}

TEST_F(Writer, WritersAreSilentWithoutRecordingOrWithoutAFile) {
    const float x[] = {1.0f}, y[] = {2.0f}, pairs[] = {8.0f, 2.0f};
    // Off after initialisation: nothing is open.
    wlinsz_(x, y, 1);
    wejecz_();
    EXPECT_FALSE(cdefer_.file.is_open());

    // Mode 0 opens the file but records nothing into it.
    EXPECT_EQ(open(0), "");
    wlinsz_(x, y, 1);
    wdiffz_(pairs, 2);
    wtextz_(0, 0, "a", 1, 0);
    wejecz_();
    wwrapz_();  // 'X' leaves a non-recording file alone
    EXPECT_TRUE(cdefer_.file.is_open());
    EXPECT_EQ(contents(), "");

    // After the file is closed the mode stays, the writers stay silent.
    EXPECT_EQ(open(2), "Deferred Graphics turned off\nDeferred Graphics on\n");
    EXPECT_EQ(close(), "Deferred Graphics turned off\n");
    EXPECT_EQ(cdefer_.mode, 2);
    wlinsz_(x, y, 1);
    wejecz_();
    EXPECT_EQ(close(), "");  // a second close has nothing to do
    EXPECT_EQ(contents(), "");
}

TEST_F(Writer, OnlyRecordedParametersReachTheFile) {
    open(2);
    const float nan = std::nanf("");
    // 8.9 is entry 8; 130.5 is 130; 12, 131, 200, 0.5, -3, NaN and inf are
    // not recorded; an odd last value has no partner.
    const float pairs[] = {8.9f, 2.0f,  12.0f, 1.0f, 130.5f, -0.5f, 131.0f, 4.0f, 200.0f, 1.0f,
                           0.5f, 1.0f,  -3.0f, 1.0f, nan,    1.0f,  INFINITY, 1.0f, 66.0f, -0.02f, 10.0f};
    wdiffz_(pairs, static_cast<int>(std::size(pairs)));
    const float none[] = {12.0f, 1.0f, 200.0f, 1.0f};
    wdiffz_(none, 4);
    wdiffz_(pairs, -2);
    (void)close();
    EXPECT_EQ(contents(), "diff 6\n 8 2\n 130 -0.5\n 66 -0.02\n");

    for (int k = 1; k <= DeferredState::kFlagged; ++k) {
        const bool expected = (k >= 8 && k <= 11) || k == 14 || k == 15 || k == 18 || (k >= 40 && k <= 48) ||
                              (k >= 50 && k <= 66) || (k >= 79 && k <= 83) || (k >= 90 && k <= 97) ||
                              (k >= 101 && k <= 130);
        EXPECT_EQ(cdefer_.is_recorded(static_cast<float>(k)), expected) << k;
    }
}

TEST_F(Writer, EjectMarksKeptFramesAndDumpsParametersForEmptyOnes) {
    bgrp_(8) = 1.0f;
    bgrp_(130) = 1e-3f;
    open(2);
    wejecz_();  // nothing drawn since opening: the parameters in force
    line(1, 2);
    wejecz_();  // a kept frame
    wejecz_();  // empty again
    bgrp_(bg::no_eject) = 1.0f;
    line(3, 4);
    wejecz_();  // suppressed: the frame goes on
    bgrp_(bg::no_eject) = 0.0f;
    wejecz_();
    (void)close();

    std::istringstream in(contents());
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    ASSERT_EQ(lines.size(), 77u + 3u + 77u + 3u);
    EXPECT_EQ(lines[0], "par 150");
    EXPECT_EQ(lines[1], " 8 1");
    EXPECT_EQ(lines[2], " 9  0");
    EXPECT_EQ(lines[76], " 130 0.001");
    EXPECT_EQ(lines[77], "lines 1");
    EXPECT_EQ(lines[79], "eject");
    EXPECT_EQ(lines[80], "par 150");
    EXPECT_EQ(lines[157], "lines 1");
    EXPECT_EQ(lines[158], " 3 4");
    EXPECT_EQ(lines[159], "eject");
}

TEST_F(Writer, AskingModeKeepsOrDropsEachFrame) {
    EXPECT_EQ(open(1), "Deferred Graphics on - ask about each frame\n");
    // The prompt goes to a terminal only; here standard error is a file.
    Answers answers("yes\nN\n\n");
    test::FdCapture err;
    line(1, 2);
    wejecz_();  // "yes": kept
    line(3, 4);
    wejecz_();  // "N": dropped, the parameters in force replace it
    line(5, 6);
    wejecz_();  // an empty reply keeps it
    line(7, 8);
    wejecz_();  // end of input keeps it
    EXPECT_EQ(err.text(), "");
    (void)close();
    const std::string text = contents();
    EXPECT_EQ(text.substr(0, 26), "lines 1\n 1 2\neject\npar 150");
    EXPECT_EQ(text.find(" 3 4\n"), std::string::npos);
    EXPECT_NE(text.find("\nlines 1\n 5 6\neject\nlines 1\n 7 8\neject\n"), std::string::npos);
}

TEST_F(Writer, ClosingAfterADroppedFrameMarksBothEnds) {
    open(1);
    Answers answers("y\nno\n");
    line(1, 2);
    wejecz_();
    const float x[] = {3, 5}, y[] = {4, 6};
    wpntsz_(x, y, 2);
    EXPECT_EQ(close(), "Deferred Graphics turned off\n");  // "no" drops the last frame
    EXPECT_EQ(contents(), "lines 1\n 1 2\neject\nend\nts 2\n 3 4\n 5 6\nend\n");
}

TEST_F(Writer, OpeningAgainClosesTheFirstFile) {
    open(2, "first.dgf");
    const std::string first = path_;
    line(1, 2);
    EXPECT_EQ(open(2, "second.dgf"), "Deferred Graphics turned off\nDeferred Graphics on\n");
    EXPECT_EQ(par_dump_unit, cdefer_.unit());
    line(3, 4);
    test::FdCapture err;
    wwrapz_();
    EXPECT_EQ(err.text(), "Deferred Graphics turned off\n");
    EXPECT_EQ(read_file(first), "lines 1\n 1 2\n");
    EXPECT_EQ(contents(), "lines 1\n 3 4\n");
}

TEST_F(Writer, FailureToOpenAbandonsAndLeavesNoFile) {
    open(2);
    line(1, 2);
    path_ = dir_.file("missing/plot.dgf");
    test::FdCapture err;
    EXPECT_THROW(wcopyz_(1, path_.c_str(), static_cast<int>(path_.size())), OperationAbandoned);
    EXPECT_EQ(err.text(),
              "Deferred Graphics turned off\n"
              "Deferred Graphics on - ask about each frame\n"
              "Error: Cannot open deferred graphics file\n");
    EXPECT_EQ(cdefer_.mode, 1);
    EXPECT_FALSE(cdefer_.file.is_open());
    EXPECT_EQ(par_dump_unit, -1);
    line(3, 4);
    wejecz_();
    wwrapz_();
}

TEST_F(Writer, NameIsBoundedByItsLengthAndAnEmptyNameMakesATemporaryFile) {
    path_ = dir_.file("named.dgf");
    const std::string padded = path_ + std::string("\0junk", 5);
    wcopyz_(0, padded.c_str(), static_cast<int>(padded.size()));
    EXPECT_TRUE(std::filesystem::exists(path_));

    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    test::FdCapture err;
    wcopyz_(0, "ignored", 0);
    EXPECT_EQ(err.text(), "Deferred Graphics turned off\n");
    std::filesystem::current_path(cwd);
    EXPECT_TRUE(cdefer_.file.is_open());
    const std::string temp = std::string(ccreat_temp_name());
    EXPECT_EQ(temp.rfind("TXtemp.", 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir_.path() / temp));
}

TEST_F(Writer, InitialisingClosesAnOpenFileWithoutMarkingIt) {
    open(1);
    line(1, 2);
    const int fd = cdefer_.unit();
    winitz_();
    EXPECT_LT(::fcntl(fd, F_GETFD), 0);
    EXPECT_EQ(cdefer_.mode, 0);
    EXPECT_EQ(par_dump_unit, -1);
    EXPECT_EQ(contents(), "lines 1\n 1 2\n");
}

}  // namespace
}  // namespace tgd
