#include "harness/pcl_reader.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace tgdtest {

namespace {

struct Block {
    int x, y;  // cursor, PCL units of the logical page
    std::string bytes;
};

struct Fill {
    int x, y, w, h;  // PCL units of the logical page
    int shade, type;
};

// The sheet in PCL units (1/300 inch) and the offset of the logical page
// from the sheet's edge along the logical x axis, by paper and orientation.
struct Paper {
    int width, height, offset;
};

Paper paper(int papersize, bool landscape) {
    switch (papersize) {
        case 3: return {2550, 4200, landscape ? 60 : 75};
        case 26: return {2480, 3508, landscape ? 59 : 71};
        default: return {2550, 3300, landscape ? 60 : 75};
    }
}

}  // namespace

PclSheet read_pcl(const std::string& pcl, std::vector<std::string>& errors) {
    PclSheet sheet;
    std::vector<Block> blocks;
    std::vector<Fill> fills;
    int cx = 0, cy = 0, row_y = 0, rect_w = 0, rect_h = 0, shade = 0;
    std::size_t pos = 0, after_raster = 0;
    const std::size_t n = pcl.size();
    while (pos < n) {
        if (pcl[pos] != '\x1b') {
            errors.push_back("byte outside a command at " + std::to_string(pos));
            ++pos;
            continue;
        }
        const char group = pos + 1 < n ? pcl[pos + 1] : '\0';
        if (group != '&' && group != '*' && pos + 1 < n) {
            pos += 2;  // two-byte commands: reset, clear margins
            continue;
        }
        if (pos + 2 >= n) {
            errors.push_back("command cut short at " + std::to_string(pos));
            break;
        }
        const char kind = pcl[pos + 2];
        pos += 3;
        for (bool more = true; more && pos < n;) {
            char* end = nullptr;
            const double v = std::strtod(pcl.c_str() + pos, &end);
            pos = static_cast<std::size_t>(end - pcl.c_str());
            if (pos >= n) {
                errors.push_back("command without its letter at the end");
                break;
            }
            const char letter = pcl[pos++];
            more = std::islower(static_cast<unsigned char>(letter)) != 0;
            const int value = static_cast<int>(v);
            const std::string command = {group, kind, static_cast<char>(std::toupper(letter))};
            if (command == "&lA") sheet.papersize = value;
            else if (command == "&lO") sheet.orientation = value;
            else if (command == "&lE") continue;
            else if (command == "*tR") sheet.dpi = value;
            else if (command == "*pX") cx = value;
            else if (command == "*pY") cy = value;
            else if (command == "*rA") row_y = cy;
            else if (command == "*rB") after_raster = pos;
            else if (command == "*bW") {
                if (value < 0 || pos + static_cast<std::size_t>(value) > n) {
                    errors.push_back("raster data cut short");
                    pos = n;
                    break;
                }
                blocks.push_back({cx, row_y, pcl.substr(pos, static_cast<std::size_t>(value))});
                pos += static_cast<std::size_t>(value);
                row_y += sheet.dpi > 0 ? 300 / sheet.dpi : 1;
            } else if (command == "*cA") rect_w = value;
            else if (command == "*cB") rect_h = value;
            else if (command == "*cG") shade = value;
            else if (command == "*cP") fills.push_back({cx, cy, rect_w, rect_h, shade, value});
            else errors.push_back("unknown command " + command);
        }
    }
    sheet.rest = pcl.substr(std::min(after_raster, n));

    const bool landscape = sheet.orientation == 1;
    const Paper p = paper(sheet.papersize, landscape);
    const double units = 300.0 / (sheet.dpi > 0 ? sheet.dpi : 300);  // PCL units per dot
    sheet.width = static_cast<int>(std::lround(p.width / units));
    sheet.height = static_cast<int>(std::lround(p.height / units));
    sheet.grey.assign(static_cast<std::size_t>(sheet.width) * sheet.height, 255);
    // A point of the logical page, PCL units, on the sheet in dots.
    auto to_sheet = [&](double x, double y, int& sx, int& sy) {
        const double px = landscape ? y : p.offset + x;
        const double py = landscape ? p.height - p.offset - x : y;
        sx = static_cast<int>(std::floor(px / units));
        sy = static_cast<int>(std::floor(py / units));
    };
    auto paint = [&](int x, int y, std::uint8_t value) {
        if (x >= 0 && y >= 0 && x < sheet.width && y < sheet.height)
            sheet.grey[static_cast<std::size_t>(y) * sheet.width + x] = value;
    };
    for (const Fill& f : fills) {
        int x0, y0, x1, y1;
        to_sheet(f.x, f.y, x0, y0);
        to_sheet(f.x + f.w, f.y + f.h, x1, y1);
        const auto value = static_cast<std::uint8_t>(f.type == 0 ? 0 : std::lround(255 * (1 - f.shade / 100.0)));
        for (int y = std::min(y0, y1); y < std::max(y0, y1); ++y)
            for (int x = std::min(x0, x1); x < std::max(x0, x1); ++x) paint(x, y, value);
    }
    // A raster block is one row of the physical page, its bits running to
    // the right, in either orientation.
    for (const Block& b : blocks) {
        int x0, y0;
        to_sheet(b.x, b.y, x0, y0);
        for (std::size_t i = 0; i < b.bytes.size(); ++i)
            for (int bit = 0; bit < 8; ++bit)
                if (static_cast<unsigned char>(b.bytes[i]) & (0x80 >> bit)) {
                    ++sheet.raster_dots;
                    paint(x0 + static_cast<int>(i) * 8 + bit, y0, 0);
                }
    }
    return sheet;
}

}  // namespace tgdtest
