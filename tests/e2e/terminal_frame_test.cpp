// Frames, polygons and the locator through the protocol.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using tgdtest::TgdProcess;

const std::string E(1, '\x1b');

class TerminalOps : public ::testing::Test {
protected:
    void SetUp() override {
        tgd.initialise();
        tgd.clear_stderr();
    }
    void TearDown() override { EXPECT_EQ(tgd.finish(), 0); }
    std::string stream() {
        std::string s = tgd.stderr_text();
        tgd.clear_stderr();
        return s;
    }
    void polygon(const std::vector<float>& x, const std::vector<float>& y) { tgdtest::draw_xy(tgd, 'G', x, y); }
    TgdProcess tgd;
};

TEST_F(TerminalOps, NewFrameWaitsForReturnThenClears) {
    tgd.send_byte('E');
    EXPECT_TRUE(tgd.wait_for_stderr(E + "*mRGO?"));
    EXPECT_FALSE(tgd.reply_ready(100));  // still waiting for Return
    tgd.type("\n");
    EXPECT_EQ(tgd.read_byte(), 'E');
    EXPECT_EQ(stream(), E + "*mRGO?" + E + "*dtcA");
    // At end of input the wait ends too.
    tgd.close_input();
    tgd.send_byte('E');
    EXPECT_EQ(tgd.read_byte(), 'E');
    EXPECT_EQ(stream(), E + "*mRGO?" + E + "*dtcA");
    tgd.send_byte('X');
    EXPECT_EQ(tgd.read_byte(), 'X');
    EXPECT_EQ(stream(), "");
}

TEST_F(TerminalOps, PolygonsOutsideTheLimitsAreRefused) {
    polygon(std::vector<float>(149, 0.5f), std::vector<float>(149, 0.5f));
    EXPECT_EQ(stream(), "GR-Z Error from Routine zpolyz\nNeeds at least 3 points and at most 148\n");
    polygon(std::vector<float>(148, 0.5f), std::vector<float>(148, 0.5f));
    EXPECT_EQ(stream().substr(0, 10), E + "*m1g" + E + "*m7x");
}

TEST_F(TerminalOps, ClippedPolygonEdgesAreReported) {
    // (130, 110) (400, 110) then far right: the edge is cut at (490, 161).
    polygon({0.2f, 0.8f, 1.5f}, {0.2f, 0.2f, 0.8f});
    EXPECT_EQ(stream(), E + "*m1g" + E + "*m7x" + E + "*psia" + "$\"#.b" + ",0#." + ",0#." + "/*%!" + "T" +
                            "Polygon out of bounds X= 1.5 Y= 0.8\n");
    // Silenced reports leave only the drawing.
    tgdtest::send_change(tgd, {96, -1});
    polygon({0.2f, 0.8f, 1.5f}, {0.2f, 0.2f, 0.8f});
    EXPECT_EQ(stream().find("Polygon"), std::string::npos);
}

TEST_F(TerminalOps, LocatorPointsUntilAReplyDoesNotParse) {
    tgd.type("100,200,49\n265,199,13\n");
    tgd.send_byte('Q');
    tgd.send_int(5);
    EXPECT_EQ(tgd.read_byte(), 'Q');
    ASSERT_EQ(tgd.read_int(), 1);
    std::vector<float> x = tgd.read_reals(1), y = tgd.read_reals(1);
    EXPECT_NEAR(x[0], (100 - 40.39396f) / 449.9164f, 1e-6);
    EXPECT_NEAR(y[0], (200 - 51.0f) / 297.0f, 1e-6);
    const std::string request = "\a" + E + "*s4^\x11";
    EXPECT_EQ(stream(), request + request);

    // A reply longer than the buffer is cut without harm.
    tgd.type(std::string(100, '7') + "\n");
    tgd.send_byte('Q');
    tgd.send_int(1);
    EXPECT_EQ(tgd.read_byte(), 'Q');
    EXPECT_EQ(tgd.read_int(), 0);
    tgd.close_input();
    tgd.send_byte('Q');
    tgd.send_int(3);
    EXPECT_EQ(tgd.read_byte(), 'Q');
    EXPECT_EQ(tgd.read_int(), 0);
}

}  // namespace
