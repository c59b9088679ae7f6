// Strings turned against their characters, and the upright column of a
// device that cannot turn characters: where each character lands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/capture.h"

using namespace tgd;

namespace {

struct Placed {
    int x, y;
    char c;
    bool operator==(const Placed&) const = default;
};

// The characters of a terminal stream at the pen positions the moves left.
std::vector<Placed> characters(const std::string& s) {
    std::vector<Placed> out;
    int px = 0, py = 0;
    auto delta = [](char code) { return ((code - 32) & 31) - ((code - 32) & 16 ? 32 : 0); };
    auto absolute = [](char hi, char lo) { return (hi - 32) * 32 + (lo - 32); };
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] != '\x1b') continue;
        if (s.compare(i + 1, 4, "*pai") == 0) {
            px = absolute(s[i + 5], s[i + 6]);
            py = absolute(s[i + 7], s[i + 8]);
        } else if (s.compare(i + 1, 4, "*paj") == 0) {
            px += delta(s[i + 5]);
            py += delta(s[i + 6]);
        } else if (s.compare(i + 1, 2, "*l") == 0) {
            out.push_back({px, py, s[i + 3]});
        }
    }
    return out;
}

class Text : public ::testing::Test {
protected:
    void SetUp() override {
        tgdtest::start_terminal_kernel();
        out.take();
    }
    tgd::test::FdCapture out;
};

TEST_F(Text, AdvanceAlongTheStringDirection) {
    float dx, dy, w, ux, uy;
    int rotated;
    zcposz_(dx, dy, w, ux, uy, rotated);
    EXPECT_EQ(rotated, 0);
    EXPECT_NEAR(w, 0.109589f, 1e-6);
    EXPECT_NEAR(dx, 0.0155584f, 1e-6);
    EXPECT_EQ(dy, 0.0f);

    // Upright characters along an upward string: the cell's height apart.
    bgrp_(bg::string_angle) = 90.0f;
    zcposz_(dx, dy, w, ux, uy, rotated);
    EXPECT_EQ(rotated, 1);
    EXPECT_NEAR(w, 0.154242f, 1e-6);
    EXPECT_NEAR(dx, 0.0f, 1e-7);
    EXPECT_NEAR(dy, 0.154242f / 4.580977f, 1e-6);
}

TEST_F(Text, UpwardStringsRiseOrStackDownwardAsAnUprightColumn) {
    bgrp_(bg::string_angle) = 90.0f;
    // The terminal turns text: the string climbs one cell (10 rasters) per character.
    ztextz_(0.5f, 0.52f, "abc", 3, 0.0f);
    EXPECT_EQ(characters(out.take()), (std::vector<Placed>{{262, 205, 'a'}, {262, 215, 'b'}, {262, 225, 'c'}}));
    const float end_y = bgrp_(bg::text_end_y);
    EXPECT_NEAR(end_y, 0.52f + 3.0f * 0.154242f / 4.580977f, 1e-6);

    // A device that cannot: the same cells, read downward, the first character highest.
    bgrp_(bg::rotates_text) = 0.0f;
    ztextz_(0.5f, 0.52f, "abc", 3, 0.0f);
    EXPECT_EQ(characters(out.take()), (std::vector<Placed>{{262, 225, 'a'}, {262, 215, 'b'}, {262, 205, 'c'}}));
    EXPECT_EQ(bgrp_(bg::text_end_y), end_y);

    // A string pointing down is stacked upward instead.
    bgrp_(bg::string_angle) = 270.0f;
    ztextz_(0.5f, 0.52f, "abc", 3, 1.0f);
    EXPECT_EQ(characters(out.take()), (std::vector<Placed>{{262, 205, 'a'}, {262, 215, 'b'}, {262, 225, 'c'}}));
}

TEST_F(Text, AStringStartingLeftOfTheWindowIsReportedAtItsFirstCharacter) {
    // The first character sits at raster 31, left of 37; the later ones,
    // though inside, are dropped with it.
    ztextz_(-0.02f, 0.5f, "abc", 3, 0.0f);
    const std::string s = out.take();
    EXPECT_TRUE(characters(s).empty());
    EXPECT_EQ(s, "Text string: abc\n out of bounds at X= -0.01222078 Y= 0.5\n");
}

}  // namespace
