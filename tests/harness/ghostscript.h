// Ghostscript run on a document for a test: every page rendered as a grey
// picture on Letter paper, with what Ghostscript said and its exit status.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tgdtest {

// One byte per dot, 0 black .. 255 white, row 0 at the top.
struct GreyPicture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> grey;
    std::uint8_t at(int x, int y) const { return grey[static_cast<std::size_t>(y) * width + x]; }
    bool ink(int x, int y) const { return at(x, y) < 128; }
};

struct Rendering {
    std::vector<GreyPicture> pages;
    std::string messages;  // standard output and error
    int status = -1;       // exit status of gs
};

// Renders document (a PostScript or PDF file) at dpi dots per inch; the
// pages are written next to prefix and read back.
Rendering render_pages(const std::string& document, int dpi, const std::string& prefix);

// A binary PGM file; an empty picture when it cannot be read.
GreyPicture read_pgm(const std::string& path);

// Runs a shell command; its standard output and error are put in output.
int run_shell(const std::string& command, std::string& output);

}  // namespace tgdtest
