// The process's state as one reset, so that one process can serve several
// independent sessions (the fuzz target runs one per input; tests start
// clean with it).  Each library registers how to put its own globals back
// to their start values; reset_process_state() runs every reset linked into
// the program.
#pragma once

namespace tgd {

// Gives every global linked in its start value: the command loop's flags,
// the parameter block, the terminal state, the display list, the printer
// parameters and their save slot, the PostScript settings, contexts and
// hooks, the LaserJet page, the deferred-graphics writer and its line
// buffers, the work stack, the message buffer and the interrupt flag.
// Open output files are closed without being finished.
//
// Kept as they are: the start-up wiring (the installed live device, what an
// interrupt resets), the SIGINT disposition found at start (saved_sigint)
// and the signal dispositions themselves, which belong to whoever started
// the process; the name of the last temporary deferred file, which only
// reports what was made.
void reset_process_state();

// Registers a reset.  A library defines one such object in the file that
// defines its globals, so that the reset is linked wherever they are.
class StateReset {
public:
    explicit StateReset(void (*reset)());
};

}  // namespace tgd
