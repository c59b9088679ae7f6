#include "host/script.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "core/bgrp.h"

namespace tgdhost {

namespace {

// Thrown by the line parsers; the caller adds the line number.
struct LineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits a logical line into words; a double-quoted word may hold blanks
// and the escapes \" and \\; '#' outside quotes starts a comment.
std::vector<Token> split(std::string_view line) {
    std::vector<Token> words;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token t{"", true};
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\\' && i < line.size()) d = line[i++];
                t.text += d;
            }
            if (!closed) throw LineError("a quoted string is not closed");
            words.push_back(std::move(t));
        } else {
            Token t;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#')
                t.text += line[i++];
            words.push_back(std::move(t));
        }
    }
    return words;
}

struct ParameterName {
    const char* name;
    int entry;
};

// The named entries of the graphics-parameter block a script may change.
constexpr ParameterName kParameterNames[] = {
    {"line_type", tgd::bg::line_type},
    {"color", tgd::bg::color},
    {"colour", tgd::bg::color},
    {"string_angle", tgd::bg::string_angle},
    {"plot_symbol", tgd::bg::plot_symbol},
    {"char_expansion", tgd::bg::char_expansion},
    {"clip_xmin", tgd::bg::clip_xmin},
    {"clip_xmax", tgd::bg::clip_xmax},
    {"clip_ymin", tgd::bg::clip_ymin},
    {"clip_ymax", tgd::bg::clip_ymax},
    {"x_offset", tgd::bg::x_offset},
    {"x_scale", tgd::bg::x_scale},
    {"y_offset", tgd::bg::y_offset},
    {"y_scale", tgd::bg::y_scale},
    {"plot_x1", tgd::bg::plot_x1},
    {"plot_x2", tgd::bg::plot_x2},
    {"plot_y1", tgd::bg::plot_y1},
    {"plot_y2", tgd::bg::plot_y2},
    {"figure_x1", tgd::bg::figure_x1},
    {"figure_x2", tgd::bg::figure_x2},
    {"figure_y1", tgd::bg::figure_y1},
    {"figure_y2", tgd::bg::figure_y2},
    {"char_angle", tgd::bg::char_angle},
    {"user_x1", tgd::bg::user_x1},
    {"user_x2", tgd::bg::user_x2},
    {"user_y1", tgd::bg::user_y1},
    {"user_y2", tgd::bg::user_y2},
    {"clip_to_figure", tgd::bg::clip_to_figure},
    {"char_case_mode", tgd::bg::char_case_mode},
    {"font_number", tgd::bg::font_number},
    {"char_size_unit", tgd::bg::char_size_unit},
    {"error_reports", tgd::bg::error_reports},
    {"no_eject", tgd::bg::no_eject},
    {"marker_size", tgd::bg::marker_size},
    {"char_step_x", tgd::bg::char_step_x},
    {"char_step_y", tgd::bg::char_step_y},
    {"char_size_x", tgd::bg::char_size_x},
    {"char_size_y", tgd::bg::char_size_y},
    {"cell_width_in", tgd::bg::cell_width_in},
    {"cell_height_in", tgd::bg::cell_height_in},
    {"margin_bottom", tgd::bg::margin_bottom},
    {"margin_left", tgd::bg::margin_left},
    {"margin_top", tgd::bg::margin_top},
    {"margin_right", tgd::bg::margin_right},
};

std::optional<float> number(const Token& t) {
    if (t.quoted || t.text.empty()) return std::nullopt;
    float v = 0;
    const char* end = t.text.data() + t.text.size();
    const char* begin = t.text.data();
    if (*begin == '+') ++begin;
    auto [p, ec] = std::from_chars(begin, end, v);
    if (ec != std::errc() || p != end || !std::isfinite(v)) return std::nullopt;
    return v;
}

float need_number(const Token& t, const char* what) {
    auto v = number(t);
    if (!v) throw LineError(std::string(what) + ": '" + t.text + "' is not a number");
    return *v;
}

int need_int(const Token& t, const char* what) {
    float v = need_number(t, what);
    if (v != std::floor(v) || std::fabs(v) > 1e9f)
        throw LineError(std::string(what) + ": '" + t.text + "' is not a whole number");
    return static_cast<int>(v);
}

// Reads the words from `from` on as numbers, as groups of `group`.
std::vector<float> numbers(const std::vector<Token>& w, std::size_t from, const char* verb, std::size_t group) {
    std::vector<float> v;
    for (std::size_t i = from; i < w.size(); ++i) v.push_back(need_number(w[i], verb));
    if (v.size() % group != 0)
        throw LineError(std::string(verb) + ": " + std::to_string(v.size()) + " numbers, a multiple of " +
                        std::to_string(group) + " is needed");
    return v;
}

void expect_words(const std::vector<Token>& w, std::size_t n, const char* usage) {
    if (w.size() != n) throw LineError(std::string("expected: ") + usage);
}

Operation xy_operation(OpKind kind, const std::vector<Token>& w, const char* verb) {
    std::vector<float> v = numbers(w, 1, verb, 2);
    if (v.empty()) throw LineError(std::string(verb) + ": no points");
    Operation op;
    op.kind = kind;
    for (std::size_t i = 0; i < v.size(); i += 2) {
        op.x.push_back(v[i]);
        op.y.push_back(v[i + 1]);
    }
    op.label = std::string(verb) + " (" + std::to_string(op.x.size()) + (op.x.size() == 1 ? " point)" : " points)");
    return op;
}

float justification(const Token& t) {
    if (t.text == "left") return 0.0f;
    if (t.text == "centre" || t.text == "center") return 0.5f;
    if (t.text == "right") return 1.0f;
    return need_number(t, "text justification");
}

Operation image_operation(const std::vector<Token>& w) {
    Operation op;
    op.kind = OpKind::Image;
    std::vector<float>* into = nullptr;
    bool range = false;
    for (std::size_t i = 1; i < w.size(); ++i) {
        const std::string& s = w[i].text;
        if (!w[i].quoted && (s == "x" || s == "y" || s == "z")) {
            into = s == "x" ? &op.x : s == "y" ? &op.y : &op.values;
        } else if (!w[i].quoted && s == "range") {
            if (i + 2 >= w.size()) throw LineError("image: range needs LOW HIGH");
            op.low = need_number(w[i + 1], "image range");
            op.high = need_number(w[i + 2], "image range");
            range = true;
            i += 2;
            into = nullptr;
        } else if (!w[i].quoted && s == "missing") {
            if (i + 1 >= w.size()) throw LineError("image: missing needs a value");
            op.missing = need_number(w[++i], "image missing");
            into = nullptr;
        } else if (into != nullptr) {
            into->push_back(need_number(w[i], "image"));
        } else {
            throw LineError("image: '" + s + "' where x, y, z, range or missing was expected");
        }
    }
    if (op.x.size() < 2 || op.y.size() < 2) throw LineError("image: x and y need at least 2 cell boundaries each");
    std::size_t cells = (op.x.size() - 1) * (op.y.size() - 1);
    if (op.values.size() != cells)
        throw LineError("image: " + std::to_string(op.x.size() - 1) + "x" + std::to_string(op.y.size() - 1) +
                        " cells need " + std::to_string(cells) + " z values, not " + std::to_string(op.values.size()));
    if (!range) throw LineError("image: range LOW HIGH is missing");
    op.label = "image (" + std::to_string(op.x.size() - 1) + "x" + std::to_string(op.y.size() - 1) + " cells)";
    return op;
}

Operation print_operation(const std::vector<Token>& w) {
    if (w.size() < 2 || (w[1].text != "postscript" && w[1].text != "laserjet"))
        throw LineError("expected: print postscript|laserjet [FILE] [options]");
    PrintRequest r;
    r.method = w[1].text;
    for (std::size_t i = 2; i < w.size(); ++i) {
        const std::string& s = w[i].text;
        auto value = [&](const char* what) -> const Token& {
            if (i + 1 >= w.size()) throw LineError(std::string("print: ") + what + " needs a value");
            return w[++i];
        };
        if (w[i].quoted)
            r.file = s;
        else if (s == "landscape")
            r.landscape = 1;
        else if (s == "portrait")
            r.landscape = 0;
        else if (s == "maximize")
            r.maximize = 1;
        else if (s == "onefile")
            r.onefile = 1;
        else if (s == "dpi")
            r.dpi = need_int(value("dpi"), "print dpi");
        else if (s == "paper")
            r.paper = value("paper").text;
        else if (s == "command")
            r.command = value("command").text;
        else if (s == "size") {
            r.width = need_number(value("size"), "print size");
            r.height = need_number(value("size"), "print size");
        } else if (r.file.empty())
            r.file = s;
        else
            throw LineError("print: unknown option '" + s + "'");
    }
    Operation op;
    op.kind = OpKind::Print;
    op.text = printing_options(r);
    op.label = "print " + r.method + (r.file.empty() ? "" : " " + r.file);
    return op;
}

void append_int(std::string& out, std::int32_t v) { out.append(reinterpret_cast<const char*>(&v), sizeof v); }
void append_real(std::string& out, float v) { out.append(reinterpret_cast<const char*>(&v), sizeof v); }
// A text option as tgd keeps it: the length counts the terminating zero.
void append_c_text(std::string& out, const std::string& s) {
    append_int(out, static_cast<std::int32_t>(s.size() + 1));
    out += s;
    out += '\0';
}

Operation ps_operation(const std::vector<Token>& w) {
    if (w.size() < 3) throw LineError("expected: ps OPTION VALUE...");
    const std::string& o = w[1].text;
    Operation op;
    op.kind = OpKind::PsOption;
    op.label = "ps " + o;
    if (o == "title" || o == "command" || o == "outfile") {
        expect_words(w, 3, "ps title|command|outfile TEXT");
        op.raw = o == "title" ? "t" : o == "command" ? "C" : "o";
        append_c_text(op.raw, w[2].text);
    } else if (o == "dsc" || o == "rasters" || o == "font_flag" || o == "path_limit") {
        expect_words(w, 3, "ps dsc|rasters|font_flag|path_limit N");
        op.raw = o == "dsc" ? "d" : o == "rasters" ? "R" : o == "font_flag" ? "F" : "v";
        append_int(op.raw, need_int(w[2], "ps"));
    } else if (o == "pointsize" || o == "width" || o == "height") {
        expect_words(w, 3, "ps pointsize|width|height VALUE");
        op.raw = o == "pointsize" ? "P" : o == "width" ? "w" : "h";
        append_real(op.raw, need_number(w[2], "ps"));
    } else if (o == "append" || o == "landscape" || o == "maximize" || o == "onefile") {
        expect_words(w, 3, "ps append|landscape|maximize|onefile 0|1");
        op.raw = "l";
        op.raw += o == "append" ? 'a' : o == "landscape" ? 'h' : o == "maximize" ? 'm' : 'o';
        append_int(op.raw, need_int(w[2], "ps"));
    } else if (o == "region") {
        expect_words(w, 6, "ps region X0 Y0 X1 Y1");
        op.raw = "r";
        for (std::size_t i = 2; i < 6; ++i) append_real(op.raw, need_number(w[i], "ps region"));
    } else if (o == "fonts") {
        op.raw = "f";
        append_int(op.raw, static_cast<std::int32_t>(w.size() - 2));
        for (std::size_t i = 2; i < w.size(); ++i) append_c_text(op.raw, w[i].text);
    } else {
        throw LineError("ps: unknown option '" + o + "'");
    }
    return op;
}

Operation parse_line(const std::vector<Token>& w) {
    const std::string& verb = w[0].text;
    Operation op;
    if (verb == "init") {
        op.kind = OpKind::Init;
        op.values = numbers(w, 1, "init", 1);
        op.label = op.values.empty() ? "init" : "init with device parameters";
    } else if (verb == "set") {
        if (w.size() < 3 || w.size() % 2 != 1) throw LineError("expected: set ENTRY VALUE [ENTRY VALUE]...");
        op.kind = OpKind::Change;
        op.label = "set";
        for (std::size_t i = 1; i < w.size(); i += 2) {
            int entry = parameter_entry(w[i].text);
            if (entry == 0)
                throw LineError("set: '" + w[i].text + "' is not a parameter name or an entry number 1 to 200");
            op.values.push_back(static_cast<float>(entry));
            op.values.push_back(need_number(w[i + 1], "set"));
            op.label += " " + w[i].text + " " + w[i + 1].text;
        }
    } else if (verb == "lines") {
        op = xy_operation(OpKind::Lines, w, "lines");
    } else if (verb == "points") {
        op = xy_operation(OpKind::Points, w, "points");
    } else if (verb == "polygon") {
        op = xy_operation(OpKind::Polygon, w, "polygon");
    } else if (verb == "segments") {
        std::vector<float> v = numbers(w, 1, "segments", 4);
        if (v.empty()) throw LineError("segments: no segments");
        op.kind = OpKind::Segments;
        for (std::size_t i = 0; i < v.size(); i += 4) {
            op.x.push_back(v[i]);
            op.y.push_back(v[i + 1]);
            op.x2.push_back(v[i + 2]);
            op.y2.push_back(v[i + 3]);
        }
        op.label = "segments (" + std::to_string(op.x.size()) + ")";
    } else if (verb == "text") {
        expect_words(w, 5, "text X Y JUSTIFICATION \"STRING\"");
        op.kind = OpKind::Text;
        op.tx = need_number(w[1], "text x");
        op.ty = need_number(w[2], "text y");
        op.justification = justification(w[3]);
        op.text = w[4].text;
        op.label = "text \"" + op.text + "\"";
    } else if (verb == "image") {
        op = image_operation(w);
    } else if (verb == "newframe" || verb == "refresh" || verb == "sync" || verb == "wrapup" || verb == "locator") {
        expect_words(w, 1, verb.c_str());
        op.kind = verb == "newframe"  ? OpKind::NewFrame
                  : verb == "refresh" ? OpKind::Refresh
                  : verb == "sync"    ? OpKind::Sync
                  : verb == "wrapup"  ? OpKind::WrapUp
                                      : OpKind::Locator;
        op.label = verb;
    } else if (verb == "locator-points") {
        expect_words(w, 2, "locator-points MAX");
        op.kind = OpKind::LocatorPoints;
        op.count = need_int(w[1], "locator-points");
        if (op.count < 1) throw LineError("locator-points: MAX must be at least 1");
        op.label = verb + " " + w[1].text;
    } else if (verb == "print") {
        op = print_operation(w);
    } else if (verb == "ps") {
        op = ps_operation(w);
    } else if (verb == "deferred") {
        op.kind = OpKind::Deferred;
        if (w.size() == 3 && w[1].text == "on") {
            op.count = 2;
            op.text = w[2].text;
            op.label = "deferred on " + op.text;
        } else if (w.size() == 2 && w[1].text == "off") {
            // Mode 0 closes the recording; the name is opened but nothing
            // is recorded into it.
            op.count = 0;
            op.text = "/dev/null";
            op.label = "deferred off";
        } else {
            throw LineError("expected: deferred on FILE, or deferred off");
        }
    } else if (verb == "answer") {
        op.kind = OpKind::Answer;
        if (w.size() >= 2 && w[1].text == "frame") {
            if (w.size() > 3) throw LineError("expected: answer frame [TEXT]");
            op.answer = AnswerKind::Frame;
            op.text = (w.size() == 3 ? w[2].text : "") + "\n";
        } else if (w.size() >= 2 && w[1].text == "locator") {
            op.answer = AnswerKind::Locator;
            if (w.size() == 2) {
                op.text = "\n";  // ends the points of locator-points
            } else if (w.size() == 4 || w.size() == 5) {
                int x = need_int(w[2], "answer locator");
                int y = need_int(w[3], "answer locator");
                int key = w.size() == 5 ? need_int(w[4], "answer locator") : 32;
                op.text = std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(key) + "\n";
            } else {
                throw LineError("expected: answer locator [X Y [KEY]]");
            }
        } else {
            throw LineError("expected: answer frame [TEXT], or answer locator [X Y [KEY]]");
        }
        op.label = "answer " + w[1].text;
    } else {
        throw LineError("unknown operation '" + verb + "'");
    }
    return op;
}

}  // namespace

int parameter_entry(std::string_view name) {
    for (const auto& p : kParameterNames)
        if (name == p.name) return p.entry;
    int n = 0;
    auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
    if (ec == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 200) return n;
    return 0;
}

std::string printing_options(const PrintRequest& r) {
    auto quoted = [](const std::string& s) {
        char q = s.find('\'') == std::string::npos ? '\'' : '"';
        return q + s + q;
    };
    auto thousandths = [](float inches) { return inches > 0 ? std::to_string(std::lround(inches * 1000)) : "0"; };
    return std::to_string(r.landscape) + " " + std::to_string(r.onefile) + " " + (r.command.empty() ? "0" : "1") + " " +
           std::to_string(r.dpi) + " " + std::to_string(r.maximize) + " 0 " + thousandths(r.width) + " " +
           thousandths(r.height) + " " + r.method + " " + quoted(r.command) + " " + quoted(r.file) + " '' " +
           quoted(r.paper);
}

Script parse_script(std::string_view text) {
    Script script;
    int number = 0;
    std::string logical;
    int first = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t nl = text.find('\n', pos);
        bool last = nl == std::string_view::npos;
        std::string_view line = text.substr(pos, last ? std::string_view::npos : nl - pos);
        pos = last ? text.size() + 1 : nl + 1;
        ++number;
        if (last && line.empty()) break;
        if (logical.empty()) first = number;
        // A line ending in a backslash continues on the next one.
        if (!line.empty() && line.back() == '\\') {
            logical.append(line.substr(0, line.size() - 1));
            logical += ' ';
            if (!last) continue;
        } else {
            logical.append(line);
        }
        try {
            std::vector<Token> words = split(logical);
            if (!words.empty()) {
                Operation op = parse_line(words);
                op.line = first;
                script.operations.push_back(std::move(op));
            }
        } catch (const LineError& e) {
            script.errors.push_back({first, e.what()});
        }
        logical.clear();
    }
    return script;
}

}  // namespace tgdhost
