#include "postscript/encode.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/convert.h"

namespace tgd {

double ps_finite(double v) { return std::isfinite(v) ? v : to_int(v); }

void append_g(std::string& out, double v) {
    v = ps_finite(v);
    char buf[64];
    // to_chars with a precision behaves as printf("%g") in the C locale.
    auto result = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    out.append(buf, result.ptr);
}

void append_d(std::string& out, long long v) {
    char buf[32];
    auto result = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, result.ptr);
}

void ps_put_string(std::string& out, std::string_view text) {
    out += '(';
    for (char ch : text) {
        auto b = static_cast<unsigned char>(ch);
        if (b < 32 || b >= 127) {
            char oct[5];
            std::snprintf(oct, sizeof oct, "\\%03o", static_cast<unsigned>(b));
            out += oct;
        } else {
            if (ch == '(' || ch == ')' || ch == '\\') out += '\\';
            out += ch;
        }
    }
    out += ')';
}

void ps_rel_move_op(std::string& out, long long dx, long long dy) {
    auto one = [&](long long a, const char* op) {
        append_d(out, a);
        out += op;
    };
    auto two = [&](long long a, long long b, const char* op) {
        append_d(out, a);
        out += ' ';
        one(b, op);
    };
    if (dx == 0) {
        dy >= 0 ? one(dy, " y\n") : one(-dy, " z\n");
    } else if (dy == 0) {
        dx > 0 ? one(dx, " x\n") : one(-dx, " w\n");
    } else if (dx < 0) {
        dy > 0 ? two(-dx, dy, " k\n") : two(-dx, -dy, " l\n");
    } else {
        dy > 0 ? two(dx, dy, " h\n") : two(dx, -dy, " j\n");
    }
}

void ps_rect_op(std::string& out, long long w, long long h, long long x, long long y, std::string_view op) {
    for (long long v : {w, h, x, y}) {
        append_d(out, v);
        out += ' ';
    }
    out += op;
    out += '\n';
}

void ps_attr_op(std::string& out, const float* values, int count, std::string_view op) {
    for (int i = 0; i < count; ++i) {
        append_g(out, values[i]);
        out += ' ';
    }
    out += op;
    out += '\n';
}

void ps_image_row(std::string& out, const int* levels, int cells, bool two_digits) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (int i = 0; i < cells; ++i) {
        auto level = static_cast<unsigned>(levels[i]);
        if (two_digits) out += kHex[(level >> 4) & 0xF];
        out += kHex[level & 0xF];
    }
    if (!two_digits && cells % 2 != 0) out += '0';
    out += '\n';
}

namespace {

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

void line(std::string& out, std::string_view text) {
    out += text;
    out += '\n';
}

// A colour table: one value per row plainly, several in brackets.
void color_table(std::string& out, std::string_view name, const std::vector<float>& values, int rows, int width) {
    out += name;
    out += " [";
    for (int r = 0; r < rows; ++r) {
        out += '\t';
        if (width == 1) {
            append_g(out, values[static_cast<std::size_t>(r)]);
            continue;
        }
        out += "[ ";
        for (int c = 0; c < width; ++c) {
            append_g(out, values[static_cast<std::size_t>(r) * static_cast<std::size_t>(width) + c]);
            out += ' ';
        }
        out += ']';
    }
    line(out, "] def");
}

// Rows that the table really holds (the host sends rows and width apart
// from the values).
int table_rows(const std::vector<float>& values, int rows, int width) {
    if (rows <= 0 || width <= 0) return 0;
    long long have = static_cast<long long>(values.size()) / width;
    return static_cast<int>(std::min<long long>(rows, have));
}

constexpr const char* kCompatibilityBlock[] = {
    "% Did not find /PVer setting...assuming old preamble.",
    "% Do extra work to cooperate with new TAVIX driver.",
    "currentdict 150 dict copy end begin",
    "currentdict /Iv known not {/Iv {} def} if",
    "/SImage {",
    " /Bits exch def /Ht exch def /Wid exch def",
    " {1 exch sub} currenttransfer concatprocs settransfer",
    " /SIstr Bits Wid mul 8 div 1 add string def",
    " Ht Wid Bits [ Ht 0 0 Ht 0 Wid ]",
    " { currentfile SIstr readhexstring pop } image",
    "} bd",
    "/Penup false def",
    "/Ph {gsave Pch-x pch-y rmoveto Show grestore} bd",
    "/Pu {load /XEQ exch def /Penup true def} bd",
    "/Pd {/XEQ {} def /Penup false def} bd",
    "/Px {currentdict /XEQ known {XEQ} if} bd",
    "/h {Penup {rmoveto Px} {rlineto} ifelse} bd",
    "/j {neg Penup {rmoveto Px} {rlineto} ifelse} bd",
    "/k {exch neg exch Penup {rmoveto Px} {rlineto} ifelse} bd",
    "/l {neg exch neg exch Penup {rmoveto Px} {rlineto} ifelse} bd",
    "/m {moveto Penup {Px} if} bd",
    "/x {0 Penup {rmoveto Px} {rlineto} ifelse} bd",
    "/y {0 exch Penup {rmoveto Px} {rlineto} ifelse} bd",
    "/w {neg x} bd",
    "/z {neg y} bd",
    "/a {newpath moveto dup y exch x neg y closepath} bd",
    "/b {a fill} bd",
    "/c {a stroke} bd",
};

// The text of prolog.ps, embedded at build time.
constexpr std::string_view kBuiltinPrologText =
#include "postscript/prolog_ps.inc"
    ;

// The prolog lines of a document: the host's, or without them tgd's own.
template <class Visit>
void each_prolog_line(const PostScriptSettings& par, Visit visit) {
    if (par.prolog.empty()) {
        for (std::string_view l : ps_builtin_prolog()) visit(l);
        return;
    }
    for (const std::string& l : par.prolog) visit(c_text(l));
}

}  // namespace

const std::vector<std::string_view>& ps_builtin_prolog() {
    static const std::vector<std::string_view> lines = [] {
        std::vector<std::string_view> v;
        std::string_view text = kBuiltinPrologText;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            v.push_back(text.substr(0, end));
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        }
        return v;
    }();
    return lines;
}

bool defines_pver(std::string_view line) {
    std::size_t start = line.find_first_not_of(" \t");
    return start != std::string_view::npos && starts_with(line.substr(start), "/PVer");
}

bool prolog_defines_pver(const PostScriptSettings& par) {
    bool found = false;
    each_prolog_line(par, [&](std::string_view l) { found = found || defines_pver(l); });
    return found;
}

std::array<long long, 4> region_box(const std::array<float, 4>& region) {
    return {to_int(region[0]), to_int(region[1]), to_int(region[2]) + 1LL, to_int(region[3]) + 1LL};
}

void ps_header(std::string& out, const PostScriptSettings& par, const DocumentInfo& info) {
    const int level = par.dsc_level;
    out += level >= 300 ? "%!PS-Adobe-3.0" : level >= 210 ? "%!PS-Adobe-2.1" : "%!PS-Adobe-2.0";
    if (info.onefile == 0) out += level >= 300 ? " EPSF-3.0" : " EPSF-2.0";
    out += '\n';
    std::string_view title = c_text(par.title);
    out += "%%Title: ";
    ps_put_string(out, title.empty() ? "TAVIX Graphics" : title);
    out += '\n';
    line(out, "%%Creator: TAVIX");
    out += "%%For: ";
    ps_put_string(out, info.user);
    out += '\n';
    out += "%%CreationDate: ";
    out += info.creation_date;
    out += "%%BoundingBox:";
    for (long long v : region_box(info.region)) {
        out += ' ';
        append_d(out, v);
    }
    out += '\n';
    line(out, "%%Pages: (atend)");
    if (level >= 300) {
        line(out, "%%DocumentData: Clean7Bit");
        line(out, "%%DocumentNeededResources: (atend)");
    } else {
        line(out, "%%DocumentFonts: (atend)");
    }
    line(out, "%%EndComments");
}

void ps_prolog(std::string& out, const PostScriptSettings& par) {
    const int level = par.dsc_level;
    if (level >= 210) line(out, "%%BeginProlog");
    each_prolog_line(par, [&](std::string_view l) {
        if (level < 300 && (starts_with(l, "%%BeginResource") || starts_with(l, "%%EndResource"))) return;
        if (level < 210 && (starts_with(l, "%%BeginProcSet") || starts_with(l, "%%EndProcSet"))) return;
        line(out, l);
    });
    if (level >= 210) {
        line(out, "%%EndProlog");
        line(out, "%%BeginSetup");
    }
}

void ps_setup(std::string& out, PostScriptSettings& par, const DocumentInfo& info) {
    line(out, "% fixed controlling parameters");
    out += "/Landscape ";
    out += info.landscape ? "true" : "false";
    line(out, " def");
    out += "/Region [";
    for (int i = 0; i < 4; ++i) {
        if (i > 0) out += ' ';
        append_g(out, info.region[i]);
    }
    line(out, "] def");

    out += "/bw ";
    for (const std::string& l : par.bw_lines) line(out, c_text(l));
    if (par.bw_lines.empty()) {
        // One process colour means black and white; the test leaves the
        // operand stack as it found it.
        line(out, "statusdict begin /processcolors where");
        out += "{pop processcolors} {1} ifelse end 1 eq";
    }
    line(out, " def");

    out += "/RastersPerInch ";
    append_d(out, info.rasters);
    line(out, " def");
    out += "/PointSize ";
    append_g(out, info.point_size);
    line(out, " def");

    out += "/Fonts [";
    for (const std::string& f : par.fonts) {
        out += "\t/";
        out += c_text(f);
    }
    line(out, "] def");
    std::fill(par.font_needed.begin(), par.font_needed.end(), 0);
    std::fill(par.font_on_page.begin(), par.font_on_page.end(), 0);

    color_table(out, "/GColors", par.gcolors, table_rows(par.gcolors, par.ngcolors, par.gcolor_width),
                par.gcolor_width);
    const int nbcolor = std::min<int>(par.nbcolor, static_cast<int>(par.bcolor.size()));
    const bool background = nbcolor > 0;
    out += "/BackIdx ";
    out += background ? "false" : "true";
    line(out, " def");
    if (background) {
        out += "/BColor [ ";
        if (nbcolor > 1) out += "[ ";
        for (int i = 0; i < nbcolor; ++i) {
            append_g(out, par.bcolor[static_cast<std::size_t>(i)]);
            out += ' ';
        }
        if (nbcolor > 1) out += "] ";
        line(out, "] def");
    }
    out += "/BackCol ";
    append_d(out, background ? 1 : par.back_index);
    line(out, " def");
    color_table(out, "/IColors", par.icolors, table_rows(par.icolors, par.nicolors, par.icolor_width),
                par.icolor_width);
    line(out, "/Colors GColors def");

    for (const std::string& l : par.bu_lines) line(out, c_text(l));
    if (par.bu_lines.empty()) line(out, "/Bu {Pc} def");

    line(out, "");
    line(out, "% all initialization action here");
    if (par.pver_found == 0)
        for (const char* l : kCompatibilityBlock) line(out, l);
    line(out, "Iv I");
    line(out, "currentdict /Ic known {Ic} if");
    line(out, "currentdict /If known {If} if");
    for (const std::string& l : par.setup_lines) line(out, c_text(l));
    line(out, "");
    line(out, par.dsc_level >= 300 ? "%%EndSetup" : "%%EndProlog");
    line(out, "");
}

void ps_trailer(std::string& out, PostScriptSettings& par, int pages) {
    const int level = par.dsc_level;
    line(out, "%%Trailer");
    out += "%%Pages: ";
    append_d(out, pages);
    out += '\n';
    std::size_t column;
    if (level >= 300) {
        out += "%%DocumentNeededResources: font";
        column = 31;
    } else {
        out += "%%DocumentFonts:";
        column = 16;
    }
    for (std::size_t f = 0; f < par.font_needed.size() && f < par.fonts.size(); ++f) {
        if (!par.font_needed[f]) continue;
        if (column >= 71) {
            out += level >= 300 ? "\n%%+ font" : "\n%%+";
            column = level >= 300 ? 8 : 3;
        }
        std::string_view name = c_text(par.fonts[f]);
        out += ' ';
        out += name;
        column += name.size() + 1;
    }
    std::fill(par.font_needed.begin(), par.font_needed.end(), 0);
    out += '\n';
    line(out, "W");
    if (level >= 210) line(out, "%%EOF");
}

}  // namespace tgd
