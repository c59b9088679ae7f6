// The block of 200 graphics parameters shared by the kernel and every
// device, with named accessors for the transform and the clip window.  Entries are numbered from 1, as the host numbers them:
// bgrp_(bg::x_scale) is entry 37.
#pragma once

#include <array>

namespace tgd {

struct GraphicsParameters {
    static constexpr int kSize = 200;
    std::array<float, kSize> v{};

    float& operator()(int n) { return v[static_cast<std::size_t>(n - 1)]; }
    float operator()(int n) const { return v[static_cast<std::size_t>(n - 1)]; }
    float* data() { return v.data(); }
    const float* data() const { return v.data(); }
};

extern GraphicsParameters bgrp_;

// Entry numbers of the named parameters.
namespace bg {
inline constexpr int device_class = 1;
inline constexpr int last_x = 6, last_y = 7;
inline constexpr int line_type = 8;
inline constexpr int color = 10;
inline constexpr int string_angle = 14;
inline constexpr int plot_symbol = 15;
inline constexpr int char_expansion = 18;
inline constexpr int cell_width = 20, cell_height = 21;
inline constexpr int device_xmin = 22, device_xmax = 23, device_ymin = 24, device_ymax = 25;
inline constexpr int cell_origin_x = 26, cell_origin_y = 27;
inline constexpr int device_raster_width = 28, device_raster_height = 29;
inline constexpr int device_code = 30;
inline constexpr int rotates_text = 31;
inline constexpr int clip_xmin = 32, clip_xmax = 33, clip_ymin = 34, clip_ymax = 35;
inline constexpr int x_offset = 36, x_scale = 37, y_offset = 38, y_scale = 39;
inline constexpr int plot_x1 = 40, plot_x2 = 41, plot_y1 = 42, plot_y2 = 43;
inline constexpr int figure_x1 = 44, figure_x2 = 45, figure_y1 = 46, figure_y2 = 47;
inline constexpr int char_angle = 48;
inline constexpr int margin_bottom = 50, margin_left = 51, margin_top = 52, margin_right = 53;
inline constexpr int margin_line_scale = 54;
inline constexpr int plot_width = 55, plot_height = 56;
inline constexpr int user_x1 = 61, user_x2 = 62, user_y1 = 63, user_y2 = 64;
inline constexpr int clip_to_figure = 65;
inline constexpr int char_step_x = 67, char_step_y = 68;
inline constexpr int raster_width = 70, raster_height = 71;
inline constexpr int char_size_x = 72, char_size_y = 73;
inline constexpr int cell_width_in = 74, cell_height_in = 75;
inline constexpr int inch_per_user_x = 76, inch_per_user_y = 77;
inline constexpr int char_case_mode = 78;
inline constexpr int font_number = 79;
inline constexpr int char_size_fraction = 84;
inline constexpr int text_end_x = 86, text_end_y = 87;
inline constexpr int char_size_unit = 89;
inline constexpr int error_reports = 96;
inline constexpr int plot_type = 97;
inline constexpr int device_width = 98, device_height = 99;
inline constexpr int drawn = 121;
inline constexpr int figure_width = 123, figure_height = 124;
inline constexpr int no_eject = 127;
inline constexpr int marker_size = 128;
}  // namespace bg

// Applies a parameter-change vector of n floats ((entry, value) pairs).
// Pairs naming no entry 1..200 are ignored, and so is an odd last value.
void amdiff_(const float* v, int n);

// Writes the saved-attribute set into the deferred-graphics file.
void amset_();
// The deferred-graphics file's descriptor that amset_ writes to; -1 while
// no file is open (amset_ then writes nothing).
extern int par_dump_unit;

// The user-to-raster transform in force: raster = offset + scale * user.
struct UserToRaster {
    float x_scale, x_offset, y_scale, y_offset;
    float x(float u) const { return x_offset + x_scale * u; }
    float y(float v) const { return y_offset + y_scale * v; }
};
inline UserToRaster user_to_raster() {
    return {bgrp_(bg::x_scale), bgrp_(bg::x_offset), bgrp_(bg::y_scale), bgrp_(bg::y_offset)};
}

// The clip window in rasters: each pair of bounds in either order, as the
// clipper takes them.
struct ClipWindow {
    float xlim[2], ylim[2];
};
inline ClipWindow clip_window() {
    return {{bgrp_(bg::clip_xmin), bgrp_(bg::clip_xmax)}, {bgrp_(bg::clip_ymin), bgrp_(bg::clip_ymax)}};
}

// The saved-attribute set: runs of entries, first and last, that the
// deferred-graphics file records and dumps (76 entries).
struct EntryRun {
    int first, last;
};
inline constexpr EntryRun kSavedAttributeRuns[] = {{8, 11},  {14, 15}, {18, 18}, {40, 48},
                                                   {50, 66}, {79, 83}, {90, 97}, {101, 130}};

}  // namespace tgd
