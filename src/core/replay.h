// Replaying a display list into a device: the terminal for a refresh, the
// printer devices for printing.  Every replay runs the same loop.
#pragma once

#include "core/bgrp.h"
#include "core/records.h"

namespace tgd {

// A target of a replay: one call per entry kind, in the order recorded.
// The contract every device keeps:
// - Coordinates in records are user coordinates; a device maps them with
//   the transform in bgrp_ (user_to_raster()) and its own device range.
// - A device reads the attributes it honours from bgrp_ at each call
//   (line_type, color, char_expansion, string_angle, char_angle, marker
//   and text sizes).  Besides diff and init, which load bgrp_, a drawing
//   call may change the entries the kernel's own routine changes (the
//   last point, the text end, an image's colour); the loop restores all
//   of bgrp_ afterwards.
// - Drawing methods never refuse: what falls outside is clipped or left
//   out, with a kernel report where the kernel makes one.
// - A device may remember what it last sent; flush() forgets it.
class ReplayDevice {
public:
    virtual ~ReplayDevice() = default;

    // Start of a pass over the list (the terminal starts a new frame).
    virtual void begin_pass() {}
    // Asked before each entry: true when the display was exposed again and
    // the pass must start over.
    virtual bool exposed_again() { return false; }

    // A polyline through n points; the pen ends at the last one.
    virtual void lines(const LinesRecord& r) = 0;
    // A polygon filled in the current colour, closed implicitly.
    virtual void polygon(const PolygonRecord& r) = 0;
    // n points drawn with plot_symbol (a marker number or a character).
    virtual void points(const PointsRecord& r) = 0;
    // n separate segments (x1, y1)-(x2, y2).
    virtual void segments(const SegmentsRecord& r) = 0;
    // A string at (x, y) along string_angle, placed by its justification
    // (0 left, 0.5 centred, 1 right).
    virtual void text(const TextRecord& r) = 0;
    // Applies the change vector to bgrp_ (amdiff_) and updates what the
    // device derives from it; the loop then silences the kernel reports.
    virtual void diff(const DiffRecord& r) = 0;
    // Loads the block into bgrp_ and starts the device for the frame.
    // False when it cannot start (a printer that can open no file); the
    // replay then ends there without flush and wrap-up.
    [[nodiscard]] virtual bool init(const InitRecord& r) = 0;
    // Brushing and spinning displays: a device that cannot show them says
    // so and goes on; the entry's own working state may change.
    virtual void brush(BrushRecord& r) = 0;
    virtual void spin(SpinRecord& r) = 0;
    // An image of (nx - 1) x (ny - 1) cells coloured by z between the
    // entry's low and high values (c marks missing values); a device that
    // widens the range works on its own copy, the entry stays as recorded.
    virtual void image(const ImageRecord& r) = 0;

    // After the last entry: forget remembered state, then finish the output
    // (a printer closes and prints its file).
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
