// Drawing primitives of the graphics terminal.  Every primitive writes its
// sequence at once; the state in hp2648_ keeps sequences that would change
// nothing on the terminal from being sent again.
#include <string>

#include "base/chars.h"
#include "base/convert.h"
#include "base/process_state.h"
#include "core/bgrp.h"
#include "core/clip.h"
#include "core/reports.h"
#include "terminal/escape.h"
#include "terminal/terminal.h"

namespace tgd {

Hp2648Terminal hp2648_;

namespace {
const StateReset reset_state{[] { hp2648_ = Hp2648Terminal{}; }};
}  // namespace

namespace {

// Colours are compared and encoded as integers, clamped on conversion.
int color_code() { return to_int(bgrp_(bg::color)); }

}  // namespace

void Hp2648Terminal::send_pen_color(int c) {
    std::string seq;
    esc::pen_color(seq, esc::pen_color_value(c));
    zoutrz_(seq);
    cur_color = c;
}

void Hp2648Terminal::describe(const float* par, int npar) {
    eject_wait = npar > 0 ? to_int(par[0]) : 1;
    for (int n = 1; n <= 39; ++n) bgrp_(n) = 0.0f;
    std::string seq;
    esc::device_reset(seq);
    zoutrz_(seq);
    bgrp_(bg::device_class) = 2.0f;
    bgrp_(bg::cell_width) = 7.0f;
    bgrp_(bg::cell_height) = 10.0f;
    bgrp_(bg::device_xmin) = 0.0f;
    bgrp_(bg::device_xmax) = 511.0f;
    bgrp_(bg::device_ymin) = 0.0f;
    bgrp_(bg::device_ymax) = 389.0f;
    bgrp_(bg::cell_origin_x) = 0.0f;
    bgrp_(bg::cell_origin_y) = 0.0f;
    bgrp_(bg::device_raster_width) = 8.0f / 511.0f;
    bgrp_(bg::device_raster_height) = 6.0f / 389.0f;
    bgrp_(bg::device_code) = -2627.0f;
    bgrp_(bg::rotates_text) = 1.0f;
    bgrp_(bg::drawn) = 1.0f;
    invalidate();
}

void Hp2648Terminal::seek(int x, int y) {
    // Line type, colour and move each go out in their own write.
    float lty = bgrp_(bg::line_type);
    if (lty != cur_lty) {
        std::string seq;
        esc::line_type(seq, esc::line_type_value(to_int(lty)));
        cur_lty = lty;
        zoutrz_(seq);
    }
    if (bgrp_(bg::color) != static_cast<float>(cur_color)) send_pen_color(color_code());
    long long dx = static_cast<long long>(x) - pen_x;
    long long dy = static_cast<long long>(y) - pen_y;
    pen_x = x;
    pen_y = y;
    if (dx == 0 && dy == 0) return;
    std::string seq;
    esc::move(seq, x, y, dx, dy);
    zoutrz_(seq);
}

void Hp2648Terminal::line(int x, int y) {
    std::string seq;
    esc::line(seq, x, y, static_cast<long long>(x) - pen_x, static_cast<long long>(y) - pen_y);
    pen_x = x;
    pen_y = y;
    zoutrz_(seq);
}

void Hp2648Terminal::send_text_size() {
    float r = bgrp_(bg::char_expansion) / bgrp_(bg::char_size_unit);
    if (r == cur_size) return;
    std::string seq;
    esc::text_size(seq, esc::text_size_value(r));
    cur_size = r;
    zoutrz_(seq);
}

void Hp2648Terminal::send_text_direction(float angle) {
    if (angle == cur_angle) return;
    cur_angle = angle;
    std::string seq;
    esc::text_direction(seq, esc::text_direction_value(angle));
    zoutrz_(seq);
}

void Hp2648Terminal::glyph(char ch, float angle) {
    send_text_size();
    send_text_direction(angle);
    int c = iascii_(static_cast<unsigned char>(ch), to_int(bgrp_(bg::char_case_mode)));
    if (c == '0') c = 'O';  // the terminal's zero is drawn as the letter
    std::string seq;
    esc::character(seq, static_cast<char>(c));
    zoutrz_(seq);
}

void Hp2648Terminal::polygon_vertex(int x, int y, int& first) {
    std::string seq;
    esc::polygon_vertex(seq, x, y, first != 0);
    first = 0;
    zoutrz_(seq);
}

void Hp2648Terminal::polygon(const float* x, const float* y, int n) {
    int first = 1;
    if (n < 3 || n > 148) {
        forget();
        zerrpz_("zpolyz", "Needs at least 3 points and at most 148");
        return;
    }
    std::string seq;
    int c = color_code();
    if (c >= 0 && c <= 7) {
        esc::fill_single(seq, 1);
        zoutrz_(seq);
        if (c != cur_color) send_pen_color(c);
    } else if (c > 7) {
        esc::fill_single(seq, 0);
        zoutrz_(seq);
        seq.clear();
        esc::fill_pattern(seq, (c - 8) % 18 + 2);
        zoutrz_(seq);
    } else {
        int m = -c;
        esc::fill_single(seq, 9 - (m / 10) % 7);
        zoutrz_(seq);
        int p = m % 10;
        if (p != cur_color) send_pen_color(p);
    }
    seq.clear();
    esc::polygon_start(seq);
    zoutrz_(seq);

    const UserToRaster to_raster = user_to_raster();
    const ClipWindow window = clip_window();
    float px[2] = {0.0f, to_raster.x(x[0])};
    float py[2] = {0.0f, to_raster.y(y[0])};
    bool clipped = false;
    float clipped_x = 0.0f, clipped_y = 0.0f;
    for (int i = 1; i < n; ++i) {
        px[0] = px[1];
        py[0] = py[1];
        px[1] = to_raster.x(x[i]);
        py[1] = to_raster.y(y[i]);
        float cx[2], cy[2];
        int status = 0;
        lclipz_(px, py, window.xlim, window.ylim, cx, cy, status);
        if (status != 0) {
            clipped = true;
            clipped_x = x[i];
            clipped_y = y[i];
        }
        if (status < 0) continue;
        if (status > 0 || first) polygon_vertex(raster(cx[0]), raster(cy[0]), first);
        polygon_vertex(raster(cx[1]), raster(cy[1]), first);
    }
    seq.clear();
    esc::polygon_end(seq);
    zoutrz_(seq);
    forget();
    if (clipped) zobdsz_("Polygon", clipped_x, clipped_y);
}

void Hp2648Terminal::eject() {
    std::string seq;
    bool waiting = eject_wait > 0 && !batch;
    esc::frame_prompt(seq, waiting);
    if (waiting) {
        zoutwz_(seq);
    } else {
        zoutrz_(seq);
    }
    cur_size = 1.0f;
    seq.clear();
    esc::clear(seq);
    zoutrz_(seq);
}

void Hp2648Terminal::locate(int& ix, int& iy, int& key) { zquxyz_(ix, iy, key); }

void zparmz_(const float* par, int npar) { hp2648_.describe(par, npar); }
void zseekz_(int x, int y) { hp2648_.seek(x, y); }
void zlinez_(int x, int y) { hp2648_.line(x, y); }
void zptchz_(char ch, float angle) { hp2648_.glyph(ch, angle); }
void hp26sz_() { hp2648_.send_text_size(); }
void hp26rt_(float angle) { hp2648_.send_text_direction(angle); }
void zpolyz_(const float* x, const float* y, int n) { hp2648_.polygon(x, y, n); }
void zptout_(int x, int y, int& first) { hp2648_.polygon_vertex(x, y, first); }
void zejecz_() { hp2648_.eject(); }
void zflshz_() { hp2648_.forget(); }
void zwrapz_() { hp2648_.wrap_up(); }

}  // namespace tgd
