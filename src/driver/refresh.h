// Drawing records on the live device: as the host sends them, and again
// when the current frame is refreshed.
#pragma once

#include "core/replay.h"

namespace tgd {

// The live device as a target of records, drawing through the kernel.  The
// command loop hands it what each drawing operation built; a refresh
// replays the display list through it, so both draw a record the same way.
ReplayDevice& live_drawing();

// Redraw the current frame ('d'); 1 when replayed.
int refresh_display();

// Refresh does nothing while can_refresh is 0; refreshing_now is set while
// it runs; brush and spin entries are redrawn only while redisplay_brush
// and redisplay_spin are set.
extern int can_refresh;
extern int refreshing_now;
extern int redisplay_brush;
extern int redisplay_spin;

}  // namespace tgd
