// The pictures of a saved terminal stream, as the terminal shows them:
// the escape sequences tgd writes are decoded into lines, filled polygons
// and characters on the 512 x 390 raster (x right, y up), one picture per
// frame; a clear of the screen starts the next picture.
#pragma once

#include <string_view>
#include <variant>
#include <vector>

namespace tgdview {

inline constexpr int kScreenWidth = 512;
inline constexpr int kScreenHeight = 390;

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Attributes are the values the terminal received: pen colour 0..7,
// line type 1..10, text size 1..8, text direction 1..4 (quarter turns),
// fill type and area pattern of polygons.
struct Line {
    Point from, to;
    int pen = 7;
    int line_type = 1;
};

struct Fill {
    std::vector<Point> vertices;
    int pen = 7;
    int fill_type = 1;  // 1 solid in the pen colour; 0 an area pattern; others hatchings
    int pattern = 0;    // the area pattern of fill type 0
};

struct Character {
    Point at;  // lower left corner of the character cell
    char c = ' ';
    int pen = 7;
    int size = 1;
    int direction = 1;
};

using Primitive = std::variant<Line, Fill, Character>;

struct Picture {
    std::vector<Primitive> items;
};

// Decodes a whole stream.  Pictures with nothing drawn on them are left
// out; text outside escape sequences (tgd's messages on the alphanumeric
// screen) is not part of a picture.
std::vector<Picture> decode_terminal(std::string_view stream);

}  // namespace tgdview
