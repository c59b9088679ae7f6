// tgdhost: a stand-in for the statistics system.  It starts tgd with its
// pipes and drives it through a session, printing each operation and the
// reply it got.  The terminal stream (tgd's descriptor 2) goes to a log
// file, so that the escape sequences do not land on a terminal that is not
// a graphics terminal.
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "host_session.h"

namespace {

struct Args {
    std::string tgd = "./tgd";
    std::string terminal_log = "tgd-terminal.log";
    std::string prolog;      // PostScript prolog sent before printing
    std::string print_file;  // the demo prints the frame here when set
    bool demo = false;
};

void usage() {
    std::fprintf(stderr, "usage: tgdhost [--tgd PATH] [--terminal-log FILE] [--prolog FILE --print FILE] --demo\n");
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
        } else {
            return false;
        }
    }
    return args.demo;
}

class Demo {
public:
    explicit Demo(tgdhost::HostSession& tgd) : tgd_(tgd) {}

    void initialise() {
        tgd_.send_byte('I');
        block_ = tgd_.read_reals(200);
        std::printf("I            -> parameter block: device %gx%g inches, x = %g + %g*u, y = %g + %g*u\n",
                    block_[97], block_[98], block_[35], block_[36], block_[37], block_[38]);
    }

    void parameters(const std::vector<float>& pairs, const char* what) {
        tgd_.send_byte('D');
        tgd_.send_int(static_cast<int>(pairs.size()));
        tgd_.send_reals(pairs);
        std::printf("D %-10s -> %c\n", what, tgd_.read_byte());
    }

    void xy(char op, const std::vector<float>& x, const std::vector<float>& y, const char* what) {
        tgd_.send_byte(op);
        tgd_.send_int(static_cast<int>(x.size()));
        tgd_.send_reals(x);
        tgd_.send_reals(y);
        char reply = tgd_.read_byte();
        if (reply != op) return abandoned(op, reply);
        std::vector<float> last = tgd_.read_reals(2);
        std::printf("%c %-10s -> %c, last point (%g, %g)\n", op, what, reply, last[0], last[1]);
    }

    void segments(const std::vector<float>& x1, const std::vector<float>& y1, const std::vector<float>& x2,
                  const std::vector<float>& y2) {
        tgd_.send_byte('S');
        tgd_.send_int(static_cast<int>(x1.size()));
        for (const auto* v : {&x1, &y1, &x2, &y2}) tgd_.send_reals(*v);
        char reply = tgd_.read_byte();
        if (reply != 'S') return abandoned('S', reply);
        std::vector<float> last = tgd_.read_reals(2);
        std::printf("S segments   -> S, last point (%g, %g)\n", last[0], last[1]);
    }

    void text(float x, float y, float justification, const std::string& s) {
        tgd_.send_byte('T');
        tgd_.send_int(static_cast<int>(s.size()));
        tgd_.send_real(x);
        tgd_.send_real(y);
        tgd_.send_real(justification);
        tgd_.send(s.data(), s.size());
        char reply = tgd_.read_byte();
        if (reply != 'T') return abandoned('T', reply);
        std::vector<float> end = tgd_.read_reals(2);
        std::printf("T %-10s -> T, text ends at (%g, %g)\n", ("\"" + s + "\"").c_str(), end[0], end[1]);
    }

    void image() {
        std::vector<float> x = {0.6f, 0.7f, 0.8f, 0.9f}, y = {0.1f, 0.2f, 0.3f};
        std::vector<float> z = {1, 2, 3, 4, 5, 6};
        tgd_.send_byte('i');
        tgd_.send_int(4);
        tgd_.send_reals(x);
        tgd_.send_int(3);
        tgd_.send_reals(y);
        tgd_.send_int(6);
        tgd_.send_reals(z);
        tgd_.send_reals({1.0f, 6.0f, -1.0f});
        std::printf("i 3x2 cells  -> %c\n", tgd_.read_byte());
    }

    // The PostScript page region and prolog, then 's' printing the frame
    // into file without running a print command.
    void print_postscript(const std::vector<std::string>& prolog, const std::string& file) {
        tgd_.send("zpr", 3);
        tgd_.send_reals({0.0f, 0.0f, 612.0f, 792.0f});
        tgd_.read_byte();
        tgd_.send("zpAp", 4);
        tgd_.send_int(static_cast<int>(prolog.size()));
        for (const auto& line : prolog) tgd_.send_text(line);
        tgd_.read_byte();
        tgd_.send_byte('s');
        tgd_.send_text("-1 -1 0 -1 -1 0 0 0 postscript '' '" + file + "' '' ''");
        std::printf("s print      -> %c, PostScript document %s\n", tgd_.read_byte(), file.c_str());
    }

    void simple(char op, const char* what) {
        tgd_.send_byte(op);
        std::printf("%c %-10s -> %c\n", op, what, tgd_.read_byte());
    }

private:
    void abandoned(char op, char reply) { std::printf("%c            -> %c (abandoned)\n", op, reply); }

    tgdhost::HostSession& tgd_;
    std::vector<float> block_;
};

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
        Demo demo(tgd);
        demo.initialise();
        demo.xy('L', {0, 1, 1, 0, 0}, {0, 0, 1, 1, 0}, "frame");
        std::vector<float> x, y;
        for (int i = 0; i <= 60; ++i) {
            x.push_back(static_cast<float>(i) / 60.0f);
            y.push_back(0.5f + 0.4f * static_cast<float>(std::sin(i * 0.2)));
        }
        demo.xy('L', x, y, "sine");
        demo.parameters({10, 3, 15, 2}, "colour 3");
        demo.xy('P', {0.2f, 0.4f, 0.6f}, {0.2f, 0.3f, 0.2f}, "markers");
        demo.xy('G', {0.1f, 0.3f, 0.2f}, {0.7f, 0.7f, 0.9f}, "triangle");
        demo.segments({0.1f, 0.1f}, {0.1f, 0.9f}, {0.9f, 0.9f}, {0.1f, 0.9f});
        demo.text(0.5f, 0.95f, 0.5f, "tgd demo");
        demo.image();
        if (!args.print_file.empty()) demo.print_postscript(read_lines(args.prolog), args.print_file);
        // A refresh and a new frame each start a frame on the terminal,
        // which waits for Return first.
        if (::write(input[1], "\n\n", 2) != 2) throw std::runtime_error("input");
        demo.simple('d', "refresh");
        demo.simple('E', "new frame");
        demo.simple('X', "wrap up");
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
