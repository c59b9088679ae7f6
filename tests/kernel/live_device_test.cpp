// The kernel draws only through the installed live device: a recording
// device in place of the terminal sees every primitive, and nothing reaches
// descriptor 2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/process_state.h"
#include "core/bgrp.h"
#include "core/live_device.h"
#include "harness/fd_capture.h"
#include "kernel/kernel.h"
#include "terminal/terminal.h"

namespace {

using namespace tgd;

// Describes itself as the terminal does and logs every other call.
class RecordingDevice final : public LiveDevice {
public:
    std::vector<std::string> calls;

    void describe(const float* par, int npar) override {
        test::FdCapture quiet;  // the terminal's reset sequence
        terminal_.describe(par, npar);
        calls.push_back("describe");
    }
    void seek(int x, int y) override { log("seek", x, y); }
    void line(int x, int y) override { log("line", x, y); }
    void glyph(char ch, float) override { calls.push_back(std::string("glyph ") + ch); }
    void polygon(const float*, const float*, int n) override { log("polygon", n, 0); }
    void forget() override { calls.push_back("forget"); }
    void eject() override { calls.push_back("eject"); }
    void wrap_up() override { calls.push_back("wrap_up"); }
    void locate(int& ix, int& iy, int& key) override {
        calls.push_back("locate");
        ix = 100;
        iy = 50;
        key = 1;
    }

private:
    void log(const char* what, int a, int b) {
        calls.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b));
    }
    Hp2648Terminal terminal_;
};

TEST(LiveDevice, KernelDrawsOnlyThroughTheInstalledDevice) {
    RecordingDevice device;
    install_live_device(device);
    reset_process_state();
    test::FdCapture fd2;
    const float none[1] = {0.0f};
    pbegnz_(none, 0);
    const float x[2] = {0.2f, 0.3f}, y[2] = {0.2f, 0.2f};
    zlinsz_(x, y, 2);
    ztextz_(0.5f, 0.5f, "AB", 2, 0.0f);
    const float px[3] = {0.1f, 0.2f, 0.1f}, py[3] = {0.1f, 0.1f, 0.2f};
    polyz_(px, py, 3);
    float rx[1], ry[1];
    int nread = 0;
    zrdpnz_(rx, ry, nread, 1);
    install_live_device(hp2648_);

    EXPECT_EQ(fd2.text(), "");
    const std::vector<std::string> lines = {"describe", "seek 130 110", "line 175 110", "forget"};
    ASSERT_GE(device.calls.size(), lines.size());
    EXPECT_EQ(std::vector<std::string>(device.calls.begin(), device.calls.begin() + 4), lines);
    std::vector<std::string> kinds;
    for (const std::string& call : device.calls) kinds.push_back(call.substr(0, call.find(' ')));
    const std::vector<std::string> expected = {"describe", "seek",    "line",   "forget", "seek",  "glyph",
                                               "seek",     "glyph",   "forget", "polygon", "locate", "forget"};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(nread, 1);
    EXPECT_FLOAT_EQ(rx[0], (100.0f - bgrp_(bg::x_offset)) / bgrp_(bg::x_scale));
}

}  // namespace
