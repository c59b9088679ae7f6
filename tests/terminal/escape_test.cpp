// Byte layout of the terminal's escape sequences.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "terminal/escape.h"

using namespace tgd;

namespace {

const std::string E(1, '\x1b');

template <class F>
std::string encode(F f) {
    std::string out;
    f(out);
    return out;
}

TEST(Escape, MovesAndLinesShortAndAbsolute) {
    EXPECT_EQ(encode([](auto& o) { esc::move(o, 115, 84, 15, -16); }), E + "*paj" + char(47) + char(48) + "Z");
    // 300 = 9 * 32 + 12, 200 = 6 * 32 + 8
    EXPECT_EQ(encode([](auto& o) { esc::move(o, 300, 200, 16, 0); }), E + "*pai" + ")," + "&(" + "Z");
    EXPECT_EQ(encode([](auto& o) { esc::line(o, 5, 5, 0, 0); }), E + "*pj  Z");
    EXPECT_EQ(encode([](auto& o) { esc::line(o, 300, 200, -17, 0); }), E + "*pi),&(Z");
    EXPECT_EQ(encode([](auto& o) { esc::move(o, 0, 0, -1, -16); }), E + "*paj?0Z");
}

TEST(Escape, AttributeDigits) {
    EXPECT_EQ(esc::line_type_value(1), 1);
    EXPECT_EQ(esc::digit(esc::line_type_value(7)), ':');
    EXPECT_EQ(esc::line_type_value(2), 8);
    EXPECT_EQ(esc::pen_color_value(0), 0);
    EXPECT_EQ(esc::pen_color_value(1), 7);
    EXPECT_EQ(esc::pen_color_value(7), 1);
    EXPECT_EQ(esc::text_size_value(0.2f), 1);
    EXPECT_EQ(esc::text_size_value(20.0f), 8);
    EXPECT_EQ(esc::text_size_value(NAN), 1);
    EXPECT_EQ(esc::text_direction_value(90.0f), 2);
    EXPECT_EQ(esc::text_direction_value(45.0f), 1);
    EXPECT_EQ(esc::text_direction_value(270.0f), 4);
    EXPECT_EQ(encode([](auto& o) { esc::line_type(o, 10); }), E + "*m:b");
    EXPECT_EQ(encode([](auto& o) { esc::pen_color(o, 7); }), E + "*m7x");
    EXPECT_EQ(encode([](auto& o) { esc::text_size(o, 2); }), E + "*m2M");
    EXPECT_EQ(encode([](auto& o) { esc::text_direction(o, 1); }), E + "*m1N");
    EXPECT_EQ(encode([](auto& o) { esc::character(o, 'O'); }), E + "*lO\r");
}

TEST(Escape, PolygonFrameAndLocator) {
    EXPECT_EQ(encode([](auto& o) { esc::fill_pattern(o, 2); }), E + "*m02w");
    EXPECT_EQ(encode([](auto& o) { esc::fill_single(o, 1); }), E + "*m1g");
    EXPECT_EQ(encode([](auto& o) { esc::polygon_start(o); }), E + "*psia");
    EXPECT_EQ(encode([](auto& o) { esc::polygon_vertex(o, 300, 200, true); }), "),&(b");
    EXPECT_EQ(encode([](auto& o) { esc::polygon_vertex(o, 300, 200, false); }), "),&(");
    EXPECT_EQ(encode([](auto& o) { esc::frame_prompt(o, true); }), E + "*mRGO?");
    EXPECT_EQ(encode([](auto& o) { esc::frame_prompt(o, false); }), E + "*mR");
    EXPECT_EQ(encode([](auto& o) { esc::clear(o); }), E + "*dtcA");
    EXPECT_EQ(encode([](auto& o) { esc::locator_request(o); }), "\a" + E + "*s4^\x11");
    EXPECT_EQ(encode([](auto& o) { esc::device_reset(o); }), E + "&j@");
}

}  // namespace
