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

// An output file opened for appending.  The first write error sticks:
// later writes do nothing and ok() stays false.
class PclStream {
public:
    PclStream() = default;
    ~PclStream() { close(); }
    PclStream(PclStream&& other) noexcept : fp_(other.fp_), ok_(other.ok_) { other.fp_ = nullptr; }
    PclStream& operator=(PclStream&& other) noexcept;
    PclStream(const PclStream&) = delete;
    PclStream& operator=(const PclStream&) = delete;

    // False when the file cannot be opened.
    [[nodiscard]] bool open_append(const std::string& path);
    // Takes over a file opened elsewhere; false when there is none.
    [[nodiscard]] bool adopt(std::FILE* file);
    bool is_open() const { return fp_ != nullptr; }
    bool ok() const { return ok_; }

    void write(std::string_view bytes);
    void flush();
    // Closes the file; false when any write, the flush or the close failed.
    bool close();

private:
    std::FILE* fp_ = nullptr;
    bool ok_ = true;
};

}  // namespace tgd
