#include "base/abandon.h"
#include "base/process_state.h"

#include <unistd.h>

#include <csignal>

namespace tgd {

struct sigaction saved_sigint {};

namespace {
volatile sig_atomic_t interrupted = 0;
void (*interrupt_reset)() = nullptr;

extern "C" void onintr_flag(int) { interrupted = 1; }

void set_sigint(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: blocked calls return EINTR
    sigaction(SIGINT, &action, nullptr);
}

// What the interrupt handler of the old design did after the signal: the
// installed reset runs (the terminal forgets what it had been told), any
// alarm is cancelled.
[[noreturn]] void onintr() {
    ignore_sigint();
    interrupted = 0;
    alarm(0);
    if (interrupt_reset != nullptr) interrupt_reset();
    throw OperationAbandoned{'B'};
}
}  // namespace

[[noreturn]] void zzabt_() {
    ignore_sigint();
    throw OperationAbandoned{'A'};
}

void set_interrupt_reset(void (*reset)()) { interrupt_reset = reset; }

bool started_with_sigint_ignored() { return saved_sigint.sa_handler == SIG_IGN; }

void ignore_sigint() { set_sigint(SIG_IGN); }

bool interrupt_pending() { return interrupted != 0; }
void clear_interrupt() { interrupted = 0; }

namespace {
const StateReset reset_state{clear_interrupt};
}  // namespace

void interrupt_point() {
    if (interrupted) onintr();
}

InterruptWindow::InterruptWindow() {
    interrupted = 0;
    if (!started_with_sigint_ignored()) {
        set_sigint(onintr_flag);
        open_ = true;
    }
}

InterruptWindow::~InterruptWindow() {
    if (open_) {
        ignore_sigint();
        interrupted = 0;
    }
}

void InterruptWindow::close() {
    if (!open_) return;
    ignore_sigint();
    open_ = false;
    interrupt_point();
}

}  // namespace tgd
