// A LaserJet PCL file read back as the printed sheet: its raster blocks
// and its shaded rectangles placed on the physical page, which is always
// seen upright (portrait, row 0 at the top), whatever the orientation of
// the logical page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tgdtest {

struct PclSheet {
    int papersize = 2;    // \e&l#A: 2 Letter, 3 Legal, 26 A4
    int orientation = 0;  // \e&l#O: 0 portrait, 1 landscape
    int dpi = 0;          // \e*t#R; 0 when the file holds no raster
    int width = 0, height = 0;  // the sheet in dots at dpi (300 without a raster)
    // Per dot, row-major: 0 black .. 255 white.  Rectangle fills are grey
    // by their shade; raster dots are black and lie over them.
    std::vector<std::uint8_t> grey;
    int raster_dots = 0;  // black raster dots, on the sheet or not
    std::string rest;     // the bytes after the last raster block

    bool ink(int x, int y) const { return grey[static_cast<std::size_t>(y) * width + x] < 128; }
};

// Reads a whole PCL file as tgd's LaserJet device writes it.  Problems (a
// command it does not know, data cut short) are added to errors.
PclSheet read_pcl(const std::string& pcl, std::vector<std::string>& errors);

}  // namespace tgdtest
