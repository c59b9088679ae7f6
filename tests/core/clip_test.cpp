// The segment clipper.
#include <gtest/gtest.h>

#include <cmath>

#include "core/clip.h"

using namespace tgd;

namespace {

struct Clipped {
    float x[2], y[2];
    int status;
};

Clipped clip(float x1, float y1, float x2, float y2, float xa = 0, float xb = 10, float ya = 0, float yb = 10) {
    const float x[2] = {x1, x2}, y[2] = {y1, y2};
    const float xlim[2] = {xa, xb}, ylim[2] = {ya, yb};
    Clipped c{};
    lclipz_(x, y, xlim, ylim, c.x, c.y, c.status);
    return c;
}

void expect_segment(const Clipped& c, float x1, float y1, float x2, float y2, int status) {
    EXPECT_EQ(c.status, status);
    EXPECT_FLOAT_EQ(c.x[0], x1);
    EXPECT_FLOAT_EQ(c.y[0], y1);
    EXPECT_FLOAT_EQ(c.x[1], x2);
    EXPECT_FLOAT_EQ(c.y[1], y2);
}

TEST(Clip, SegmentsAgainstTheWindow) {
    expect_segment(clip(-10, -1, 5, 5), 0, 3, 5, 5, 1);
    expect_segment(clip(5, -5, 5, 15), 5, 0, 5, 10, 2);
    expect_segment(clip(5, 15, 5, -5), 5, 10, 5, 0, 2);
    EXPECT_EQ(clip(-5, -5, -1, 20).status, -1);
    expect_segment(clip(2, 2, 8, 8), 2, 2, 8, 8, 0);
    expect_segment(clip(-5, 5, 15, 5), 0, 5, 10, 5, 2);
}

TEST(Clip, ToleranceBandMovesOntoTheEdge) {
    expect_segment(clip(10.0005f, 5, 5, 5), 10, 5, 5, 5, 1);
}

TEST(Clip, BoundsInEitherOrder) {
    expect_segment(clip(-10, -1, 5, 5, 10, 0, 10, 0), 0, 3, 5, 5, 1);
}

TEST(Clip, HostileCoordinatesAreRejectedOrClippedWithoutFault) {
    EXPECT_EQ(clip(NAN, 5, 5, 5).status, -1);
    EXPECT_EQ(clip(INFINITY, 5, 5, NAN).status, -1);
    expect_segment(clip(-1e30f, 5, 5, 5), 0, 5, 5, 5, 1);
    EXPECT_EQ(clip(-INFINITY, 5, INFINITY, 5).status, -1);
}

}  // namespace
