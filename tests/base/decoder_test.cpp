#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/abandon.h"
#include "base/fields.h"
#include "base/record_io.h"
#include "harness/fd_capture.h"

namespace tgd {
namespace {

// Feeds the decoder from a pipe holding the given input.
class Decoder : public ::testing::Test {
protected:
    void feed(const std::string& input, int unit_mode = 0) {
        ASSERT_EQ(::pipe(fds_), 0);
        ASSERT_EQ(::write(fds_[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
        ::close(fds_[1]);
        decbfc_ = DecoderLine{};
        decbfl_ = DecoderState{};
        decbfl_.unit = fds_[0];
        decbfl_.length = -1;
        if (unit_mode == -2) {
            // Commas as ordinary characters: the line is read up front.
            gtinbf_();
            decbfl_.unit = -2;
        }
    }
    void TearDown() override {
        if (fds_[0] >= 0) ::close(fds_[0]);
        decbfl_ = DecoderState{};
    }
    static std::string next(int width = 20) {
        std::string area(static_cast<std::size_t>(width), '#');
        int n = decs00_(0, area);
        if (n < 0) return "<end>";
        return area.substr(0, std::min<std::size_t>(static_cast<std::size_t>(n), area.size()));
    }
    int fds_[2] = {-1, -1};
};

TEST_F(Decoder, AnswerIsCutToTheReceivingArea) {
    // As the writer reads its prompt answer: the line read first, then no
    // further input.
    feed("no thanks\n");
    int n = 0;
    gtline_(decbfl_.unit, decbfc_.chars, n);
    decbfl_.length = n;
    decbfl_.unit = -1;
    decbfl_.position = 1;
    decbfl_.final_errors = 0;
    char area[1] = {'?'};
    EXPECT_EQ(decs00_(0, area), 2);
    EXPECT_EQ(area[0], 'n');
    std::string rest(12, '#');
    EXPECT_EQ(decs00_(0, rest), 6);
    EXPECT_EQ(rest, "thanks      ");  // padded to width
    EXPECT_EQ(decs00_(0, rest), -1);
}

// Each input read field by field to its end; "<end>" is read twice to
// show that the end stays.
TEST_F(Decoder, FieldsOfEachInput) {
    struct Case {
        std::string input;
        std::vector<std::string> fields;
        int unit_mode = 0, width = 20;
    };
    const std::vector<Case> cases = {
        // A comma inside a field belongs to it; an empty line and one comma
        // are skipped, a second comma is an empty field.
        {"  alpha\tbeta , gamma,delta\n\n  ,x , , y\n",
         {"alpha", "beta", "gamma,delta", "x", "", "y", "<end>", "<end>"}},
        // Commas are ordinary characters for unit -2.
        {",a , ,b\n", {",a", ",", ",b", "<end>"}, -2},
        {"\"two words\" 'it''s' \"a\\\"b\\\\c\\nd\" \"open\nstill open\" \"\"\n",
         {"two words", "it", "s", "a\"b\\c\nd", "open\nstill open", "", "<end>"}},
        // Quoted strings keep at most 256 characters.
        {"\"" + std::string(300, 'z') + "\" after\n", {std::string(256, 'z'), "after"}, 0, 400},
        // An unterminated string ends with the input.
        {"\"abc", {"abc", "<end>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        TearDown();
        feed(c.input, c.unit_mode);
        for (const std::string& field : c.fields) EXPECT_EQ(next(c.width), field);
    }
}

TEST_F(Decoder, StrictFieldTooLongIsAbandoned) {
    feed("toolong\n");
    char area[3];
    test::FdCapture err;
    EXPECT_THROW((void)decs00_(1, area), OperationAbandoned);
    EXPECT_EQ(err.text(), "Error: Decoded string too long for receiving area\n");
}

TEST_F(Decoder, EndOfInputIsFinalWhenErrorsAre) {
    feed("last one\n");
    decbfl_.final_errors = 1;
    EXPECT_EQ(next(), "last");
    EXPECT_EQ(next(), "one");
    test::FdCapture err;
    EXPECT_THROW(next(), OperationAbandoned);
    EXPECT_EQ(err.text(), "Unexpected end of file or string; Last line:\nlast one\n");
}

TEST_F(Decoder, FirstErrorIsPendingThenReportedWithAMarker) {
    feed("12 abcde 7\n");
    EXPECT_EQ(next(), "12");
    EXPECT_EQ(next(), "abcde");
    decerr_("Bad number");  // left for the caller to correct
    EXPECT_EQ(decbfl_.error_pending, 1);
    test::FdCapture err;
    EXPECT_THROW(next(), OperationAbandoned);
    EXPECT_EQ(err.text(), "Error in decoding: Program failed to correct previous error\n12 abcde 7\n   ^...^\n");
    EXPECT_EQ(decbfl_.error_pending, 0);
}

TEST_F(Decoder, FinalErrorIsReportedAtOnce) {
    feed("x\n");
    decbfl_.final_errors = 1;
    EXPECT_EQ(next(), "x");
    test::FdCapture err;
    EXPECT_THROW(decerr_("Bad value"), OperationAbandoned);
    EXPECT_EQ(err.text(), "Error in decoding: Bad value\nx\n^\n");
}

TEST_F(Decoder, ErrorWhilePendingFailsToClear) {
    feed("q\n");
    EXPECT_EQ(next(), "q");
    decerr_("first");
    decbfl_.final_errors = 1;
    test::FdCapture err;
    EXPECT_THROW(decerr_("second"), OperationAbandoned);
    EXPECT_EQ(err.text(), "Failed to clear previous error\nq\n^\n");
}

}  // namespace
}  // namespace tgd
