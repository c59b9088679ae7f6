// What the driver keeps between operations: the letter being served, how
// drawing goes out, and the flags of refresh and of the interactive
// devices.  One object, so that a fresh process state is one assignment.
#pragma once

namespace tgd {

struct DriverState {
    char which = 0;       // the operation letter last read; the normal reply
    char nextch = 0;      // the sub-letter of 'q' and 'm'
    int live_output = 1;  // drawing goes to the live terminal
    int needs_init = 1;   // the first 'I' or 'M' is still to come

    // Set for the duration of the device call of 'b' and 'r'.
    int brushing = 0;
    int spinning = 0;

    // Refresh does nothing while can_refresh is 0; refreshing_now is set
    // while it runs; brush and spin entries are redrawn only while
    // redisplay_brush and redisplay_spin are set.
    int can_refresh = 1;
    int refreshing_now = 0;
    int redisplay_brush = 0;
    int redisplay_spin = 0;
};

extern DriverState driver;

}  // namespace tgd
