#include "view/render.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <cmath>
#include <memory>

#include "laserjet/font.h"

namespace tgdview {

namespace {

struct Rgb {
    double r, g, b;
};
// The terminal's eight pens.
constexpr Rgb kPens[8] = {{0, 0, 0},     {1, 0.2, 0.2}, {0.2, 0.9, 0.2}, {1, 1, 0.2},
                          {0.3, 0.4, 1}, {1, 0.3, 1},   {0.2, 1, 1},     {1, 1, 1}};

void set_pen(cairo_t* cr, int pen) {
    const Rgb& c = kPens[pen & 7];
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

// Raster coordinates (y up) to the drawing's (y down), through pixel centres.
double sx(double x) { return x + 0.5; }
double sy(double y) { return kScreenHeight - 1 - y + 0.5; }

// Dash lengths in rasters of the terminal's line types (1 is solid).
void set_line_type(cairo_t* cr, int line_type) {
    static const std::vector<double> kDashes[] = {{},     {},     {3, 3}, {3, 3},        {8, 2, 2, 2}, {6, 3},
                                                  {4, 4}, {2, 2}, {1, 2}, {10, 3, 1, 3}, {12, 4}};
    const auto& d = line_type >= 0 && line_type <= 10 ? kDashes[line_type] : kDashes[1];
    cairo_set_dash(cr, d.data(), static_cast<int>(d.size()), 0);
}

void draw_line(cairo_t* cr, const Line& l) {
    set_pen(cr, l.pen);
    set_line_type(cr, l.line_type);
    if (l.from == l.to) {
        // A line of no length lights its one dot.
        cairo_rectangle(cr, l.from.x, kScreenHeight - 1 - l.from.y, 1, 1);
        cairo_fill(cr);
        return;
    }
    cairo_move_to(cr, sx(l.from.x), sy(l.from.y));
    cairo_line_to(cr, sx(l.to.x), sy(l.to.y));
    cairo_stroke(cr);
}

// Hatching of the patterned fills: directions (degrees) and spacing.
struct Hatch {
    std::vector<double> angles;
    double spacing;
};
Hatch hatch_of(int fill_type, int pattern) {
    static const std::vector<double> kAngles[] = {{45}, {-45}, {0}, {90}, {45, -45}, {0, 90}};
    static constexpr double kSpacing[] = {3, 5, 8};
    const int k = fill_type == 0 ? pattern : fill_type + 7;
    return {kAngles[k % 6], kSpacing[(k / 6) % 3]};
}

void draw_fill(cairo_t* cr, const Fill& f) {
    set_pen(cr, f.pen);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_new_path(cr);
    for (const Point& p : f.vertices) cairo_line_to(cr, sx(p.x), sy(p.y));
    cairo_close_path(cr);
    if (f.fill_type == 1) {
        cairo_fill(cr);
        return;
    }
    cairo_save(cr);
    cairo_clip(cr);
    const Hatch h = hatch_of(f.fill_type, f.pattern);
    const double reach = kScreenWidth + kScreenHeight;
    for (double a : h.angles) {
        const double r = a * M_PI / 180, dx = std::cos(r), dy = std::sin(r);
        for (double t = -reach; t <= reach; t += h.spacing) {
            // Lines of direction (dx, dy) at distance t from the origin.
            const double ox = -dy * t, oy = dx * t;
            cairo_move_to(cr, ox - dx * reach, oy - dy * reach);
            cairo_line_to(cr, ox + dx * reach, oy + dy * reach);
        }
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

// Characters in tgd's own stroke font, placed in the terminal's 7 x 10
// character cell (times the text size) and turned by the text direction.
void draw_character(cairo_t* cr, const Character& ch) {
    const double unit = ch.size / 3.0;  // rasters per font unit
    const double turn = (ch.direction - 1) * M_PI / 2;
    const double c = std::cos(turn), s = std::sin(turn);
    set_pen(cr, ch.pen);
    cairo_set_dash(cr, nullptr, 0, 0);
    for (const auto& stroke : tgd::glyph_strokes(tgd::stroke_glyph(ch.c))) {
        bool first = true;
        for (const auto& gp : stroke) {
            const double u = 3.5 * ch.size + gp.x * unit, v = ch.size + (gp.y + 9) * unit;
            const double x = ch.at.x + u * c - v * s, y = ch.at.y + u * s + v * c;
            if (first)
                cairo_move_to(cr, sx(x), sy(y));
            else
                cairo_line_to(cr, sx(x), sy(y));
            first = false;
        }
        if (stroke.size() == 1) cairo_rel_line_to(cr, 0, 0);
    }
    cairo_stroke(cr);
}

void draw_picture(cairo_t* cr, const Picture& picture, int scale) {
    cairo_scale(cr, scale, scale);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    // The terminal lights whole dots: no smoothing of the edges.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    for (const Primitive& p : picture.items) {
        if (const auto* l = std::get_if<Line>(&p))
            draw_line(cr, *l);
        else if (const auto* f = std::get_if<Fill>(&p))
            draw_fill(cr, *f);
        else
            draw_character(cr, std::get<Character>(p));
    }
}

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

std::string status_text(cairo_status_t s) { return cairo_status_to_string(s); }

std::string finish(cairo_surface_t* surface, const std::string& path, bool png) {
    cairo_status_t s = png ? cairo_surface_write_to_png(surface, path.c_str()) : CAIRO_STATUS_SUCCESS;
    if (!png) {
        cairo_surface_finish(surface);
        s = cairo_surface_status(surface);
    }
    return s == CAIRO_STATUS_SUCCESS ? "" : "cannot write " + path + ": " + status_text(s);
}

}  // namespace

std::string write_picture_png(const Picture& picture, const std::string& path, int scale) {
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kScreenWidth * scale, kScreenHeight * scale),
                    cairo_surface_destroy);
    {
        Context cr(cairo_create(surface.get()), cairo_destroy);
        draw_picture(cr.get(), picture, scale);
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return status_text(cairo_status(cr.get()));
    }
    return finish(surface.get(), path, true);
}

std::string write_picture_svg(const Picture& picture, const std::string& path, int scale) {
    Surface surface(cairo_svg_surface_create(path.c_str(), kScreenWidth * scale, kScreenHeight * scale),
                    cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return "cannot write " + path + ": " + status_text(cairo_surface_status(surface.get()));
    {
        Context cr(cairo_create(surface.get()), cairo_destroy);
        draw_picture(cr.get(), picture, scale);
    }
    return finish(surface.get(), path, false);
}

std::string write_page_png(const PclPage& page, const std::string& path) {
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, page.width, page.height), cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return status_text(cairo_surface_status(surface.get()));
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < page.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < page.width; ++x) {
            const std::uint32_t g = page.at(x, y);
            row[x] = (g << 16) | (g << 8) | g;
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return finish(surface.get(), path, true);
}

}  // namespace tgdview
