// Images on the terminal: the colour each value gets, runs and restoring.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "kernel/capture.h"

using namespace tgd;
using tgd::test::FdCapture;

namespace {

class Image : public ::testing::Test {
protected:
    void SetUp() override { tgdtest::start_terminal_kernel(); }
    void TearDown() override { setncl_(6); }

    // Draws one row of cells with the values z and returns the colours of
    // the filled rectangles, read back from the pen colours sent.
    std::vector<int> row_colors(const std::vector<float>& z, float zlow, float zhigh) {
        std::vector<float> x;
        for (std::size_t i = 0; i <= z.size(); ++i) x.push_back(0.1f + 0.05f * static_cast<float>(i));
        const float y[2] = {0.1f, 0.2f};
        hp2648_.invalidate();
        tgd::test::FdCapture out;
        zimagz_(x.data(), y, z.data(), static_cast<int>(x.size()), 2, static_cast<int>(z.size()), zlow, zhigh,
                -99.0f);
        const std::string s = out.take();
        std::vector<int> colors;
        // Each rectangle: fill "ESC * m 1 g", then its pen colour when it changed.
        for (std::size_t p = s.find("\x1b*m1g"); p != std::string::npos; p = s.find("\x1b*m1g", p + 1)) {
            if (s.compare(p + 5, 3, "\x1b*m") == 0 && s[p + 9] == 'x') colors.push_back((8 - (s[p + 8] - '0')) % 8);
            else colors.push_back(colors.empty() ? -1 : colors.back());
        }
        return colors;
    }
};

TEST_F(Image, ValuesMapOntoTheColoursAndBeyond) {
    const std::vector<int> expected = {1, 5, 6, 0, 7, 0};
    EXPECT_EQ(row_colors({0, 9.99f, 10, -1, 12, -3}, 0, 10), expected);
    EXPECT_EQ(row_colors({0, 9.99f, 10, -1, 12, -3}, 10, 0), expected);
    EXPECT_EQ(row_colors({4.6f, 5, 5.4f}, 5, 5), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(bgrp_(bg::color), 1.0f);
}

TEST_F(Image, HostileColourCountsAndRangesDrawWithoutFault) {
    setncl_(INT_MIN);
    row_colors({0, 10}, 0, 10);
    setncl_(INT_MAX);
    row_colors({0, 10}, NAN, 1e38f);
    row_colors({0, 10}, -3e38f, 3e38f);
    EXPECT_EQ(bgrp_(bg::color), 1.0f);
}

}  // namespace
