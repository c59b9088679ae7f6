// The kernel started on the graphics terminal, for the tests that check the
// bytes the kernel draws.
#pragma once

#include "base/process_state.h"
#include "core/bgrp.h"
#include "core/live_device.h"
#include "harness/fd_capture.h"
#include "kernel/kernel.h"
#include "terminal/terminal.h"

namespace tgdtest {

// The kernel started on the graphics terminal, as after the first 'I'.
inline void start_terminal_kernel() {
    tgd::install_live_device(tgd::hp2648_);
    tgd::reset_process_state();
    tgd::test::FdCapture quiet;
    const float none[1] = {0.0f};
    tgd::pbegnz_(none, 0);
}

}  // namespace tgdtest
