// The parameter block the host receives after the first 'I'.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "harness/tgd_process.h"

namespace {

using tgdtest::TgdProcess;

TEST(KernelStartup, InitialiseSendsTheTerminalStartValues) {
    TgdProcess tgd;
    std::vector<float> b = tgd.initialise();
    ASSERT_EQ(b.size(), 200u);
    auto at = [&](int n) { return b[static_cast<std::size_t>(n - 1)]; };

    // Entries given exactly; every entry not named here or below is 0.
    std::map<int, float> exact = {
        {1, 2}, {8, 1}, {9, 1}, {10, 1}, {11, 1}, {15, 79}, {17, 3}, {18, 1}, {20, 7}, {21, 10},
        {23, 511}, {25, 389}, {28, 8.0f / 511.0f}, {29, 6.0f / 389.0f}, {30, -2627}, {31, 1},
        {44, 0}, {45, 1}, {46, 0}, {47, 1}, {49, 1}, {54, 1}, {57, 5}, {58, 5}, {59, 7}, {60, 126},
        {61, 0}, {62, 1}, {63, 0}, {64, 1}, {66, -0.02f}, {79, 1}, {80, 1}, {81, 1}, {82, 1}, {83, 1},
        {85, 0.2f}, {89, 1}, {91, 1}, {93, 1}, {94, 1}, {97, 109}, {100, 0.5f}, {101, -1}, {102, 115},
        {103, 114}, {105, 1}, {106, 5}, {107, 115}, {108, 114}, {110, 1}, {111, 5}, {112, 3}, {113, 1},
        {119, 111}, {121, 1}, {122, 109}, {130, 1e-3f}, {131, 2}};
    // Computed entries, as printed to the digits shown.
    std::map<int, double> computed = {
        {32, 40.39396}, {33, 490.3104}, {34, 51.0}, {35, 348.0}, {36, 40.39396}, {37, 449.9164},
        {38, 51.0}, {39, 297.0}, {40, 0.079049}, {41, 0.959512}, {42, 0.131105}, {43, 0.894602},
        {50, 0.786632}, {51, 0.632391}, {52, 0.632391}, {53, 0.323907}, {55, 7.043702}, {56, 4.580977},
        {67, 0.015558}, {68, 0.03367}, {70, 0.015656}, {71, 0.015424}, {72, 0.021898}, {73, 0.03367},
        {74, 0.109589}, {75, 0.154242}, {76, 7.043702}, {77, 4.580977}, {84, 0.025707}, {98, 8},
        {99, 6}, {123, 8}, {124, 6}};
    for (int n = 1; n <= 200; ++n) {
        if (auto e = exact.find(n); e != exact.end()) {
            EXPECT_EQ(at(n), e->second) << "entry " << n;
        } else if (auto c = computed.find(n); c != computed.end()) {
            EXPECT_NEAR(at(n), c->second, std::max(std::fabs(c->second) * 1e-5, 6e-7)) << "entry " << n;
        } else {
            EXPECT_EQ(at(n), 0.0f) << "entry " << n;
        }
    }
    // The device reset is all the terminal has been sent.
    EXPECT_EQ(tgd.stderr_text(), "\x1b&j@");
    EXPECT_EQ(tgd.finish(), 0);
}

TEST(KernelStartup, FirstDeviceParameterSetsTheFramePrompt) {
    TgdProcess tgd;
    tgd.send_byte('M');
    tgd.send_int(1);
    tgd.send_real(0.0f);
    tgd.read_reals(200);
    tgd.clear_stderr();
    tgd.send_byte('E');  // no wait for Return: input is never read
    EXPECT_EQ(tgd.read_byte(), 'E');
    EXPECT_EQ(tgd.stderr_text(), "\x1b*mR\x1b*dtcA");
    EXPECT_EQ(tgd.finish(), 0);
}

}  // namespace
