// Replaying a display list into a device: the terminal for a refresh, the
// printer devices for printing.  Every replay runs the same loop.
#pragma once

#include "core/bgrp.h"
#include "core/records.h"

namespace tgd {

// A target of a replay: one call per entry kind.  Diff entries are applied
// by the device; the loop then silences the kernel's error reports.
class ReplayDevice {
public:
    virtual ~ReplayDevice() = default;

    // Start of a pass over the list (the terminal starts a new frame).
    virtual void begin_pass() {}
    // Asked before each entry: true when the display was exposed again and
    // the pass must start over.
    virtual bool exposed_again() { return false; }

    virtual void lines(const LinesRecord& r) = 0;
    virtual void polygon(const PolygonRecord& r) = 0;
    virtual void points(const PointsRecord& r) = 0;
    virtual void segments(const SegmentsRecord& r) = 0;
    virtual void text(const TextRecord& r) = 0;
    virtual void diff(const DiffRecord& r) = 0;
    // False when the device cannot start; the replay ends there.
    [[nodiscard]] virtual bool init(const InitRecord& r) = 0;
    virtual void brush(BrushRecord& r) = 0;
    virtual void spin(SpinRecord& r) = 0;
    virtual void image(const ImageRecord& r) = 0;

    // After the last entry: forget remembered state, then finish the output.
    virtual void flush() {}
    virtual void wrap_up() {}
};

// Save area of bgrp_ for the collapse and the replays.
extern GraphicsParameters saved_bgrp;

// Saves bgrp_ (into saved_bgrp and a copy of its own) and puts it back when
// the scope ends, however it ends.
class BgrpSave {
public:
    BgrpSave() : saved_(bgrp_) { saved_bgrp = bgrp_; }
    ~BgrpSave() { bgrp_ = saved_; }
    BgrpSave(const BgrpSave&) = delete;
    BgrpSave& operator=(const BgrpSave&) = delete;

    void restore() const { bgrp_ = saved_; }

private:
    GraphicsParameters saved_;
};

// The kernel's error reports are not printed for the rest of a replay.
void silence_error_reports();
// Copies an init entry's values over bgrp_(1..n) (at most the whole block)
// and silences the error reports.
void load_init(const InitRecord& init);

// Replays every entry of list (none when it is null) into device, then
// flushes and wraps it up.  Returns false, without flush and wrap-up, when
// the device's init refuses.  With start_device, a list that does not begin
// with an init entry first starts the device with the current parameters.
// bgrp_ is as it was afterwards.
[[nodiscard]] bool replay_displaylist(DisplayList* list, ReplayDevice& device, bool start_device = false);

}  // namespace tgd
