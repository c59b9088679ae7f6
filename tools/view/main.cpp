// tgd-view: renders a saved terminal stream frame by frame into PNG or SVG
// pictures, as the terminal shows it, or the pages of a tgd LaserJet file
// into PNG pictures.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "view/pcl_pages.h"
#include "view/render.h"
#include "view/terminal_picture.h"

#ifndef TGD_VERSION
#define TGD_VERSION "unknown"
#endif

namespace {

constexpr const char* kUsage = "usage: tgd-view [--svg] [--scale N] [-o DIR] FILE\n";
constexpr const char* kHelp =
    "Renders FILE, a terminal stream saved by tgd-host or a LaserJet file\n"
    "printed by tgd (told apart by their first bytes), and prints the name of\n"
    "every picture written.\n"
    "\n"
    "  terminal stream: frame-1.png, frame-2.png, ... one a frame (a clear of\n"
    "                   the screen starts the next; frames with nothing drawn\n"
    "                   are left out), 512 x 390 pixels times the scale\n"
    "  LaserJet file:   page-1.png, page-2.png, ... one pixel a printer dot\n"
    "\n"
    "  --svg        write frame-N.svg instead (terminal streams only)\n"
    "  --scale N    pixels per terminal raster, 1 to 8 (default 1)\n"
    "  -o DIR       where the pictures go (default: the current directory)\n"
    "  --help, --version\n"
    "\n"
    "Exit status: 0 success; 1 a file that cannot be read, decoded or\n"
    "written; 2 a usage error.\n";

int usage_error(const std::string& what) {
    std::fprintf(stderr, "tgd-view: %s\n%s", what.c_str(), kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool svg = false;
    int scale = 1;
    std::string dir = ".";
    std::string file;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::printf("%s\n%s", kUsage, kHelp);
            return 0;
        }
        if (a == "--version") {
            std::printf("tgd-view %s\n", TGD_VERSION);
            return 0;
        }
        if (a == "--svg") {
            svg = true;
        } else if ((a == "-o" || a == "--scale") && i + 1 < argc) {
            std::string v = argv[++i];
            if (a == "-o") {
                dir = v;
            } else {
                char* end = nullptr;
                long n = std::strtol(v.c_str(), &end, 10);
                if (*end != '\0' || n < 1 || n > 8) return usage_error("--scale takes 1 to 8");
                scale = static_cast<int>(n);
            }
        } else if (a.size() > 1 && a[0] == '-') {
            return usage_error("unknown option or missing value: " + a);
        } else if (file.empty()) {
            file = a;
        } else {
            return usage_error("more than one file");
        }
    }
    if (file.empty()) return usage_error("no file");

    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tgd-view: cannot read %s: %s\n", file.c_str(), std::strerror(errno));
        return 1;
    }
    std::ostringstream content;
    content << in.rdbuf();
    const std::string bytes = content.str();
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    auto name = [&](const char* stem, std::size_t n, const char* ext) {
        return (std::filesystem::path(dir) / (stem + std::to_string(n) + ext)).string();
    };

    if (tgdview::looks_like_pcl(bytes)) {
        if (svg) return usage_error("--svg renders terminal streams only; LaserJet pages are written as PNG");
        tgdview::PclDocument doc = tgdview::decode_pcl(bytes);
        for (std::size_t i = 0; i < doc.pages.size(); ++i) {
            std::string path = name("page-", i + 1, ".png");
            std::string error = tgdview::write_page_png(doc.pages[i], path);
            if (!error.empty()) {
                std::fprintf(stderr, "tgd-view: %s\n", error.c_str());
                return 1;
            }
            std::printf("%s\n", path.c_str());
        }
        if (doc.error) {
            std::fprintf(stderr, "tgd-view: %s: %s\n", file.c_str(), doc.error->c_str());
            return 1;
        }
        if (doc.pages.empty()) std::fprintf(stderr, "tgd-view: %s: no page was drawn\n", file.c_str());
        return 0;
    }

    const auto pictures = tgdview::decode_terminal(bytes);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        std::string path = name("frame-", i + 1, svg ? ".svg" : ".png");
        std::string error = svg ? tgdview::write_picture_svg(pictures[i], path, scale)
                                : tgdview::write_picture_png(pictures[i], path, scale);
        if (!error.empty()) {
            std::fprintf(stderr, "tgd-view: %s\n", error.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    if (pictures.empty()) std::fprintf(stderr, "tgd-view: %s: nothing was drawn\n", file.c_str());
    return 0;
}
