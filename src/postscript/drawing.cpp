// The PostScript drawing operators: paths of relative moves, rectangles,
// points and markers, text, images and the attributes written as they
// change.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/alloc.h"
#include "base/convert.h"
#include "base/messages.h"
#include "kernel/kernel.h"
#include "kernel/markers.h"
#include "postscript/device.h"
#include "postscript/encode.h"
#include "settings/ps_par.h"

namespace tgd {

namespace {

// Attributes written when they change: first entry, entries, operator.
struct AttrRow {
    int entry;
    int count;
    const char* op;
};
constexpr AttrRow ps_attr_table[] = {
    {8, 1, "St"},   // line type
    {9, 1, "Sw"},   // entry 9
    {10, 1, "SC"},  // colour
    {14, 1, "Sr"},  // string angle
    {15, 1, "Sp"},  // plotting symbol
    {18, 1, "Sx"},  // character expansion
    {40, 4, "So"},  // plot region
    {44, 4, "Sg"},  // figure region
    {48, 1, "Sh"},  // character angle
    {65, 1, "Sd"},  // clip to figure
    {79, 1, "Sf"},  // font number
};
constexpr int kFontEntry = 79;

// Grey image levels of tgd's own prolog: steps from zlo to zhi, highest level.
constexpr int kGreySteps = 5;
constexpr int kGreyLevels = 8;

// User to device coordinates, in double precision, stored as floats.
float device_x(float x) {
    return static_cast<float>(static_cast<double>(x) * bgrp_(bg::x_scale) + bgrp_(bg::x_offset));
}
float device_y(float y) {
    return static_cast<float>(static_cast<double>(y) * bgrp_(bg::y_scale) + bgrp_(bg::y_offset));
}

// The font of bgrp_(79), counted from 1; -1 when there is no such font.
int font_index() {
    const int nfonts = std::min(ps_par.nfonts(), static_cast<int>(ps_par.font_needed.size()));
    if (nfonts <= 0) return -1;
    int f = to_int(bgrp_(kFontEntry) - 0.5) % nfonts;
    return f < 0 || f >= static_cast<int>(ps_par.font_on_page.size()) ? -1 : f;
}

}  // namespace

// Device to PostScript units, truncated toward zero.
int PostScriptDevice::ps_x(float X) const {
    return to_int((static_cast<double>(X) - fig_xminD) / fig_widthD * fig_widthPS + 0.5);
}
int PostScriptDevice::ps_y(float Y) const {
    return to_int((static_cast<double>(Y) - fig_yminD) / fig_heightD * fig_heightPS + 0.5);
}

// The announcement of font f on this page, and its use in the document.
void PostScriptDevice::note_font(int f) {
    const int level = ps_par.dsc_level;
    ps_par.font_needed[static_cast<std::size_t>(f)] = 1;
    if (ps_par.font_on_page[static_cast<std::size_t>(f)]) return;
    std::string_view name = c_text(ps_par.fonts[static_cast<std::size_t>(f)]);
    std::string line;
    if (level >= 300)
        line = "%%IncludeResource: font ";
    else if (level >= 210)
        line = "%%IncludeFont: ";
    if (!line.empty()) emit(line.append(name).append("\n"));
    ps_par.font_on_page[static_cast<std::size_t>(f)] = 1;
}

void PostScriptDevice::ps_reset_path() {
    path.path_count = 0;
    path.just_moved = 0;
    path.need_start = 1;
}

void PostScriptDevice::put_point(Point p, std::string_view op) {
    context->out.append([&](std::string& out) {
        append_d(out, p[0]);
        out += ' ';
        append_d(out, p[1]);
        out += op;
    });
}

bool PostScriptDevice::ps_convert_point(Point p, bool force) {
    path.prev_pt = path.cur_pt;
    path.cur_pt = p;
    // Compared by coordinate: the array's own comparison is a call to
    // memcmp, once per vertex.
    return force || p[0] != path.prev_pt[0] || p[1] != path.prev_pt[1];
}

void PostScriptDevice::ps_rel_move() {
    const PsPath& p = path;
    context->out.append([&](std::string& out) {
        ps_rel_move_op(out, static_cast<long long>(p.cur_pt[0]) - p.prev_pt[0],
                       static_cast<long long>(p.cur_pt[1]) - p.prev_pt[1]);
    });
}

void PostScriptDevice::ps_end_path(int limit) {
    if (path.path_count <= limit) return;
    if (limit < 1) {
        emit("E\n");
    } else {
        std::string s = "C % limitcheck avoid max=";
        append_d(s, limit);
        emit(s + "\n");
    }
    ps_reset_path();
}

void PostScriptDevice::move_to(Point p) {
    if (ps_convert_point(p, path.need_start != 0)) {
        if (path.point_mode && !path.need_start)
            ps_rel_move();
        else
            put_point(path.cur_pt, " m\n");
        path.path_count += 1;
        ps_end_path(ps_par.path_limit);
    }
    path.just_moved = 1;
    path.need_start = 0;
}

void PostScriptDevice::line_to(Point p) {
    if (path.need_start) put_point(path.cur_pt, " M\n");
    if (ps_convert_point(p, path.just_moved != 0)) {
        ps_rel_move();
        path.path_count += 1;
        ps_end_path(ps_par.path_limit);
    }
    path.just_moved = 0;
    path.need_start = 0;
}

void PostScriptDevice::ps_zseekz(float X, float Y) { move_to({ps_x(X), ps_y(Y)}); }
void PostScriptDevice::ps_zlinez(float X, float Y) { line_to({ps_x(X), ps_y(Y)}); }

namespace {
// The attribute entries of bgrp_ bit for bit, in the order of the table.
std::array<std::uint32_t, PsDocumentState::kSyncedEntries> attribute_entries() {
    std::array<std::uint32_t, PsDocumentState::kSyncedEntries> raw{};
    std::size_t k = 0;
    for (const AttrRow& row : ps_attr_table)
        for (int i = 0; i < row.count; ++i) raw[k++] = std::bit_cast<std::uint32_t>(bgrp_(row.entry + i));
    return raw;
}
static_assert([] {
    std::size_t n = 0;
    for (const AttrRow& row : ps_attr_table) n += static_cast<std::size_t>(row.count);
    return n;
}() == PsDocumentState::kSyncedEntries);
}  // namespace

void PostScriptDevice::ps_sync_attributes(bool all) {
    // Called for every drawing operation: when no entry has changed since
    // the last time, the attributes written are still the ones to write.
    const auto raw = attribute_entries();
    if (!all && synced && raw == synced_entries) return;
    synced_entries = raw;
    synced = true;
    bool path_ended = false;
    for (const AttrRow& row : ps_attr_table) {
        // Compared as written, so that a NaN is not written again each time.
        std::array<float, 4> now{};
        for (int i = 0; i < row.count; ++i) now[i] = static_cast<float>(ps_finite(bgrp_(row.entry + i)));
        float* written = &current_am[static_cast<std::size_t>(row.entry - 1)];
        bool changed = all;
        for (int i = 0; i < row.count && !changed; ++i) changed = now[i] != written[i];
        if (!changed) continue;
        if (!path_ended) {
            ps_end_path(0);
            ps_reset_path();
            path_ended = true;
        }
        // A font number that names no font has no bookkeeping.
        if (row.entry == kFontEntry)
            if (int f = font_index(); f >= 0) note_font(f);
        std::copy_n(now.data(), row.count, written);
        std::string s;
        ps_attr_op(s, now.data(), row.count, row.op);
        emit(s);
    }
}

void PostScriptDevice::ps_amdiff(const float* v, int n) {
    amdiff_(v, n);  // entries outside 1..200 are skipped
    bgrp_(bg::error_reports) = -1.0f;
}

// The path through the n points vertex(0) .. vertex(n - 1), PostScript
// units; an axis-parallel box is written as a rectangle instead.  The
// caller has begun the page.
template <class Vertex>
void PostScriptDevice::ps_path(int n, const Vertex& vertex, std::string_view end_op, std::string_view rect_op,
                               bool closed) {
    if (n == 5 || (n == 4 && closed)) {
        std::array<Point, 5> P{};
        for (int i = 0; i < n; ++i) P[i] = vertex(i);
        const bool loop = n == 4 || P[4] == P[0];
        const bool degenerate = P[0][0] == P[2][0] || P[0][1] == P[2][1] || P[1][0] == P[3][0] || P[1][1] == P[3][1];
        const bool vertical_first =
            P[0][0] == P[1][0] && P[0][1] != P[1][1] && P[1][1] == P[2][1] && P[2][0] == P[3][0] && P[3][1] == P[0][1];
        const bool horizontal_first =
            P[0][0] != P[1][0] && P[0][1] == P[1][1] && P[1][0] == P[2][0] && P[2][1] == P[3][1] && P[3][0] == P[0][0];
        if (loop && !degenerate && (vertical_first || horizontal_first)) {
            context->out.append([&](std::string& out) {
                ps_rect_op(out, std::llabs(static_cast<long long>(P[0][0]) - P[2][0]),
                           std::llabs(static_cast<long long>(P[0][1]) - P[2][1]), std::min(P[0][0], P[2][0]),
                           std::min(P[0][1], P[2][1]), rect_op);
            });
            ps_reset_path();
            return;
        }
    }
    if (n < 2) return;
    emit("B\n");
    ps_end_path(0);
    move_to(vertex(0));
    for (int i = 1; i < n; ++i) line_to(vertex(i));
    emit(end_op);
    ps_reset_path();
}

void PostScriptDevice::ps_polyline(const float* x, const float* y, int n, std::string_view end_op,
                                   std::string_view rect_op, bool closed) {
    ps_begin_page();
    const auto vertex = [&](int i) { return Point{ps_x(device_x(x[i])), ps_y(device_y(y[i]))}; };
    ps_path(n, vertex, end_op, rect_op, closed);
}

void PostScriptDevice::ps_zlinsz(const float* x, const float* y, int n) {
    path.point_mode = 0;
    ps_polyline(x, y, n, "E\n", "c", false);
}
void PostScriptDevice::pslins_(const float* x, const float* y, int n) { ps_zlinsz(x, y, n); }

void PostScriptDevice::ps_zpolyz(const float* x, const float* y, int n) { ps_polyline(x, y, n, "F\n", "b", true); }
void PostScriptDevice::pspoly_(const float* x, const float* y, int n) { ps_zpolyz(x, y, n); }

void PostScriptDevice::ps_zsegsz(const float* x1, const float* y1, const float* x2, const float* y2, int n) {
    ps_begin_page();
    for (int i = 0; i < n; ++i) {
        ps_zseekz(device_x(x1[i]), device_y(y1[i]));
        ps_zlinez(device_x(x2[i]), device_y(y2[i]));
    }
    ps_zflshz();
}

void PostScriptDevice::ps_zpntsz(const float* x, const float* y, int n) {
    const int c = to_int(bgrp_(bg::plot_symbol));
    ps_begin_page();
    if (c < 32) {
        psmark_(x, y, n, c);
        return;
    }
    PsPath& p = path;
    p.point_mode = 1;
    emit(c == 42 ? "/Bu Pu B\n" : "/Pc Pu B\n");
    ps_reset_path();
    for (int i = 0; i < n; ++i) ps_zseekz(device_x(x[i]), device_y(y[i]));
    p.point_mode = 0;
    emit("Pd\n");
}

void PostScriptDevice::psmark_(const float* x, const float* y, int n, int marker) {
    if (marker < 0 || marker >= kMarkerCount || n <= 0) return;
    ps_begin_page();
    // The figure around the origin, once for all points: a vertex of the
    // marker at (x, y) is then x plus the figure's vertex, the same float
    // sum the figure at (x, y) holds, converted as any other vertex.
    const float size = marker_size_inches();
    const std::vector<MarkerStroke> figure = marker_strokes(
        marker, 0.0f, 0.0f, size / (2.0f * bgrp_(bg::inch_per_user_x)), size / (2.0f * bgrp_(bg::inch_per_user_y)));
    for (int i = 0; i < n; ++i) {
        for (const MarkerStroke& s : figure) {
            const auto vertex = [&](int k) {
                return Point{ps_x(device_x(x[i] + s.x[static_cast<std::size_t>(k)])),
                             ps_y(device_y(y[i] + s.y[static_cast<std::size_t>(k)]))};
            };
            const int count = static_cast<int>(s.x.size());
            if (s.filled) {
                ps_path(count, vertex, "F\n", "b", true);
            } else {
                path.point_mode = 0;
                ps_path(count, vertex, "E\n", "c", false);
            }
        }
    }
}

void PostScriptDevice::ps_ztextz(float x, float y, const char* text, int n, float adj) {
    if (!(bgrp_(bg::char_expansion) > 0.0f)) return;
    ps_begin_page();
    // Placed by a NaN or an infinite justification, the terminal's text
    // lands far outside the window and is not drawn; nor is it here.
    if (!std::isfinite(adj)) {
        next_character_position(x, y, n, adj);
        return;
    }
    std::string s;
    ps_put_string(s, std::string_view(text, static_cast<std::size_t>(std::max(n, 0))));
    s += ' ';
    append_d(s, ps_x(device_x(x)));
    s += ' ';
    append_d(s, ps_y(device_y(y)));
    s += ' ';
    append_g(s, adj);
    s += " T\n";
    emit(s);
    next_character_position(x, y, n, adj);
}

void PostScriptDevice::next_character_position(float x, float y, int n, float adj) {
    float a, b, c, d, e;
    int rotated;
    zcposz_(a, b, c, d, e, rotated);
    const double count = n;
    const float s = static_cast<float>(adj * count * c - c / 2.0);
    bgrp_(bg::text_end_x) = static_cast<float>(x - static_cast<double>(s) * d + count * a - a / 2.0);
    bgrp_(bg::text_end_y) = static_cast<float>(y - static_cast<double>(s) * e + count * b - b / 2.0);
}

void PostScriptDevice::ps_zimagz(const float* x, const float* y, const float* z, int nx, int ny, int nz, float& zlo,
                                 float& zhi, float na) {
    ps_begin_page();
    if (zlo > zhi) std::swap(zlo, zhi);
    if (zlo == zhi) {
        zlo -= 0.5f;
        zhi += 0.5f;
    }
    if (nx < 1 || ny < 1) return;  // no corners to place it by
    const int px0 = ps_x(device_x(x[0])), px1 = ps_x(device_x(x[nx - 1]));
    const int py0 = ps_y(device_y(y[0])), py1 = ps_y(device_y(y[ny - 1]));
    // Without the host's prolog and image colours, tgd's own prolog shades
    // the cells in grey: the levels are then the LaserJet's, six from zlo
    // to zhi and up to eight past it.
    const bool greys = ps_par.prolog.empty() && ps_par.nicolors <= 0;
    const int k = greys ? kGreyLevels : ps_par.nicolors;
    const bool two_digits = k >= 16;
    const float scale = static_cast<float>(greys ? kGreySteps : k) / (zhi - zlo);
    const int level = ps_par.dsc_level;
    const int cells = nx - 1, rows = ny - 1;

    std::string s = "gsave\n";
    auto numbers = [&](std::initializer_list<long long> values, const char* tail) {
        bool first = true;
        for (long long v : values) {
            if (!first) s += ' ';
            first = false;
            append_d(s, v);
        }
        s += tail;
    };
    numbers({px0, py0}, " translate\n");
    numbers({static_cast<long long>(px1) - px0, static_cast<long long>(py1) - py0}, " scale\n");
    numbers({cells, rows, two_digits ? 8 : 4}, "\n");
    if (level >= 300) {
        s += "%%BeginData: ";
        numbers({ny}, " Hex Lines\n");
    } else {
        const long long bytes = static_cast<long long>(cells) * rows * (two_digits ? 2 : 1) + rows + 7;
        s += "%%BeginBinary: ";
        numbers({bytes}, "\n");
    }
    s += "SImage\n";
    emit(s);

    // Values past the last one sent count as missing, and so does a NaN
    // (value or range); values outside zlo..zhi take the nearest end's
    // level.
    Block<int> levels(cells);
    long long next = 0;
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < cells; ++i, ++next) {
            int lv = 0;
            if (next < nz && z[next] != na) {
                const float f = 1.0f + (z[next] - zlo) * scale;
                if (!std::isnan(f)) lv = std::min(std::max(to_int(f), 1), k);
            }
            levels[static_cast<std::size_t>(i)] = lv;
        }
        std::string row;
        ps_image_row(row, levels.data(), cells, two_digits);
        emit(row);
    }
    emit(level >= 300 ? "%%EndData\ngrestore % end image\n" : "%%EndBinary\ngrestore % end image\n");
}

void PostScriptDevice::ps_zbrshz() { dmstat_("Cannot draw brushing display in PostScript."); }

void PostScriptDevice::ps_zspinz() {
    std::fputs("cannot draw spinning display in PostScript yet\n", stderr);
    std::fflush(stderr);
}

}  // namespace tgd
