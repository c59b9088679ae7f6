// Continuing an earlier document: its header, prolog, setup and pages are
// copied into a new file of the same name, and the new frame follows as
// further pages.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "base/messages.h"
#include "postscript/device.h"
#include "postscript/encode.h"
#include "settings/mktempx.h"
#include "settings/ps_par.h"

namespace tgd {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using InputFile = std::unique_ptr<std::FILE, FileCloser>;

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string_view skip_blanks(std::string_view s) {
    std::size_t at = s.find_first_not_of(" \t");
    return at == std::string_view::npos ? std::string_view() : s.substr(at);
}

// One line of at most 1023 bytes (a longer line comes in pieces, each
// taken as a line); false at end of file.
bool read_line(std::FILE* in, std::string& line) {
    char buf[1024];
    if (std::fgets(buf, sizeof buf, in) == nullptr) return false;
    line.assign(buf);
    return true;
}

// The font names of a font comment, or none when the line is not one.
std::optional<std::string_view> font_comment(std::string_view line) {
    constexpr std::string_view kResources = "%%DocumentNeededResources:";
    constexpr std::string_view kFonts = "%%DocumentFonts:";
    if (starts_with(line, kResources)) {
        std::string_view rest = skip_blanks(line.substr(kResources.size()));
        if (starts_with(rest, "font")) return rest.substr(4);
    } else if (starts_with(line, kFonts)) {
        std::string_view rest = skip_blanks(line.substr(kFonts.size()));
        if (!starts_with(rest, "(atend)")) return rest;
    }
    return std::nullopt;
}

// The four integers of a bounding-box comment.
bool bounding_box(std::string_view line, std::array<long long, 4>& box) {
    constexpr std::string_view kBox = "%%BoundingBox:";
    if (!starts_with(line, kBox)) return false;
    std::string_view rest = line.substr(kBox.size());
    for (long long& v : box) {
        rest = skip_blanks(rest);
        auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), v);
        if (ec != std::errc()) return false;
        rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    }
    return true;
}

// The old name lies beside the file, so that the rename stays within
// one file system.
std::string old_name_for(const std::string& file) {
    std::size_t slash = file.rfind('/');
    std::string templ = (slash == std::string::npos ? std::string() : file.substr(0, slash + 1)) + "ps.old.XXXXXXX";
    return mktempx(templ);
}

}  // namespace

// Copies the earlier document from in; false (after its status) when it
// cannot be continued.
bool PostScriptDevice::copy_document(std::FILE* in) {
    PsContext& ctx = *context;
    std::string line;
    if (in == nullptr || !read_line(in, line)) {
        dmstat_("Trouble reading first line of file.");
        return false;
    }
    if (!starts_with(line, "%!PS-Adobe-")) {
        dmstat_("File is not a PostScript file.");
        return false;
    }
    ctx.out.write(ps_par.dsc_level >= 300 ? "%!PS-Adobe-3.0\n" : "%!PS-Adobe-2.0\n");
    ctx.out.write("%%CreationDate: [appended to file] " + ps_creation_date());
    ctx.pages = 0;
    ctx.page_pending = 1;

    std::array<long long, 4> box = region_box(region);
    bool copying = true, recent = false;
    bool have = read_line(in, line);
    while (have) {
        if (starts_with(line, "%%Trailer")) copying = false;
        if (std::optional<std::string_view> fonts = font_comment(line)) {
            // The font comments are consumed with their continuation lines.
            ps_mark_fonts(*fonts);
            while ((have = read_line(in, line)) && starts_with(line, "%%+")) ps_mark_fonts(line.substr(3));
            continue;
        }
        if (starts_with(line, "%%Page:")) ctx.pages += 1;
        if (std::array<long long, 4> old{}; copying && bounding_box(line, old)) {
            if (old[0] > box[0] || old[1] > box[1] || old[2] < box[2] || old[3] < box[3]) {
                box = {std::min(box[0], old[0]), std::min(box[1], old[1]), std::max(box[2], old[2]),
                       std::max(box[3], old[3])};
                std::string union_line = "%%BoundingBox:";
                for (long long v : box) {
                    union_line += ' ';
                    append_d(union_line, v);
                }
                ctx.out.write(union_line + "\n");
            }
        }
        if (defines_pver(line)) recent = true;
        if (copying) ctx.out.write(line);
        have = read_line(in, line);
    }
    put_pscplot_context();
    if (!recent) {
        dmstat_("File is not a recent TAVIX graphics file.");
        return false;
    }
    return true;
}

void ps_mark_fonts(std::string_view text) {
    constexpr std::string_view kSeparators = " \t\n";
    while (!text.empty()) {
        std::size_t start = text.find_first_not_of(kSeparators);
        if (start == std::string_view::npos) break;
        text.remove_prefix(start);
        std::size_t end = std::min(text.find_first_of(kSeparators), text.size());
        std::string_view word = text.substr(0, end);
        for (std::size_t f = 0; f < ps_par.fonts.size() && f < ps_par.font_needed.size(); ++f)
            if (c_text(ps_par.fonts[f]) == word) ps_par.font_needed[f] = 1;
        text.remove_prefix(end);
    }
}

bool PostScriptDevice::ps_continue_document() {
    PsContext& ctx = *context;
    const std::string file = ctx.file_name;
    const std::string old = old_name_for(file);
    if (int rc = std::rename(file.c_str(), old.c_str()); rc != 0) {
        dmerro_(dmformat("Error %d renaming '%s' to '%s'", rc, file.c_str(), old.c_str()));
        return false;
    }
    InputFile in(std::fopen(old.c_str(), "r"));
    bool appended = false;
    if (ctx.out.open(file, "w")) appended = copy_document(in.get());
    in.reset();
    if (appended) {
        std::remove(old.c_str());
        return true;
    }
    appending = 0;
    dmerro_(dmformat("Could not append to '%s'\nLeft old contents in '%s'", file.c_str(), old.c_str()));
    // A fresh document replaces the file; when it cannot be created the
    // caller falls back to /tmp.
    if (ctx.out.is_open()) (void)ctx.out.open(file, "w");
    return true;
}

}  // namespace tgd
