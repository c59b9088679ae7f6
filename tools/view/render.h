// Drawing the decoded pictures and pages with Cairo, into PNG and SVG files.
#pragma once

#include <string>

#include "view/pcl_pages.h"
#include "view/terminal_picture.h"

namespace tgdview {

// A terminal picture at scale pixels per raster (512 x 390 rasters).  The
// screen is black; pens 0 to 7 are black, red, green, yellow, blue,
// magenta, cyan and white.  Empty string on success, else what failed.
std::string write_picture_png(const Picture& picture, const std::string& path, int scale);
std::string write_picture_svg(const Picture& picture, const std::string& path, int scale);

// A LaserJet page, one pixel a dot.
std::string write_page_png(const PclPage& page, const std::string& path);

}  // namespace tgdview
