#include "harness/ghostscript.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tgdtest {

int run_shell(const std::string& command, std::string& output) {
    output.clear();
    std::FILE* pipe = ::popen((command + " 2>&1 </dev/null").c_str(), "r");
    if (pipe == nullptr) return -1;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) output.append(buf, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

GreyPicture read_pgm(const std::string& path) {
    GreyPicture p;
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> std::ws;
    while (in.peek() == '#') in.ignore(1 << 20, '\n');  // Ghostscript's comment
    in >> p.width >> p.height >> maxval;
    in.get();
    if (magic != "P5" || !in || p.width <= 0 || p.height <= 0) return {};
    p.grey.resize(static_cast<std::size_t>(p.width) * p.height);
    in.read(reinterpret_cast<char*>(p.grey.data()), static_cast<std::streamsize>(p.grey.size()));
    return in ? p : GreyPicture{};
}

Rendering render_pages(const std::string& document, int dpi, const std::string& prefix) {
    Rendering r;
    r.status = run_shell("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r" + std::to_string(dpi) +
                             " -sPAPERSIZE=letter -dFIXEDMEDIA -sOutputFile='" + prefix + "%d.pgm' '" + document +
                             "'",
                         r.messages);
    for (int page = 1;; ++page) {
        const std::string name = prefix + std::to_string(page) + ".pgm";
        GreyPicture p = read_pgm(name);
        if (p.grey.empty()) break;
        std::remove(name.c_str());
        r.pages.push_back(std::move(p));
    }
    return r;
}

}  // namespace tgdtest
