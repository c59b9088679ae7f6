// The replay loop seen through a device that logs every call, and the
// refresh built on it.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "base/process_state.h"
#include "displaylist/displaylist.h"
#include "core/replay.h"
#include "driver/device_hooks.h"
#include "driver/print.h"
#include "driver/refresh.h"
#include "driver/state.h"
#include "core/bgrp.h"
#include "terminal/terminal.h"

namespace tgd {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

std::string join(std::span<const float> v) {
    std::string s;
    for (float f : v) s += (s.empty() ? "" : ",") + std::to_string(static_cast<int>(f));
    return s;
}

// Logs each call as one line; error_reports is logged with the calls where
// it matters to see that the loop silences the kernel after a diff.
class TracingDevice : public ReplayDevice {
public:
    std::vector<std::string> log;
    bool refuse_init = false;
    int expose_before_call = -1;  // exposed_again() answers true once, at this call

    void begin_pass() override { log.push_back("begin"); }
    bool exposed_again() override {
        return expose_before_call >= 0 && calls_++ == expose_before_call && (expose_before_call = -1, true);
    }
    void lines(const LinesRecord& r) override { log.push_back("lines " + join(r.x) + " " + join(r.y)); }
    void polygon(const PolygonRecord& r) override { log.push_back("polygon " + join(r.x)); }
    void points(const PointsRecord& r) override { log.push_back("points " + join(r.x)); }
    void segments(const SegmentsRecord& r) override { log.push_back("segments " + join(r.x2)); }
    void text(const TextRecord& r) override { log.push_back("text " + std::string(r.text.c_str())); }
    void diff(const DiffRecord& r) override {
        // The device applies the change itself.
        for (std::size_t i = 0; i + 1 < r.v.size(); i += 2) bgrp_(static_cast<int>(r.v[i])) = r.v[i + 1];
        log.push_back("diff " + join(r.v) + " reports " + std::to_string(int(bgrp_(bg::error_reports))));
    }
    bool init(const InitRecord& r) override {
        log.push_back("init " + std::to_string(r.n()) + (refuse_init ? " refused" : ""));
        if (refuse_init) return false;
        load_init(r);
        return true;
    }
    void brush(BrushRecord& r) override { log.push_back("brush " + std::to_string(r.nr)); }
    void spin(SpinRecord& r) override { log.push_back("spin " + std::to_string(r.nr)); }
    void image(const ImageRecord& r) override { log.push_back("image " + join(r.z)); }
    void flush() override { log.push_back("flush"); }
    void wrap_up() override { log.push_back("wrap"); }

private:
    int calls_ = 0;
};

class Replay : public testing::Test {
protected:
    void SetUp() override {
        reset_process_state();
        // A terminal that does not wait for Return at a new frame.
        const float no_wait[] = {0};
        zparmz_(no_wait, 1);
        for (int i = 1; i <= 200; ++i) bgrp_(i) = static_cast<float>(i);
        before_ = bgrp_;
    }
    void TearDown() override { reset_process_state(); }

    GraphicsParameters before_;
};

TEST_F(Replay, EveryEntryKindReachesItsCallInRecordedOrder) {
    const float x[] = {1, 2}, y[] = {3, 4};
    const float change[] = {8, 5};
    std::vector<float> init(130, 9.0f);
    dinitz_(init.data(), 130);
    dlinsz_(x, y, 2);
    ddiffz_(change, 2);
    dpolyz_(x, y, 2);
    dpntsz_(y, x, 2);
    dsegsz_(x, y, y, x, 2);
    dtextz_(1, 2, "abc", 3, 0.5f);
    dimagz_(x, y, x, 2, 2, 1, 0, 1, 2);
    const int offsets[] = {0}, flags[] = {0, 0};
    dbrshz_(x, 2, 1, 1, 2, 1, 0, offsets, "v", nullptr, nullptr, flags, flags, 0, 1);
    dspinz_(x, 2, 1, 1, offsets, "v", 'a', flags, 1);

    TracingDevice device;
    ASSERT_TRUE(replay_displaylist(current_displaylist.get(), device));
    EXPECT_EQ(device.log, (std::vector<std::string>{"begin", "init 130", "lines 1,2 3,4", "diff 8,5 reports -1",
                                                    "polygon 1,2", "points 3,4", "segments 3,4", "text abc",
                                                    "image 1", "brush 2", "spin 2", "flush", "wrap"}));
    // The init entry silenced the kernel before the diff; both changed
    // bgrp_ during the replay only.
    EXPECT_EQ(bgrp_.v, before_.v);
    EXPECT_EQ(current_displaylist->entries.size(), 10u);
}

TEST_F(Replay, DiffSilencesTheKernelForTheRestOfTheReplay) {
    const float change[] = {8, 5};
    ddiffz_(change, 2);
    ddiffz_(change, 2);
    TracingDevice device;
    ASSERT_TRUE(replay_displaylist(current_displaylist.get(), device));
    // The first diff sees the reports as they were, the second after -1.
    EXPECT_EQ(device.log[1], "diff 8,5 reports 96");
    EXPECT_EQ(device.log[2], "diff 8,5 reports -1");
    EXPECT_EQ(bgrp_.v, before_.v);
}

TEST_F(Replay, RefusedInitEndsTheReplayWithoutFinishing) {
    const float x[] = {1}, y[] = {1};
    dejecz_();
    dlinsz_(x, y, 1);
    TracingDevice device;
    device.refuse_init = true;
    EXPECT_FALSE(replay_displaylist(current_displaylist.get(), device));
    EXPECT_EQ(device.log, (std::vector<std::string>{"begin", "init 200 refused"}));
    EXPECT_EQ(bgrp_.v, before_.v);
}

TEST_F(Replay, PrintingAListWithoutInitStartsTheDeviceFirst) {
    const float x[] = {1}, y[] = {1};
    dlinsz_(x, y, 1);  // recorded after 'I': no init entry
    TracingDevice device;
    EXPECT_EQ(print_displaylist(device), 1);
    EXPECT_EQ(device.log, (std::vector<std::string>{"begin", "init 200", "lines 1 1", "flush", "wrap"}));
    TracingDevice refusing;
    refusing.refuse_init = true;
    EXPECT_EQ(print_displaylist(refusing), 0);
    EXPECT_EQ(refusing.log, (std::vector<std::string>{"begin", "init 200 refused"}));
    // A refresh replays the list as it stands.
    TracingDevice terminal;
    ASSERT_TRUE(replay_displaylist(current_displaylist.get(), terminal));
    EXPECT_EQ(terminal.log, (std::vector<std::string>{"begin", "lines 1 1", "flush", "wrap"}));
    EXPECT_EQ(bgrp_.v, before_.v);
}

TEST_F(Replay, UnknownEntryIsReportedAndSkipped) {
    const float x[] = {7}, y[] = {7};
    dlinsz_(x, y, 1);
    current_displaylist->entries.emplace_back(UnknownRecord{42});
    dpntsz_(x, y, 1);
    TracingDevice device;
    CaptureStderr();
    ASSERT_TRUE(replay_displaylist(current_displaylist.get(), device));
    EXPECT_EQ(GetCapturedStderr(), "Unknown display list type: 42.\n");
    EXPECT_EQ(device.log, (std::vector<std::string>{"begin", "lines 7 7", "points 7", "flush", "wrap"}));
}

TEST_F(Replay, ExposureStartsTheReplayOverFromTheSavedParameters) {
    const float x[] = {1}, y[] = {1};
    const float change[] = {10, 3};
    ddiffz_(change, 2);
    dlinsz_(x, y, 1);
    TracingDevice device;
    device.expose_before_call = 1;  // after the diff, before the lines
    ASSERT_TRUE(replay_displaylist(current_displaylist.get(), device));
    // The second pass sees the reports as they were before the first.
    EXPECT_EQ(device.log,
              (std::vector<std::string>{"begin", "diff 10,3 reports 96", "flush", "begin", "diff 10,3 reports 96",
                                        "lines 1 1", "flush", "wrap"}));
    EXPECT_EQ(bgrp_.v, before_.v);
}

TEST_F(Replay, NoListIsAnEmptyReplay) {
    TracingDevice device;
    ASSERT_TRUE(replay_displaylist(nullptr, device));
    EXPECT_EQ(device.log, (std::vector<std::string>{"begin", "flush", "wrap"}));
    EXPECT_EQ(print_displaylist(device), 1);
}

TEST_F(Replay, RefreshNeedsAListAndPermission) {
    EXPECT_EQ(refresh_display(), 0);
    const float x[] = {1, 2}, y[] = {1, 2};
    dlinsz_(x, y, 2);
    driver.can_refresh = 0;
    EXPECT_EQ(refresh_display(), 0);
    driver.can_refresh = 1;
    EXPECT_EQ(refresh_display(), 1);
    EXPECT_EQ(driver.refreshing_now, 0);
    EXPECT_EQ(bgrp_.v, before_.v);
}

TEST_F(Replay, RefreshRedrawsBrushAndSpinOnlyWhenAsked) {
    const float data[] = {1, 2};
    const int offsets[] = {0}, zeros[] = {0, 0};
    dbrshz_(data, 2, 1, 0, 0, 1, 0, offsets, "v", nullptr, nullptr, zeros, zeros, 0, 1);
    dspinz_(data, 2, 1, 1, offsets, "v", 'x', zeros, 1);
    // The terminal's own escape sequences share standard error.
    CaptureStderr();
    EXPECT_EQ(refresh_display(), 1);
    std::string quiet = GetCapturedStderr();
    EXPECT_EQ(quiet.find("brush"), std::string::npos);
    EXPECT_EQ(quiet.find("spinning"), std::string::npos);
    driver.redisplay_brush = 1;
    driver.redisplay_spin = 1;
    CaptureStderr();
    EXPECT_EQ(refresh_display(), 1);
    driver.redisplay_brush = 0;
    driver.redisplay_spin = 0;
    EXPECT_NE(GetCapturedStderr().find(
                  "You cannot brush with this device driver.\nThis device driver does not support spinning.\n"),
              std::string::npos);
}

}  // namespace
}  // namespace tgd
