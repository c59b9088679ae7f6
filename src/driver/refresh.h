// Refresh: the current frame drawn again on the live device.
#pragma once

namespace tgd {

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
