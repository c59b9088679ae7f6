// The process's state as one reset.  Each library registers how to put its
// own globals back to their start values; reset_process_state() runs every
// reset linked into the program, so that a test (or a fuzzer) starts each
// case as a fresh process would.  The start-up wiring (the installed live
// device, what an interrupt resets) and the hooks that tests install are
// not state and stay.
#pragma once

namespace tgd {

void reset_process_state();

// Registers a reset.  A library defines one such object in the file that
// defines its globals, so that the reset is linked wherever they are.
class StateReset {
public:
    explicit StateReset(void (*reset)());
};

}  // namespace tgd
