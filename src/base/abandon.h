// Abandoning an operation.  An abort (reply 'A') or an interrupt (reply
// 'B') unwinds to the command loop as an OperationAbandoned exception; the
// loop writes the reply byte and reads the next operation.  Everything the
// operation would have done afterwards (recording, its normal reply) is
// skipped, and the owning objects it had opened are released on the way.
#pragma once

#include <signal.h>

namespace tgd {

struct OperationAbandoned {
    char reply;  // 'A' for an abort, 'B' for an interrupt
};

// Abandon the current operation with the reply 'A'.
[[noreturn]] void zzabt_();

// The SIGINT disposition the process found at start.  While it is the
// ignore disposition the driver is never interrupted.
extern struct sigaction saved_sigint;
bool started_with_sigint_ignored();

// What an interrupt resets before its operation is abandoned; installed
// at start-up (the live terminal forgets what it was told).
void set_interrupt_reset(void (*reset)());

// Set SIGINT to be ignored (start-up, end of every interrupt window).
void ignore_sigint();

// Whether a SIGINT has arrived inside the current interrupt window.
bool interrupt_pending();
// Forgets a SIGINT that was not yet seen (a process reset).
void clear_interrupt();

// Called by interruptible code at its reads, writes and between drawing
// primitives: when a SIGINT has arrived, abandons the operation with 'B'.
void interrupt_point();

// The interrupt handling of a drawing operation: SIGINT is caught from
// construction to close() (or destruction), only when the process was not
// started with SIGINT ignored.  The handler only sets a flag and is
// installed without SA_RESTART, so that a blocked read or write returns
// EINTR and the interrupted code reaches interrupt_point().
class InterruptWindow {
public:
    InterruptWindow();
    ~InterruptWindow();
    InterruptWindow(const InterruptWindow&) = delete;
    InterruptWindow& operator=(const InterruptWindow&) = delete;

    // Ends the window: SIGINT is ignored again.  An interrupt that arrived
    // before this point and was not yet seen abandons the operation now.
    void close();

private:
    bool open_ = false;
};

}  // namespace tgd
