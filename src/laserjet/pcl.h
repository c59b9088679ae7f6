// PCL encoding of the LaserJet page: small encoders that append commands
// to a buffer, the sparse raster writer, and the output file stream.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "laserjet/raster.h"

namespace tgd {

// Job header: reset (unless suppressed), page size, orientation with top
// margin 0, horizontal margins cleared.
void pcl_header(std::string& out, bool reset, int papersize, int horizontal);
void pcl_reset(std::string& out);
// Cursor to (x, y) in PCL units.
void pcl_position(std::string& out, int x, int y);
// Rectangle of w by h PCL units at the cursor, filled with shade percent
// of fill type (0 solid black, 2 gray shading).
void pcl_rectangle(std::string& out, int w, int h, int shade, int type);

// A stretch of ink in one raster row: its first byte column and length.
struct RasterRun {
    int column;
    int length;
    friend bool operator==(const RasterRun&, const RasterRun&) = default;
};

// The runs of a row: zero bytes are skipped, a run ends after 31
// consecutive zero bytes (or at the row's end) and never ends in a zero.
std::vector<RasterRun> raster_runs(const std::uint8_t* row, int row_bytes);

// The whole page: the resolution command, then each run as its own raster
// block at its own cursor position.
void pcl_page(std::string& out, const PageRaster& raster, const PageGeometry& g);

}  // namespace tgd
