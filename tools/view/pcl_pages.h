// The pages of a tgd LaserJet file: the PCL commands tgd writes (job
// header, resolution, cursor positions, raster blocks, shaded rectangles,
// reset) decoded into grey-level pages of the logical page, one pixel a
// dot at the raster resolution.  A reset after drawing ends a page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tgdview {

struct PclPage {
    int width = 0, height = 0;  // pixels
    int dpi = 75;
    std::vector<std::uint8_t> grey;  // row by row, top row first; 0 black, 255 white

    std::uint8_t at(int x, int y) const { return grey[static_cast<std::size_t>(y) * width + x]; }
};

struct PclDocument {
    std::vector<PclPage> pages;
    std::optional<std::string> error;  // what is wrong, with its byte offset
};

PclDocument decode_pcl(std::string_view bytes);

// Whether a file starts like a tgd PCL file (a printer reset or a page
// size command) rather than a terminal stream.
bool looks_like_pcl(std::string_view bytes);

}  // namespace tgdview
