#include "view/terminal_picture.h"

#include "stream/terminal_scanner.h"

namespace tgdview {

namespace {

class Decoder {
public:
    void sequence(const std::string& s);
    std::vector<Picture> finish() {
        end_picture();
        return std::move(pictures_);
    }

private:
    void reset() {
        pen_ = 7;
        line_type_ = 1;
        size_ = 1;
        direction_ = 1;
        fill_type_ = 1;
        pattern_ = 0;
    }
    void end_picture() {
        if (!current_.items.empty()) pictures_.push_back(std::move(current_));
        current_ = Picture{};
    }
    void attributes(std::string_view params);
    void plot(std::string_view params);
    void text(std::string_view chars);

    std::vector<Picture> pictures_;
    Picture current_;
    Point pen_at_{};
    int pen_ = 7, line_type_ = 1, size_ = 1, direction_ = 1, fill_type_ = 1, pattern_ = 0;
};

bool is_value(char c) { return c >= '0' && c <= ':'; }

// ESC * m: values each followed by the letter they are for.
void Decoder::attributes(std::string_view params) {
    int value = 0;
    for (char c : params) {
        if (is_value(c)) {
            value = value * 10 + (c - '0');
            continue;
        }
        switch (c) {
            case 'b': line_type_ = value; break;
            case 'x': pen_ = value & 7; break;
            case 'M': size_ = value < 1 ? 1 : value > 8 ? 8 : value; break;
            case 'N': direction_ = value < 1 || value > 4 ? 1 : value; break;
            case 'g': fill_type_ = value; break;
            case 'w': pattern_ = value; break;
            default: break;  // the frame prompt 'R' and others draw nothing
        }
        value = 0;
    }
}

// ESC * p: binary plotting.  'a' lifts the pen, 'b' lowers it, 'i' and 'j'
// choose absolute (four codes a point) or short relative (two codes)
// coordinates, 's' starts a polygon that 'T' fills; each point moves the
// pen, drawing a line when the pen is down.
void Decoder::plot(std::string_view params) {
    bool pen_down = true;
    bool absolute = true;
    bool polygon = false;
    std::vector<Point> vertices;
    int codes[4];
    int n = 0;
    for (char c : params) {
        if (c >= 32 && c <= 63) {
            codes[n++] = c - 32;
            if (n < (absolute ? 4 : 2)) continue;
            Point p;
            if (absolute) {
                p = {codes[0] * 32 + codes[1], codes[2] * 32 + codes[3]};
            } else {
                p = {pen_at_.x + (codes[0] >= 16 ? codes[0] - 32 : codes[0]),
                     pen_at_.y + (codes[1] >= 16 ? codes[1] - 32 : codes[1])};
            }
            n = 0;
            if (polygon)
                vertices.push_back(p);
            else if (pen_down)
                current_.items.push_back(Line{pen_at_, p, pen_, line_type_});
            pen_at_ = p;
            continue;
        }
        n = 0;
        switch (c) {
            case 'a': pen_down = false; break;
            case 'b': pen_down = true; break;
            case 'i': absolute = true; break;
            case 'j': absolute = false; break;
            case 's': polygon = true; break;
            case 'T':
                if (polygon && vertices.size() >= 3)
                    current_.items.push_back(Fill{std::move(vertices), pen_, fill_type_, pattern_});
                polygon = false;
                vertices.clear();
                break;
            default: break;
        }
    }
}

// ESC * l: characters at the pen, each in its own cell along the text
// direction; the pen itself stays where it is.
void Decoder::text(std::string_view chars) {
    static constexpr int kStep[4][2] = {{7, 0}, {0, 7}, {-7, 0}, {0, -7}};
    Point at = pen_at_;
    for (char c : chars) {
        if (c == '\r') break;
        current_.items.push_back(Character{at, c, pen_, size_, direction_});
        at.x += kStep[direction_ - 1][0] * size_;
        at.y += kStep[direction_ - 1][1] * size_;
    }
}

void Decoder::sequence(const std::string& s) {
    if (s.size() < 3) return;
    const std::string_view kind = std::string_view(s).substr(1, 2);
    const std::string_view params = std::string_view(s).substr(3);
    if (kind == "&j") {
        reset();
    } else if (kind == "*m") {
        attributes(params);
    } else if (kind == "*p") {
        plot(params);
    } else if (kind == "*l") {
        text(params);
    } else if (kind == "*d" &&
               (params.find('A') != std::string_view::npos || params.find('a') != std::string_view::npos)) {
        // The screen is cleared: the next picture begins, with the text
        // size back at 1.
        end_picture();
        size_ = 1;
    }
}

}  // namespace

std::vector<Picture> decode_terminal(std::string_view stream) {
    Decoder decoder;
    tgdtools::TerminalScanner scanner;
    auto sink = [&](const tgdtools::TerminalToken& t) {
        if (t.kind == tgdtools::TerminalToken::Sequence) decoder.sequence(t.bytes);
    };
    scanner.feed(stream, sink);
    scanner.finish(sink);
    return decoder.finish();
}

}  // namespace tgdview
