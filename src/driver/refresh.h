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

}  // namespace tgd
