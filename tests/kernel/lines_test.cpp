// Lines, segments and points on the terminal: what reaches descriptor 2.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "kernel/capture.h"

using namespace tgd;
using tgd::test::FdCapture;

namespace {

const std::string E(1, '\x1b');

class Lines : public ::testing::Test {
protected:
    void SetUp() override {
        tgdtest::start_terminal_kernel();
        hp2648_.invalidate();
    }
};

TEST_F(Lines, UnclippedSegmentAfterARejectedOneStartsWithAMove) {
    tgd::test::FdCapture out;
    const float x0[2] = {0.2f, 0.3f}, y0[2] = {0.2f, 0.2f};
    zlinsz_(x0, y0, 2);  // leaves the pen at (175, 110)
    out.take();
    // The NaN point rejects the two segments around it; the third must not
    // be drawn from where the pen was left.
    const float x[4] = {0.5f, NAN, 0.5f, 0.8f}, y[4] = {0.5f, 0.5f, 0.5f, 0.8f};
    zlinsz_(x, y, 4);
    const std::string s = out.take();
    const std::size_t tail = s.rfind('\n') + 1;
    EXPECT_EQ(s.find("Lines out of bounds X="), 0u);
    EXPECT_EQ(s.substr(s.find('\n') + 1, tail - s.find('\n') - 1), "Lines out of bounds X= 0.5 Y= 0.5\n");
    const std::string move = E + "*m1b" + E + "*m7x" + E + "*pa";
    EXPECT_EQ(s.substr(tail, move.size()), move);
    EXPECT_EQ(bgrp_(bg::last_x), 0.8f);
}

}  // namespace
