// Putting the whole process back as it was when it started, so that one
// process can serve several independent sessions (the fuzz target runs one
// per input; tests start clean with it).
#pragma once

namespace tgd {

// Assigns every global of the driver its start value: the command loop's
// flags, the parameter block, the terminal state, the display list, the
// printer parameters and their save slot, the PostScript settings,
// contexts and hooks, the LaserJet page, the deferred-graphics writer and
// its line buffers, the work stack, the message buffer and the interrupt
// flag.  Open output files are closed without being finished.
//
// Kept as they are: the SIGINT disposition found at start (saved_sigint)
// and the signal dispositions themselves, which belong to whoever started
// the process; the random source of unique names; the name of the last
// temporary deferred file, which only reports what was made.
void reset_process_state();

}  // namespace tgd
