#include "view/pcl_pages.h"

#include <algorithm>
#include <cstdlib>

namespace tgdview {

namespace {

constexpr char kEsc = 27;
constexpr int kUnitsPerInch = 300;  // PCL units

// Page sizes by page-size code, PCL units, portrait.
void paper_units(int code, int& w, int& h) {
    switch (code) {
        case 3: w = 2550, h = 4200; break;   // Legal
        case 26: w = 2480, h = 3508; break;  // A4
        default: w = 2550, h = 3300; break;  // Letter
    }
}

class Decoder {
public:
    explicit Decoder(std::string_view b) : b_(b) {}
    PclDocument run();

private:
    PclPage& page();
    void end_page();
    void command(char group_char, char group, long value, char param, std::size_t& pos);
    void dot(long x, long y, std::uint8_t grey);

    std::string_view b_;
    PclDocument doc_;
    PclPage page_;
    bool open_ = false;
    int paper_ = 2, landscape_ = 0, dpi_ = 75;
    long x_ = 0, y_ = 0;                        // cursor, PCL units
    long raster_x_ = 0, raster_y_ = 0;          // where the next raster row goes
    long rect_w_ = 0, rect_h_ = 0, shade_ = 0;  // the rectangle being set up
};

PclPage& Decoder::page() {
    if (!open_) {
        int w, h;
        paper_units(paper_, w, h);
        if (landscape_ != 0) std::swap(w, h);
        page_ = PclPage{};
        page_.dpi = dpi_;
        page_.width = w * dpi_ / kUnitsPerInch;
        page_.height = h * dpi_ / kUnitsPerInch;
        page_.grey.assign(static_cast<std::size_t>(page_.width) * page_.height, 255);
        open_ = true;
    }
    return page_;
}

void Decoder::end_page() {
    if (open_) doc_.pages.push_back(std::move(page_));
    open_ = false;
}

void Decoder::dot(long x, long y, std::uint8_t grey) {
    PclPage& p = page();
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
    std::uint8_t& g = p.grey[static_cast<std::size_t>(y) * p.width + x];
    g = std::min(g, grey);
}

void Decoder::command(char group_char, char group, long value, char param, std::size_t& pos) {
    const long unit = kUnitsPerInch / dpi_;
    const char p = static_cast<char>(param | 0x20);  // the parameter letter, lower case
    if (group_char == '&' && group == 'l') {
        if (p == 'a') paper_ = static_cast<int>(value);
        if (p == 'o') landscape_ = static_cast<int>(value);
    } else if (group_char == '*' && group == 't' && p == 'r') {
        dpi_ = value >= 300 ? 300 : value >= 150 ? 150 : value >= 100 ? 100 : 75;
    } else if (group_char == '*' && group == 'p') {
        if (p == 'x') x_ = value;
        if (p == 'y') y_ = value;
    } else if (group_char == '*' && group == 'r' && p == 'a') {
        raster_x_ = x_;
        raster_y_ = y_;
    } else if (group_char == '*' && group == 'b' && p == 'w') {
        // One raster row of value bytes.  Portrait rows run right from the
        // cursor and follow each other downward; landscape rows run down the
        // logical page and follow each other leftward.
        if (value < 0 || static_cast<std::size_t>(value) > b_.size() - pos) {
            doc_.error = "raster data runs past the end of the file at byte " + std::to_string(pos);
            pos = b_.size();
            return;
        }
        const long x0 = raster_x_ / unit, y0 = raster_y_ / unit;
        for (long i = 0; i < value * 8; ++i) {
            if ((static_cast<unsigned char>(b_[pos + static_cast<std::size_t>(i / 8)]) & (0x80 >> (i % 8))) == 0)
                continue;
            if (landscape_ != 0)
                dot(x0, y0 + i, 0);
            else
                dot(x0 + i, y0, 0);
        }
        pos += static_cast<std::size_t>(value);
        if (landscape_ != 0)
            raster_x_ -= unit;
        else
            raster_y_ += unit;
    } else if (group_char == '*' && group == 'c') {
        if (p == 'a') rect_w_ = value;
        if (p == 'b') rect_h_ = value;
        if (p == 'g') shade_ = value;
        if (p == 'p') {
            // Fill type 0 is black, 2 a grey of shade percent.
            const auto grey =
                static_cast<std::uint8_t>(value == 2 ? 255 - std::clamp(shade_, 0L, 100L) * 255 / 100 : 0);
            const PclPage& pg = page();
            const long x0 = std::max(0L, x_ / unit), x1 = std::min<long>(pg.width, (x_ + rect_w_) / unit);
            const long y0 = std::max(0L, y_ / unit), y1 = std::min<long>(pg.height, (y_ + rect_h_) / unit);
            for (long y = y0; y < y1; ++y)
                for (long x = x0; x < x1; ++x) dot(x, y, grey);
        }
    }
}

PclDocument Decoder::run() {
    std::size_t pos = 0;
    while (pos < b_.size()) {
        if (b_[pos] != kEsc) {
            ++pos;  // stray bytes outside commands are skipped
            continue;
        }
        if (pos + 1 >= b_.size()) break;
        const char c = b_[pos + 1];
        if (c < '!' || c > '/') {
            // A two-character command: ESC E resets the printer and so ends
            // a page that was drawn on.
            if (c == 'E') end_page();
            pos += 2;
            continue;
        }
        if (pos + 2 >= b_.size()) break;
        const char group = b_[pos + 2];
        pos += 3;
        // Parameters: a number and a letter each; lower case continues the
        // command, upper case ends it.
        for (;;) {
            const std::size_t start = pos;
            while (pos < b_.size() &&
                   (b_[pos] == '-' || b_[pos] == '+' || b_[pos] == '.' || (b_[pos] >= '0' && b_[pos] <= '9')))
                ++pos;
            if (pos >= b_.size()) {
                doc_.error = "a command is cut off at the end of the file";
                break;
            }
            const long value = std::strtol(std::string(b_.substr(start, pos - start)).c_str(), nullptr, 10);
            const char param = b_[pos++];
            if (param < '@' || param > '~') {
                doc_.error = "malformed command at byte " + std::to_string(start);
                break;
            }
            command(c, group, value, param, pos);
            if (param >= '@' && param <= '^') break;
        }
        if (doc_.error) break;
    }
    end_page();
    return std::move(doc_);
}

}  // namespace

PclDocument decode_pcl(std::string_view bytes) { return Decoder(bytes).run(); }

bool looks_like_pcl(std::string_view bytes) {
    return bytes.substr(0, 2) ==
               "\x1b"
               "E" ||
           bytes.substr(0, 3) == "\x1b&l";
}

}  // namespace tgdview
