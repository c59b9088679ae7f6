// Drawing operations through the protocol: the terminal stream they
// produce, the kernel's reports and the positions they answer with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

const std::string E(1, '\x1b');
// Line type 1 and colour 1, as sent after the terminal forgot them.
const std::string kSolid = E + "*m1b" + E + "*m7x";

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        tgd.initialise();
        tgd.clear_stderr();
    }
    void TearDown() override { EXPECT_EQ(tgd.finish(), 0); }

    // 'L', 'P' or 'G'; the last point it answers with.
    std::vector<float> draw(char op, const std::vector<float>& x, const std::vector<float>& y) {
        tgdtest::send_xy(tgd, op, x, y);
        return reply(op);
    }
    void change(const std::vector<float>& pairs) { send_change(tgd, pairs); }
    // 'T': the string at (x, y) with the justification; where it ends.
    std::vector<float> text(const std::string& chars, float x, float y, float justification) {
        tgd.send_byte('T');
        tgd.send_int(static_cast<int>(chars.size()));
        tgd.send_reals({x, y, justification});
        tgd.send(chars.data(), chars.size());
        return reply('T');
    }
    // Reads the reply letter and the two reals after it.
    std::vector<float> reply(char op) {
        EXPECT_EQ(tgd.read_byte(), op);
        return tgd.read_reals(2);
    }
    // The current parameter block (a later 'I' only answers with it).
    std::vector<float> block() { return tgd.initialise(); }
    std::string stream() {
        std::string s = tgd.stderr_text();
        tgd.clear_stderr();
        return s;
    }

    TgdProcess tgd;
};

TEST_F(Drawing, PolylineMovesOnceThenDraws) {
    // Rasters (130, 110), (400, 110), (400, 289), (405, 289).
    EXPECT_EQ(draw('L', {0.2f, 0.8f, 0.8f, 0.81f}, {0.2f, 0.2f, 0.8f, 0.8f}), (std::vector<float>{0.81f, 0.8f}));
    EXPECT_EQ(stream(), kSolid + E + "*pai$\"#.Z" + E + "*pi,0#.Z" + E + "*pi,0)!Z" + E + "*pj% Z");
    // The terminal has forgotten everything: the next line starts afresh.
    draw('L', {0.2f, 0.8f}, {0.2f, 0.2f});
    EXPECT_EQ(stream(), kSolid + E + "*pai$\"#.Z" + E + "*pi,0#.Z");
}

TEST_F(Drawing, TooFewPointsAreReportedAndKeepTheLastPoint) {
    draw('L', {0.3f, 0.4f}, {0.3f, 0.4f});
    stream();
    EXPECT_EQ(draw('L', {0.9f}, {0.9f}), (std::vector<float>{0.4f, 0.4f}));
    EXPECT_EQ(stream(), "GR-Z Error from Routine zlinsz\nNeeds at least 2 points\n");
    draw('L', {}, {});
    EXPECT_EQ(stream(), "GR-Z Error from Routine zlinsz\nNeeds at least 2 points\n");
}

TEST_F(Drawing, ClippedLinesAreReportedUnlessSilenced) {
    // (265, 199) to beyond the right edge, cut at raster 490.  Raster y
    // 199.5 lands just below the rounding edge in single precision.
    const std::string cut = kSolid + E + "*pai()&'Z" + E + "*pi/*&'Z";
    EXPECT_EQ(draw('L', {0.5f, 1.5f}, {0.5f, 0.5f}), (std::vector<float>{1.5f, 0.5f}));
    EXPECT_EQ(stream(), "Lines out of bounds X= 1.5 Y= 0.5\n" + cut);
    draw('L', {2.0f, 3.0f}, {0.5f, 0.5f});
    EXPECT_EQ(stream(), "Lines out of bounds X= 3 Y= 0.5\n");

    change({96, -1});
    draw('L', {0.5f, 1.5f}, {0.5f, 0.5f});
    EXPECT_EQ(stream(), cut);

    change({96, 0});
    tgd.send_byte('S');
    tgd.send_int(2);
    tgd.send_reals({0.5f, -1.0f});
    tgd.send_reals({0.5f, 0.5f});
    tgd.send_reals({1.5f, -2.0f});
    tgd.send_reals({0.5f, 0.5f});
    EXPECT_EQ(reply('S'), (std::vector<float>{-2.0f, 0.5f}));
    EXPECT_EQ(stream(),
              "Line segments out of bounds X= 0.5 Y= 0.5\n" + cut + "Line segments out of bounds X= -1 Y= 0.5\n");
}

TEST_F(Drawing, HostileCoordinatesAreOutOfBounds) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    draw('L', {nan, 0.5f, 1e30f}, {0.5f, 0.5f, inf});
    std::string s = stream();
    EXPECT_EQ(count_of(s, "Lines out of bounds"), 2u);
    change({15, 79});
    draw('P', {nan, 1e30f, -inf}, {0.5f, 0.5f, 0.5f});
    EXPECT_EQ(count_of(stream(), "Points out of bounds"), 3u);
    change({15, nan, 10, 1e30f, 8, -inf});
    draw('P', {0.5f}, {0.5f});
    draw('G', {0.2f, 0.8f, nan}, {0.2f, 0.2f, 0.8f});
    EXPECT_FALSE(stream().empty());
}

TEST_F(Drawing, DotsAreSolidZeroLengthLines) {
    change({15, 46, 8, 3});
    EXPECT_EQ(draw('P', {0.5f}, {0.5f}), (std::vector<float>{0.5f, 0.5f}));
    EXPECT_EQ(stream(), kSolid + E + "*pai()&'Z" + E + "*pj  Z");
    EXPECT_EQ(block()[7], 3.0f);  // line_type is back
}

TEST_F(Drawing, CharacterPointsAreCentredOnThePoint) {
    // (265.35, 199.5) moved 3.5 left and 5 down: (262, 194).
    draw('P', {0.5f, 1.5f}, {0.5f, 0.5f});
    EXPECT_EQ(stream(), kSolid + E + "*pai(&&\"Z" + E + "*m1M" + E + "*m1N" + E + "*lO\r" +
                            "Points out of bounds X= 1.5 Y= 0.5\n");
}

TEST_F(Drawing, MarkersAreDrawnStrokeByStroke) {
    change({15, 8});  // asterisk: plus and diagonal cross
    std::vector<float> last = draw('P', {0.5f}, {0.5f});
    EXPECT_NEAR(last[0], 0.5f + 0.00437957f, 1e-7);
    EXPECT_NEAR(last[1], 0.5f + 0.00673402f, 1e-7);
    std::string s = stream();
    EXPECT_EQ(count_of(s, E + "*pai"), 4u);
    EXPECT_EQ(count_of(s, E + "*pj"), 4u);
    EXPECT_EQ(count_of(s, E + "*psia"), 0u);

    change({15, 16});  // filled octagon, no outline
    draw('P', {0.5f}, {0.5f});
    s = stream();
    ASSERT_EQ(count_of(s, E + "*psia"), 1u);
    EXPECT_EQ(count_of(s, E + "*pa"), 0u);
    const std::size_t start = s.find(E + "*psia") + 6;
    EXPECT_EQ(s.size() - start, 8u * 4u + 1u + 1u);  // 8 vertices, the first marked, then T
    EXPECT_EQ(s.back(), 'T');

    change({15, 19});
    draw('P', {0.5f}, {0.5f});
    change({15, -1});
    draw('P', {0.5f}, {0.5f});
    EXPECT_EQ(stream(), "");

    change({15, 0});  // a square across the right edge: one report per clipped stroke segment
    draw('P', {0.998f}, {0.5f});
    EXPECT_EQ(count_of(stream(), "Lines out of bounds"), 3u);
}

TEST_F(Drawing, TextIsPlacedCharacterByCharacter) {
    std::vector<float> end = text("abc", 0.5f, 0.5f, 0.0f);
    EXPECT_NEAR(end[0], 0.546675f, 1e-6);
    EXPECT_EQ(end[1], 0.5f);
    // Rasters (265, 194), (272, 194), (279, 194): y sits on 194.5 - 0.5 ulp.
    EXPECT_EQ(stream(), kSolid + E + "*pai()&\"Z" + E + "*m1M" + E + "*m1N" + E + "*la\r" + E + "*paj' Z" + E +
                            "*lb\r" + E + "*paj' Z" + E + "*lc\r");

    end = text("abc", 0.5f, 0.5f, 0.5f);
    EXPECT_NEAR(end[0], 0.523338f, 1e-6);
    EXPECT_EQ(stream().substr(0, 20), kSolid + E + "*pai'?&\"Z");  // x 254.852 + 0.5 gives 255

    end = text("", 0.5f, 0.5f, 0.0f);
    EXPECT_NEAR(end[0], 0.523338f, 1e-6);
    EXPECT_EQ(stream(), "GR-Z Error from Routine ztextz\nNumber of characters not positive\n");
}

TEST_F(Drawing, TextStopsAtItsFirstCharacterOutside) {
    text("abcde", 0.97f, 0.5f, 0.0f);
    std::string s = stream();
    EXPECT_EQ(count_of(s, E + "*l"), 2u);
    // Drawn at rasters 477 and 484; the third would be at 491, past 487.
    EXPECT_EQ(s.substr(s.find(E + "*lb\r") + 5), "Text string: abcde\n out of bounds at X= 1.008896 Y= 0.56734\n");

    change({96, -1});
    text("abcde", 0.97f, 0.5f, 0.0f);
    EXPECT_EQ(stream().find("Text string"), std::string::npos);
}

TEST_F(Drawing, ImagesMergeRunsWithinRows) {
    auto image = [&](const std::vector<float>& x, const std::vector<float>& y, const std::vector<float>& z) {
        tgd.send_byte('i');
        tgd.send_int(static_cast<int>(x.size()));
        tgd.send_reals(x);
        tgd.send_int(static_cast<int>(y.size()));
        tgd.send_reals(y);
        tgd.send_int(static_cast<int>(z.size()));
        tgd.send_reals(z);
        tgd.send_reals({0.0f, 10.0f, -1.0f});  // zlow, zhigh, missing
        EXPECT_EQ(tgd.read_byte(), 'i');
    };
    change({10, 5});
    // Colours 2, 2, 3, missing, 3: three rectangles.
    image({0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f}, {0.1f, 0.2f}, {2, 2, 4, -1, 4});
    std::string s = stream();
    EXPECT_EQ(count_of(s, E + "*psia"), 3u);
    EXPECT_EQ(count_of(s, E + "*m6x"), 1u);  // colour 2
    EXPECT_EQ(count_of(s, E + "*m5x"), 2u);  // colour 3
    // Afterwards the pen is at the grid's first corner (85, 81), colour 5.
    EXPECT_EQ(s.substr(s.rfind('T') + 1), kSolid.substr(0, 5) + E + "*m3x" + E + "*pai\"5\"1Z");
    EXPECT_EQ(block()[9], 5.0f);

    // Two identical rows are two rectangles; fewer values than cells leave
    // the rest empty.
    image({0.1f, 0.2f, 0.3f}, {0.1f, 0.2f, 0.3f}, {2, 2, 2, 2});
    EXPECT_EQ(count_of(stream(), E + "*psia"), 2u);
    image({0.1f, 0.2f, 0.3f, 0.4f}, {0.1f, 0.2f, 0.3f}, {2});
    EXPECT_EQ(count_of(stream(), E + "*psia"), 1u);
}

}  // namespace
