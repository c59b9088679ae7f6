// PCL commands of the LaserJet device and its output file.
#include "laserjet/pcl.h"

#include <charconv>

#include "base/convert.h"

namespace tgd {

namespace {

void append(std::string& out, int v) {
    char buf[16];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, end);
}

// Consecutive zero bytes after which a run is cut.
constexpr int kMaxZeroStreak = 31;

// Dots to PCL units, rounded.
int units(int dots, float dot_scale) { return to_int(static_cast<double>(static_cast<float>(dots) / dot_scale) + 0.5); }

}  // namespace

void pcl_header(std::string& out, bool reset, int papersize, int horizontal) {
    if (reset) pcl_reset(out);
    out += "\x1b&l";  // page size
    append(out, papersize);
    out += "A\x1b&l";  // orientation, top margin 0
    append(out, horizontal);
    out +=
        "o0E\x1b"
        "9";  // clear horizontal margins
}

void pcl_reset(std::string& out) {
    out +=
        "\x1b"
        "E";
}

void pcl_position(std::string& out, int x, int y) {
    out += "\x1b*p";
    append(out, x);
    out += 'x';
    append(out, y);
    out += 'Y';
}

void pcl_rectangle(std::string& out, int w, int h, int shade, int type) {
    out += "\x1b*c";
    append(out, w);
    out += 'a';
    append(out, h);
    out += 'b';
    append(out, shade);
    out += 'g';
    append(out, type);
    out += 'P';
}

std::vector<RasterRun> raster_runs(const std::uint8_t* row, int row_bytes) {
    std::vector<RasterRun> runs;
    int c = 0;
    while (c < row_bytes) {
        if (row[c] == 0) {
            ++c;
            continue;
        }
        const int start = c;
        int streak = 0;
        while (c < row_bytes && streak < kMaxZeroStreak) {
            streak = row[c] == 0 ? streak + 1 : 0;
            ++c;
        }
        runs.push_back({start, c - start - streak});
    }
    return runs;
}

void pcl_page(std::string& out, const PageRaster& raster, const PageGeometry& g) {
    out += "\x1b*t";  // raster resolution
    append(out, g.dpi);
    out += 'R';
    const int base_x = g.landscape ? g.area_right : g.area_left;
    const int base_y = g.area_top;
    // The bytes outside the drawn box are zero: the runs found in its
    // columns are the rows' runs, and the other rows have none.
    const auto [first_row, last_row] = raster.drawn_rows();
    const auto [first, last] = raster.drawn_columns();
    for (int r = first_row; r < last_row; ++r) {
        const std::uint8_t* row = raster.row(r);
        for (RasterRun run : raster_runs(row + first, last - first)) {
            run.column += first;
            int x, y;
            if (g.landscape) {
                x = base_x - units(r, g.dot_scale);
                y = base_y + units(run.column, g.dot_scale) * 8;
            } else {
                x = base_x + units(run.column, g.dot_scale) * 8;
                y = base_y + units(r, g.dot_scale);
            }
            pcl_position(out, x, y);
            out += "\x1b*r1A\x1b*b";  // start raster graphics, transfer n bytes
            append(out, run.length);
            out += 'W';
            out.append(reinterpret_cast<const char*>(row + run.column), static_cast<std::size_t>(run.length));
            out += "\x1b*rB";  // end raster graphics
        }
    }
}

}  // namespace tgd
