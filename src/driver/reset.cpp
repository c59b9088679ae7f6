#include "driver/reset.h"

#include "deferred/fields.h"
#include "deferred/writer.h"
#include "displaylist/displaylist.h"
#include "driver/abandon.h"
#include "driver/alloc.h"
#include "driver/device.h"
#include "driver/messages.h"
#include "driver/misc.h"
#include "driver/wire.h"
#include "kernel/bgrp.h"
#include "kernel/kernel.h"
#include "laserjet/hplj.h"
#include "postscript/ps_par.h"
#include "postscript/pscplot.h"
#include "printer/mktempx.h"
#include "printer/printer.h"
#include "runtime/stack.h"
#include "terminal/terminal.h"

namespace tgd {

void reset_process_state() {
    // The command loop and the driver's own state.
    which = 0;
    nextch = 0;
    live_output = 1;
    needs_init = 1;
    alloc_trace = 0;
    dmbuf.fill('\0');
    brushing = 0;
    spinning = 0;
    reset_interrupt_warning();
    clear_interrupt();
    clear_wire_eof();

    // The graphics kernel and the terminal.
    bgrp_ = GraphicsParameters{};
    n_colors = 6;
    hp2648_ = TerminalState{};

    // The display list and its replays.
    current_displaylist.reset();
    saved_bgrp = GraphicsParameters{};
    can_refresh = 1;
    refreshing_now = 0;
    redisplay_brush = 0;
    redisplay_spin = 0;

    // Printing.  Saving and restoring the fresh record leaves the single
    // save slot empty.
    CurrentPrinterParameters = PrinterParameters{};
    save_pparms();
    restore_pparms();
    reset_mktempx_letters();
    set_temp_name_source({});
    ps_par = PostScriptSettings{};
    ps_reset_device();  // closes both PostScript contexts' files
    ps_hooks = PsHooks::defaults();
    hplj_page = LaserJetPage{};  // closes the LaserJet file, drops the raster

    // The deferred-graphics writer (closing its file) and its line layers.
    cdefer_ = DeferredState{};
    par_dump_unit = -1;
    encbfc_.reset();
    encbfl_ = 0;
    decbfc_ = DecoderLine{};
    decbfl_ = DecoderState{};

    reset_work_stack();
}

}  // namespace tgd
