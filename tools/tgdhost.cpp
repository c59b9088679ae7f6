// tgdhost: a stand-in for the statistics system.  It starts tgd with its
// pipes and drives it through a session, printing each operation and the
// reply it got.  The terminal stream (tgd's descriptor 2) goes to a log
// file, so that the escape sequences do not land on a terminal that is not
// a graphics terminal.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "demo_session.h"
#include "host_session.h"

namespace {

struct Args {
    std::string tgd = "./tgd";
    std::string terminal_log = "tgd-terminal.log";
    std::string prolog;      // PostScript prolog sent before printing
    std::string print_file;  // the demo prints the frame as PostScript here when set
    std::string laserjet;    // ... and for the LaserJet here
    std::string deferred;    // ... and records it as deferred graphics here
    bool demo = false;
};

void usage() {
    std::fprintf(stderr, "usage: tgdhost [--tgd PATH] [--terminal-log FILE] [--prolog FILE --print FILE]\n"
                 "               [--laserjet FILE] [--deferred FILE] --demo\n");
}

bool parse(int argc, char** argv, Args& args) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--demo") {
            args.demo = true;
        } else if (a == "--tgd" && i + 1 < argc) {
            args.tgd = argv[++i];
        } else if (a == "--terminal-log" && i + 1 < argc) {
            args.terminal_log = argv[++i];
        } else if (a == "--prolog" && i + 1 < argc) {
            args.prolog = argv[++i];
        } else if (a == "--print" && i + 1 < argc) {
            args.print_file = argv[++i];
        } else if (a == "--laserjet" && i + 1 < argc) {
            args.laserjet = argv[++i];
        } else if (a == "--deferred" && i + 1 < argc) {
            args.deferred = argv[++i];
        } else {
            return false;
        }
    }
    return args.demo;
}

void show_terminal_stream(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return;
    std::string bytes;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
    std::fclose(f);
    std::printf("\nterminal stream: %zu bytes in %s; it begins (ESC shown as \\E):\n  ", bytes.size(), path.c_str());
    std::size_t shown = 0;
    for (char c : bytes) {
        if (shown++ == 400) break;
        if (c == 27) std::printf("\\E");
        else if (c == '\n') std::printf("\\n\n  ");
        else if (c == '\r') std::printf("\\r");
        else if (static_cast<unsigned char>(c) < 32) std::printf("^%c", c + 64);
        else std::putchar(c);
    }
    std::printf("%s\n", bytes.size() > 400 ? " ..." : "");
}

std::vector<std::string> read_lines(const std::string& path) {
    std::vector<std::string> lines;
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (f == nullptr) throw std::runtime_error("cannot read " + path);
    char buf[1024];
    while (std::fgets(buf, sizeof buf, f) != nullptr) {
        std::string line(buf);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines.push_back(line);
    }
    std::fclose(f);
    return lines;
}

void run_demo(const Args& args) {
    int log = ::open(args.terminal_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (log < 0) throw std::runtime_error("cannot create " + args.terminal_log);
    int input[2];
    if (pipe2(input, O_CLOEXEC) != 0) throw std::runtime_error("pipe");

    tgdhost::SpawnOptions options;
    options.exe = args.tgd;
    options.stderr_fd = log;
    options.stdin_fd = input[0];
    options.unset_env = {"BATCH"};
    {
        tgdhost::HostSession tgd(options);
        ::close(input[0]);
        tgdhost::DemoFiles files;
        if (!args.print_file.empty()) {
            files.prolog = read_lines(args.prolog);
            files.postscript = args.print_file;
        }
        files.laserjet = args.laserjet;
        files.deferred = args.deferred;
        files.type = [&](const std::string& text) {
            if (::write(input[1], text.data(), text.size()) != static_cast<ssize_t>(text.size()))
                throw std::runtime_error("tgd does not take input");
        };
        tgdhost::run_demo_session(tgd, files, stdout);
        ::close(input[1]);
        tgd.close_commands();
        std::printf("end of operations -> tgd exits with status %d\n", WEXITSTATUS(tgd.wait()));
    }
    ::close(log);
    show_terminal_stream(args.terminal_log);
}

}  // namespace

int main(int argc, char** argv) {
    Args args;
    if (!parse(argc, argv, args)) {
        usage();
        return 2;
    }
    try {
        run_demo(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tgdhost: %s\n", e.what());
        return 1;
    }
    return 0;
}
