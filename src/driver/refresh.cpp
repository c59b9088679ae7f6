// Records drawn through the kernel onto the live device, and the refresh
// that replays the current frame that way.
#include "driver/refresh.h"

#include "base/scope.h"
#include "core/live_device.h"
#include "core/replay.h"
#include "displaylist/displaylist.h"
#include "driver/device_hooks.h"
#include "driver/state.h"
#include "kernel/kernel.h"

namespace tgd {

namespace {

// The live device as a replay target.
class LiveDrawing final : public ReplayDevice {
public:
    void begin_pass() override { live_device().eject(); }
    bool exposed_again() override { return newly_exposed() != 0; }

    void lines(const LinesRecord& r) override { zlinsz_(r.x.data(), r.y.data(), r.n()); }
    // The live device fills a polygon itself, clipping it to the window.
    void polygon(const PolygonRecord& r) override { live_device().polygon(r.x.data(), r.y.data(), r.n()); }
    void points(const PointsRecord& r) override { zpntsz_(r.x.data(), r.y.data(), r.n()); }
    void segments(const SegmentsRecord& r) override {
        zsegsz_(r.x1.data(), r.y1.data(), r.x2.data(), r.y2.data(), r.n());
    }
    void text(const TextRecord& r) override { ztextz_(r.x, r.y, r.text.c_str(), r.n(), r.justification); }
    void diff(const DiffRecord& r) override { amdiff_(r.v.data(), r.n()); }
    bool init(const InitRecord& r) override {
        load_init(r);
        return true;
    }
    void brush(BrushRecord& r) override {
        if (driver.redisplay_brush) zbrshz_(r, 2);
    }
    void spin(SpinRecord& r) override {
        if (driver.redisplay_spin) zspinz_(r, 2);
    }
    void image(const ImageRecord& r) override {
        zimagz_(r.x.data(), r.y.data(), r.z.data(), static_cast<int>(r.x.size()), static_cast<int>(r.y.size()),
                static_cast<int>(r.z.size()), r.a, r.b, r.c);
    }
    void flush() override { live_device().forget(); }
};

}  // namespace

ReplayDevice& live_drawing() {
    static LiveDrawing live;
    return live;
}

int refresh_display() {
    if (!driver.can_refresh || !current_displaylist) return 0;
    const ValueKept now{driver.refreshing_now, 1};  // set while a refresh runs, however it ends
    // The terminal always starts: the replay runs to its end.
    return replay_displaylist(current_displaylist.get(), live_drawing()) ? 1 : 0;
}

}  // namespace tgd
