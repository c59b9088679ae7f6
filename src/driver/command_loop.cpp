#include "driver/command_loop.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "base/abandon.h"
#include "base/messages.h"
#include "base/output_stream.h"
#include "base/pipe.h"
#include "core/bgrp.h"
#include "core/live_device.h"
#include "deferred/writer.h"
#include "displaylist/displaylist.h"
#include "driver/device_hooks.h"
#include "driver/print.h"
#include "driver/refresh.h"
#include "driver/state.h"
#include "driver/wire.h"
#include "kernel/kernel.h"
#include "settings/ps_par.h"
#include "terminal/terminal.h"

namespace tgd {

namespace {

void reply_last_point() { reply_real_pair(bgrp_(bg::last_x), bgrp_(bg::last_y)); }

// After end of file inside an operation's arguments nobody reads its
// result: the operation still answers, but the counts that announced the
// missing data are not trusted, so nothing is drawn, recorded or printed
// and the process ends at the next operation letter.
bool arguments_complete() { return !wire_eof(); }

// The device method for each kind of record an operation builds.
void hand(ReplayDevice& device, const LinesRecord& r) { device.lines(r); }
void hand(ReplayDevice& device, const PolygonRecord& r) { device.polygon(r); }
void hand(ReplayDevice& device, const PointsRecord& r) { device.points(r); }
void hand(ReplayDevice& device, const Boxed<SegmentsRecord>& r) { device.segments(*r); }
void hand(ReplayDevice& device, const TextRecord& r) { device.text(r); }

// The record a drawing operation built goes to each consumer in turn: the
// live device draws it (an interrupt may end the operation only there),
// the deferred writer writes it, and the display list takes it over.
template <class Record>
void draw_write_record(Record&& record) {
    InterruptWindow window;
    if (driver.live_output) hand(live_drawing(), record);
    window.close();
    hand(deferred_writer(), record);
    take_entry(std::forward<Record>(record));
}

// 'G', 'L', 'P': int n; real x[n]; real y[n].  The record takes the arrays
// over as the wire filled them.
template <class Record>
void op_xy() {
    int n = read_int();
    std::vector<float> x = read_floats(n);
    std::vector<float> y = read_floats(n);
    if (arguments_complete()) draw_write_record(Record{std::move(x), std::move(y)});
    reply_byte(driver.which);
    reply_last_point();
}

void op_segments() {
    int n = read_int();
    std::vector<float> x1 = read_floats(n);
    std::vector<float> y1 = read_floats(n);
    std::vector<float> x2 = read_floats(n);
    std::vector<float> y2 = read_floats(n);
    if (arguments_complete()) {
        draw_write_record(Boxed<SegmentsRecord>({std::move(x1), std::move(y1), std::move(x2), std::move(y2)}));
    }
    reply_byte(driver.which);
    reply_last_point();
}

void op_text() {
    int n = read_int();
    float x = read_real();
    float y = read_real();
    float justification = read_real();
    std::string text = read_text(n);
    if (arguments_complete()) draw_write_record(TextRecord{x, y, std::move(text), justification});
    reply_byte(driver.which);
    reply_real_pair(bgrp_(bg::text_end_x), bgrp_(bg::text_end_y));
}

void op_deferred() {
    int mode = read_int();
    int n = read_int();
    Block<char> name = read_terminated(n);
    if (arguments_complete()) wcopyz_(mode, name.data(), n);
    reply_byte(driver.which);
}

void op_parameters() {
    int n = read_int();
    DiffRecord change{read_floats(n)};
    if (arguments_complete()) {
        // The parameters change whether or not the live device draws, and
        // no interrupt is taken here.
        live_drawing().diff(change);
        deferred_writer().diff(change);
        take_entry(std::move(change));
    }
    reply_byte(driver.which);
}

void op_eject() {
    InterruptWindow window;
    wejecz_();
    if (driver.live_output) live_device().eject();
    dejecz_();
    window.close();
    reply_byte(driver.which);
}

void op_wrap_up() {
    InterruptWindow window;
    wwrapz_();
    if (driver.live_output) live_device().wrap_up();
    window.close();
    reply_byte(driver.which);
}

// The devices that draw even when BATCH is set.
bool draws_in_batch(float device_code) {
    return device_code == -470.0f || device_code == -424.0f || device_code == -423.0f;
}

// 'I' (with_parameters false) and 'M'.  Only the first of them initialises;
// every one answers with the whole parameter block.
void op_initialise(bool with_parameters) {
    if (driver.needs_init) {
        ps_par = PostScriptSettings::defaults();
        if (with_parameters) {
            int n = read_int();
            Block<float> params = n > 0 ? read_block<float>(n) : Block<float>(1);
            pbegnz_(params.data(), n);
        } else {
            const float none[1] = {0.0f};
            pbegnz_(none, 0);
        }
        winitz_();
        driver.needs_init = 0;
        if (with_parameters) dinitz_(bgrp_.data(), 130);
        driver.live_output = std::getenv("BATCH") == nullptr || draws_in_batch(bgrp_(bg::device_code)) ? 1 : 0;
    }
    reply_bytes(bgrp_.data(), sizeof bgrp_.v);
}

void op_print() {
    int n = read_int();
    Block<char> options = read_terminated(n);
    if (arguments_complete()) zsavez_(std::string_view(options.data()));
    reply_byte(driver.which);
}

void op_image() {
    int nx = read_int();
    Block<float> x = read_block<float>(nx);
    int ny = read_int();
    Block<float> y = read_block<float>(ny);
    int nz = read_int();
    Block<float> z = read_block<float>(nz);
    float a = read_real();
    float b = read_real();
    float c = read_real();
    if (arguments_complete()) {
        dimagz_(x.data(), y.data(), z.data(), nx, ny, nz, a, b, c);
        zimagz_(x.data(), y.data(), z.data(), nx, ny, nz, a, b, c);
    }
    reply_byte(driver.which);
}

void op_refresh() {
    refresh_display();
    reply_byte(driver.which);
}

// 'z' 'l' and every sub-letter without a meaning of its own: n bytes are
// read one at a time and dropped; the reply is 'z' and a zero byte.
void op_discard() {
    int n = read_int();
    for (int i = 0; i < n && !wire_eof(); ++i) read_byte();
    reply_byte(driver.which);
    reply_byte(0);
}

void op_menu_and_options() {
    char sub = read_byte();
    switch (sub) {
        case 'm': op_menu(); break;
        case 'p': op_ps_option(); break;
        default: op_discard(); break;
    }
}

// Performs one operation; false when the letter is not an operation.
bool perform(char op) {
    switch (op) {
        case 'C': op_deferred(); break;
        case 'D': op_parameters(); break;
        case 'E': op_eject(); break;
        case 'G': op_xy<PolygonRecord>(); break;
        case 'L': op_xy<LinesRecord>(); break;
        case 'P': op_xy<PointsRecord>(); break;
        case 'S': op_segments(); break;
        case 'T': op_text(); break;
        case 'W': reply_byte(driver.which); break;
        case 'X': op_wrap_up(); break;
        case 'I': op_initialise(false); break;
        case 'M': op_initialise(true); break;
        case 'Q': op_read_points(); break;
        case 'q': op_read_point(); break;
        case 'm': op_mode(); break;
        case 'h': op_hook(); break;
        case 's': op_print(); break;
        case 'b': op_brush(); break;
        case 'r': op_spin(); break;
        case 'i': op_image(); break;
        case 'c': op_color_map(); break;
        case 'd': op_refresh(); break;
        case 'z': op_menu_and_options(); break;
        default: return false;
    }
    return true;
}

}  // namespace

void require_live(const char* batch_message) {
    if (!driver.live_output) {
        std::fputs(batch_message, stderr);
        zzabt_();
    }
}

void start_up() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGINT, &ignore, &saved_sigint);
    sigaction(SIGQUIT, &ignore, nullptr);
    // A reader that went away makes writes on descriptors 16 and 2 fail,
    // which is ignored; it must not end the process.
    sigaction(SIGPIPE, &ignore, nullptr);
    gather_terminal_output();
    // A batch job has nobody at the terminal to answer the frame prompt.
    hp2648_.batch = std::getenv("BATCH") != nullptr;
    // The kernel draws on the graphics terminal; an interrupt makes the
    // terminal forget what it was told.
    install_live_device(hp2648_);
    set_interrupt_reset(zintrz_);
}

int device() {
    for (;;) {
        // The replies gathered so far go out when the next read has to wait:
        // operations the host has already sent run first.
        char op = 0;
        if (read_command_byte(op) <= 0) return 0;
        driver.which = op;
        try {
            if (!perform(op)) {
                dmfatl_("Pipe error.");
                dmdiag_(dmformat("Bad operation to device driver: %c.", op));
            }
        } catch (const OperationAbandoned& abandoned) {
            driver.which = abandoned.reply;
            reply_byte(driver.which);
        } catch (const std::bad_alloc&) {
            // Memory that the standard containers could not get ends the
            // operation as a failed my_calloc does.
            try {
                out_of_memory();
            } catch (const OperationAbandoned& abandoned) {
                driver.which = abandoned.reply;
                reply_byte(driver.which);
            }
        }
    }
}

}  // namespace tgd
