// tgd-bench: runs every benchmark case several times, interleaved with its
// yardstick (gnuplot on the same points, or the machine's floor: the same
// bytes through cat, the same output written with buffered stdio), checks
// every output, and prints per case the median wall, user and system time,
// peak memory, output size and the ratio, then the figures tgd is held to.
//
// Each case is a whole process: tgd started by tgd-bench-host (which
// reports tgd's own resource use), gnuplot or a floor program forked here.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common.h"
#include "workloads.h"

namespace {

using tgdbench::Layout;
using tgdbench::now;
using tgdbench::seconds;
using tgdbench::Sizes;

// ---------------------------------------------------------------- processes

struct Measure {
    double wall = 0, user = 0, sys = 0;  // seconds
    double peak_kib = 0;                 // peak resident set
    double output = 0;                   // bytes of the output the case produces
};

struct Finished {
    bool ok = false;  // exited with status 0
    Measure measure;
    std::string out;  // its standard output
};

// Runs argv with standard input from /dev/null, standard output captured
// and standard error into log; measures it from fork to exit.
Finished run_process(const std::vector<std::string>& argv, const std::string& log) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    int err = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (err < 0 || null < 0) throw std::runtime_error("cannot open " + log);
    std::vector<std::string> args = argv;
    std::vector<char*> cargv;
    for (auto& a : args) cargv.push_back(a.data());
    cargv.push_back(nullptr);

    const double t0 = now();
    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("cannot fork");
    if (pid == 0) {
        if (dup2(null, 0) != 0 || dup2(out[1], 1) != 1 || dup2(err, 2) != 2) _exit(127);
        execvp(cargv[0], cargv.data());
        _exit(127);
    }
    ::close(out[1]);
    ::close(err);
    ::close(null);
    Finished f;
    char buf[4096];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        f.out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {}
    f.measure.wall = now() - t0;
    f.measure.user = seconds(usage.ru_utime);
    f.measure.sys = seconds(usage.ru_stime);
    f.measure.peak_kib = static_cast<double>(usage.ru_maxrss);
    f.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return f;
}

std::string tail_of(const std::string& path) {
    std::string text;
    try {
        text = tgdbench::read_file(path);
    } catch (const std::exception&) {}
    return text.size() > 2000 ? "..." + text.substr(text.size() - 2000) : text;
}

bool on_path(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "");
    for (std::string d; std::getline(dirs, d, ':');)
        if (!d.empty() && access((d + "/" + program).c_str(), X_OK) == 0) return true;
    return false;
}

std::size_t file_size(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

void remove_file(const std::string& path) { std::remove(path.c_str()); }

// ---------------------------------------------------------------- checks

struct CheckFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void require(bool condition, const std::string& what) {
    if (!condition) throw CheckFailed(what);
}

// Ghostscript reads the whole document and must finish without an error.
void check_postscript(const std::string& path, const Layout& layout) {
    const std::string doc = tgdbench::read_file(path);
    require(doc.starts_with("%!PS-Adobe"), path + ": not a PostScript document");
    require(doc.ends_with("%%EOF\n"), path + ": the document does not end with %%EOF");
    const std::string log = layout.out("gs.log");
    Finished gs = run_process({"gs", "-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=nullpage", path}, log);
    require(gs.ok && gs.out.find("Error") == std::string::npos,
            path + ": Ghostscript cannot render it:\n" + gs.out + tail_of(log));
}

// What a PCL stream draws: the dots of its raster rows and its filled
// rectangles.  Escape sequences are parsed by their form: ESC, a parameter
// character, a group character unless the command has none, then values
// each ended by a letter, the last one upper case.  The bytes of a raster
// row follow its "*b...W".
struct PclInk {
    std::size_t dots = 0;
    std::size_t rectangles = 0;
};

PclInk decode_pcl(const std::string& pcl, const std::string& path) {
    PclInk ink;
    std::size_t i = 0;
    auto in = [&](std::size_t at, int lo, int hi) {
        return at < pcl.size() && static_cast<unsigned char>(pcl[at]) >= lo &&
               static_cast<unsigned char>(pcl[at]) <= hi;
    };
    while (i < pcl.size()) {
        if (pcl[i] != '\x1b') {  // text a plotter writes between commands, form feeds
            ++i;
            continue;
        }
        if (!in(i + 1, 0x21, 0x2f)) {  // two-character command
            i += 2;
            continue;
        }
        const char parameter = pcl[i + 1];
        i += 2;
        char group = 0;  // some commands, like the symbol sets of "(", have none
        if (in(i, 0x60, 0x7e)) group = pcl[i++];
        for (;;) {
            const std::size_t start = i;
            while (in(i, '0', '9') || in(i, '+', '+') || in(i, '-', '-') || in(i, '.', '.')) ++i;
            require(i < pcl.size(), path + ": escape sequence cut short at the end");
            const long value = std::strtol(pcl.substr(start, i - start).c_str(), nullptr, 10);
            const char letter = pcl[i++];
            const bool last = letter >= 0x40 && letter <= 0x5e;
            require(last || (letter >= 0x60 && letter <= 0x7e), path + ": malformed escape sequence");
            const char upper = last ? letter : static_cast<char>(letter - 0x20);
            if (parameter == '*' && group == 'b' && upper == 'W') {
                require(value >= 0 && i + static_cast<std::size_t>(value) <= pcl.size(),
                        path + ": raster row cut short");
                for (long k = 0; k < value; ++k) ink.dots += std::popcount(static_cast<unsigned char>(pcl[i++]));
            }
            if (parameter == '*' && group == 'c' && upper == 'P') ++ink.rectangles;
            if (last) break;
        }
    }
    return ink;
}

PclInk check_pcl(const std::string& path) {
    const std::string pcl = tgdbench::read_file(path);
    require(!pcl.empty(), path + ": empty");
    PclInk ink = decode_pcl(pcl, path);
    require(ink.dots + ink.rectangles > 0, path + ": nothing is drawn");
    return ink;
}

std::size_t count_of(const std::string& text, char c) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

void check_message(const std::string& log, const std::string& message) {
    require(tgdbench::read_file(log).find(message) != std::string::npos, log + ": no \"" + message + "\"");
}

// ---------------------------------------------------------------- cases

// One program of a case: runs once (outputs checked) and says what it cost.
struct Program {
    std::string name;
    std::function<Measure()> run;
    std::vector<Measure> samples;
    std::string note;  // why it did not run
};

struct Case {
    std::string id;
    std::string title;
    std::vector<Program> programs;  // tgd first, then its yardsticks
};

struct Setup {
    Layout layout;
    Sizes sizes;
    std::string tgd, host, self;
    bool gnuplot = false;           // gnuplot runs as a yardstick
    bool no_gnuplot = false;        // --no-gnuplot: left out on purpose
    std::vector<std::string> only;  // case ids to run; empty: all
};

// tgd's environment: no printer settings of the user's, and no print
// command that could reach a printer.
std::vector<std::string> tgd_environment(bool batch) {
    std::vector<std::string> args;
    for (const char* name : {"BATCH", "TX_PRINT_ORIENTATION", "TX_LASERJET_DPI", "TX_PRINTGRAPH_ONEFILE",
                             "TX_PRINTGRAPH_METHOD", "TX_LASERJET_NORESET"})
        args.insert(args.end(), {"--unset", name});
    args.insert(args.end(), {"--set", "TX_LASERJET_PRINT_COMMAND=true"});
    if (batch) args.insert(args.end(), {"--set", "BATCH=1"});
    return args;
}

// tgd through the host, streaming the named operations.  The measure is
// tgd's; output is the size of the file named (0: the reply bytes).
Measure run_host(const Setup& s, const std::string& stream, const std::vector<std::string>& options,
                 const std::string& stderr_file) {
    std::vector<std::string> argv = {s.host};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.insert(argv.end(), {"--tgd", s.tgd, "--stderr", stderr_file, s.layout.ops(stream)});
    const std::string log = s.layout.out("host.log");
    Finished f = run_process(argv, log);
    require(f.ok, stream + ": the host failed: " + tail_of(log));
    Measure m;
    double replies = 0;
    require(std::sscanf(f.out.c_str(), "%lf %lf %lf %lf %lf", &m.wall, &m.user, &m.sys, &m.peak_kib, &replies) == 5,
            stream + ": the host said \"" + f.out + "\"");
    m.output = replies;
    return m;
}

Measure run_tgd(const Setup& s, const std::string& stream, bool batch, const std::string& stderr_file,
                std::vector<std::string> more = {}) {
    std::vector<std::string> options = tgd_environment(batch);
    options.insert(options.end(), more.begin(), more.end());
    return run_host(s, stream, options, stderr_file);
}

// The same host and operation bytes, through cat instead of tgd.
Measure run_cat(const Setup& s, const std::string& stream, bool lockstep) {
    std::vector<std::string> options = {"--cat"};
    if (lockstep) options.push_back("--lockstep");
    return run_host(s, stream, options, "/dev/null");
}

// The floor for writing a file: the same bytes written through stdio, one
// fwrite per element (an escape sequence or a line), as a program that
// had them ready would.
Measure run_buffered(const Setup& s, const std::string& source) {
    const std::string target = s.layout.out("buffered.out");
    remove_file(target);
    Finished f = run_process({s.self, "--write-buffered", source, target}, s.layout.out("buffered.log"));
    require(f.ok && file_size(target) == file_size(source),
            "the buffered writer failed: " + tail_of(s.layout.out("buffered.log")));
    f.measure.output = static_cast<double>(file_size(target));
    remove_file(target);
    return f.measure;
}

// The source is mapped, not read, so that the floor costs only the writing.
int write_buffered(const std::string& source, const std::string& target) {
    const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    const std::size_t size = fd >= 0 ? file_size(source) : 0;
    if (fd < 0 || size == 0) return 1;
    void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) return 1;
    const char* bytes = static_cast<const char*>(map);
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (out == nullptr) return 1;
    std::size_t start = 0;
    for (std::size_t i = 1; i <= size; ++i)
        if (i == size || bytes[i] == '\x1b' || bytes[i - 1] == '\n') {
            std::fwrite(bytes + start, 1, i - start, out);
            start = i;
        }
    return std::fclose(out) == 0 ? 0 : 1;
}

// gnuplot on the same points, whole process, the script written here.
Measure run_gnuplot(const Setup& s, const std::string& name, const std::string& terminal, const std::string& plot,
                    const std::string& output) {
    const std::string script = s.layout.out(name + ".gp");
    {
        std::FILE* f = std::fopen(script.c_str(), "w");
        require(f != nullptr, "cannot write " + script);
        std::fprintf(f, "set terminal %s\nset output '%s'\n%s\n", terminal.c_str(), output.c_str(), plot.c_str());
        std::fclose(f);
    }
    remove_file(output);
    Finished f = run_process({"gnuplot", script}, s.layout.out(name + ".log"));
    require(f.ok && file_size(output) > 0, name + ": gnuplot failed: " + tail_of(s.layout.out(name + ".log")));
    f.measure.output = static_cast<double>(file_size(output));
    return f.measure;
}

// W1, W2 or W3 printed by tgd, and by gnuplot from the same data.
Case printed_case(const Setup& s, const std::string& w, const std::string& title, bool postscript,
                  const std::string& gnuplot_plot) {
    const std::string id = w + (postscript ? "-ps" : "-lj");
    const std::string file = s.layout.out(id + (postscript ? ".ps" : ".lj"));
    const std::string log = s.layout.out(id + ".err");
    Case c{id, title, {}};
    c.programs.push_back({"tgd",
                          [=, &s] {
                              remove_file(file);
                              Measure m = run_tgd(s, id, true, log);
                              if (postscript) {
                                  check_message(log, "Generated postscript file");
                                  check_postscript(file, s.layout);
                              } else {
                                  check_message(log, "Generated output file");
                                  PclInk ink = check_pcl(file);
                                  require(w != "w3" || ink.rectangles > 0, file + ": the image has no rectangles");
                              }
                              m.output = static_cast<double>(file_size(file));
                              return m;
                          },
                          {},
                          ""});
    const std::string gp_out = s.layout.out(id + (postscript ? "-gnuplot.eps" : "-gnuplot.lj"));
    const std::string terminal = postscript ? "postscript eps" : "hpljii 300";
    Program gp{"gnuplot",
               [=, &s] {
                   Measure m = run_gnuplot(s, id + "-gnuplot", terminal, gnuplot_plot, gp_out);
                   if (!postscript) check_pcl(gp_out);
                   return m;
               },
               {},
               ""};
    if (!s.gnuplot) gp.note = s.no_gnuplot ? "left out (--no-gnuplot)" : "gnuplot is not installed";
    c.programs.push_back(gp);
    return c;
}

std::vector<Case> make_cases(const Setup& s) {
    const Layout& l = s.layout;
    const std::string side = std::to_string(s.sizes.image_side);
    const std::string lines = "plot '" + l.data("w1.bin") + "' binary format='%float32%float32' with lines";
    const std::string points = "plot '" + l.data("w2.bin") + "' binary format='%float32%float32' with points pt 6";
    const std::string image =
        "plot '" + l.data("w3.bin") + "' binary array=(" + side + "," + side + ") format='%float32' with image";
    std::vector<Case> cases = {
        printed_case(s, "w1", "W1: one 'L' of the random walk printed to PostScript", true, lines),
        printed_case(s, "w1", "W1 printed to LaserJet 300 dpi", false, lines),
        printed_case(s, "w3", "W3: the image ('i') printed to PostScript", true, image),
        printed_case(s, "w3", "W3 printed to LaserJet 300 dpi", false, image),
        printed_case(s, "w2", "W2: scattered octagon markers ('P') printed to PostScript", true, points),
        printed_case(s, "w2", "W2 printed to LaserJet 300 dpi", false, points),
    };

    // Drawn live with descriptor 2 a file, against writing those bytes.
    auto live = [&s](const std::string& id, const std::string& title, const std::string& stream,
                     std::size_t min_bytes) {
        const std::string terminal = s.layout.out(id + ".term");
        Case c{id, title, {}};
        c.programs.push_back({"tgd",
                              [=, &s] {
                                  Measure m = run_tgd(s, stream, false, terminal);
                                  const std::string bytes = tgdbench::read_file(terminal);
                                  require(bytes.size() >= min_bytes && count_of(bytes, '\x1b') > 0,
                                          terminal + ": too little drawn on the terminal");
                                  m.output = static_cast<double>(bytes.size());
                                  return m;
                              },
                              {},
                              ""});
        c.programs.push_back({"buffered write", [=, &s] { return run_buffered(s, terminal); }, {}, ""});
        return c;
    };
    // Recorded only (BATCH), against cat moving the same bytes.
    auto batch = [&s](const std::string& id, const std::string& title, const std::string& stream, bool lockstep) {
        Case c{id, title, {}};
        std::vector<std::string> more;
        if (lockstep) more.push_back("--lockstep");
        c.programs.push_back(
            {"tgd", [=, &s] { return run_tgd(s, stream, true, s.layout.out(id + ".err"), more); }, {}, ""});
        c.programs.push_back({"cat", [=, &s] { return run_cat(s, stream, lockstep); }, {}, ""});
        return c;
    };

    const std::size_t n1 = s.sizes.walk_points;
    cases.push_back(live("w1-live", "W1 drawn live, descriptor 2 a file", "w1-draw", n1));
    cases.push_back(batch("w1-batch", "W1 with BATCH (recorded only)", "w1-draw", false));
    {
        const std::string dgf = l.out("w1.dgf");
        Case c{"w1-deferred", "W1 recorded as deferred graphics", {}};
        c.programs.push_back({"tgd",
                              [=, &s] {
                                  remove_file(dgf);  // an existing file would be appended to
                                  Measure m = run_tgd(s, "w1-deferred", true, s.layout.out("w1-deferred.err"));
                                  const std::string text = tgdbench::read_file(dgf);
                                  require(
                                      count_of(text, '\n') == n1 + 1 && text.starts_with("lines " + std::to_string(n1)),
                                      dgf + ": not one \"lines\" record of every point");
                                  m.output = static_cast<double>(text.size());
                                  return m;
                              },
                              {},
                              ""});
        c.programs.push_back({"buffered write", [=, &s] { return run_buffered(s, dgf); }, {}, ""});
        cases.push_back(c);
    }
    cases.push_back(batch("w4-batch", "W4: two-point 'L' streamed with BATCH", "w4-draw", false));
    cases.push_back(live("w4-live", "W4 streamed live, descriptor 2 a file", "w4-draw", s.sizes.short_lines));
    cases.push_back(batch("round-trips", "'W' round trips (each waits for its reply)", "round-trips", true));

    if (!s.only.empty())
        std::erase_if(cases,
                      [&](const Case& c) { return std::find(s.only.begin(), s.only.end(), c.id) == s.only.end(); });
    return cases;
}

// ---------------------------------------------------------------- report

Measure median(std::vector<Measure> v) {
    Measure m;
    if (v.empty()) return m;
    auto mid = [&](double Measure::*field) {
        std::vector<double> x;
        for (const auto& s : v) x.push_back(s.*field);
        std::sort(x.begin(), x.end());
        const std::size_t n = x.size();
        return n % 2 == 1 ? x[n / 2] : (x[n / 2 - 1] + x[n / 2]) / 2;
    };
    for (auto field : {&Measure::wall, &Measure::user, &Measure::sys, &Measure::peak_kib, &Measure::output})
        m.*field = mid(field);
    return m;
}

std::string fixed(double v, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", digits, v);
    return buf;
}

std::string number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string bytes_text(double b) {
    if (b >= 10e6) return fixed(b / 1e6, 1) + " MB";
    if (b >= 10e3) return fixed(b / 1e3, 1) + " kB";
    return fixed(b, 0) + " B";
}

const Case* find_case(const std::vector<Case>& cases, const std::string& id) {
    for (const auto& c : cases)
        if (c.id == id) return &c;
    return nullptr;
}

// The median of a program of a case, when it ran.
std::optional<Measure> result(const std::vector<Case>& cases, const std::string& id, std::size_t program) {
    const Case* c = find_case(cases, id);
    if (c == nullptr || program >= c->programs.size() || c->programs[program].samples.empty()) return std::nullopt;
    return median(c->programs[program].samples);
}

void print_cases(std::FILE* out, const std::vector<Case>& cases) {
    std::fprintf(out, "| case | program | wall s | wall range | user s | sys s | peak MiB | output | tgd / this |\n");
    std::fprintf(out, "|---|---|--:|--:|--:|--:|--:|--:|--:|\n");
    for (const auto& c : cases) {
        const Measure tgd = median(c.programs[0].samples);
        for (std::size_t p = 0; p < c.programs.size(); ++p) {
            const Program& prog = c.programs[p];
            const std::string label = p == 0 ? c.id + ": " + c.title : "";
            if (prog.samples.empty()) {
                std::fprintf(out, "| %s | %s | %s | | | | | | |\n", label.c_str(), prog.name.c_str(),
                             prog.note.c_str());
                continue;
            }
            const Measure m = median(prog.samples);
            const std::string ratio = p == 0 ? "" : fixed(tgd.wall / m.wall, 2) + "x";
            const auto [low, high] =
                std::minmax_element(prog.samples.begin(), prog.samples.end(),
                                    [](const Measure& a, const Measure& b) { return a.wall < b.wall; });
            const std::string range = fixed(low->wall, 3) + "-" + fixed(high->wall, 3);
            std::fprintf(out, "| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", label.c_str(), prog.name.c_str(),
                         fixed(m.wall, 3).c_str(), range.c_str(), fixed(m.user, 3).c_str(), fixed(m.sys, 3).c_str(),
                         fixed(m.peak_kib / 1024, 1).c_str(), bytes_text(m.output).c_str(), ratio.c_str());
        }
    }
}

// The figures: each a measured value against its target.
struct Figure {
    std::string what;
    std::optional<double> value;
    std::string unit;  // "x", " us", " MiB"
    double target;
    bool at_least;  // the value must reach the target instead of staying below it
};

std::vector<Figure> figures(const std::vector<Case>& cases, const Sizes& sizes) {
    auto ratio = [&](const std::string& id, double Measure::*field) -> std::optional<double> {
        auto a = result(cases, id, 0), b = result(cases, id, 1);
        if (!a || !b || (*b).*field <= 0) return std::nullopt;
        return (*a).*field / (*b).*field;
    };
    auto per_op = [&](const std::string& id) -> std::optional<double> {
        auto a = result(cases, id, 0);
        if (!a) return std::nullopt;
        return a->wall / static_cast<double>(sizes.short_lines) * 1e6;
    };
    std::optional<double> throughput, w4_peak, w1_peak;
    if (auto r = ratio("w1-batch", &Measure::wall)) throughput = 1 / *r;
    if (auto a = result(cases, "w4-batch", 0)) w4_peak = a->peak_kib / 1024;
    if (auto a = result(cases, "w1-batch", 0))
        w1_peak = a->peak_kib * 1024 / (8.0 * static_cast<double>(sizes.walk_points));
    return {
        {"W1 to PostScript, time against gnuplot", ratio("w1-ps", &Measure::wall), "x", 0.3, false},
        {"W1 to LaserJet 300 dpi, time against gnuplot", ratio("w1-lj", &Measure::wall), "x", 0.3, false},
        {"W1 to LaserJet 300 dpi, file size against gnuplot's", ratio("w1-lj", &Measure::output), "x", 0.2, false},
        {"W3 to PostScript, time against gnuplot", ratio("w3-ps", &Measure::wall), "x", 0.5, false},
        {"W3 to LaserJet, time against gnuplot", ratio("w3-lj", &Measure::wall), "x", 1.0, false},
        {"W2 to PostScript, time against gnuplot", ratio("w2-ps", &Measure::wall), "x", 0.7, false},
        {"W2 to LaserJet, time against gnuplot", ratio("w2-lj", &Measure::wall), "x", 0.7, false},
        {"W1 live, descriptor 2 a file, against the buffered floor", ratio("w1-live", &Measure::wall), "x", 5, false},
        {"W1 recorded as deferred graphics, against the buffered floor", ratio("w1-deferred", &Measure::wall), "x", 5,
         false},
        {"W1 with BATCH, throughput against the host feeding cat", throughput, "x", 0.5, true},
        {"W4 streamed with BATCH, time per operation", per_op("w4-batch"), " us", 3, false},
        {"W4 streamed live into a file, time per operation", per_op("w4-live"), " us", 5, false},
        {"W4 streamed with BATCH, peak memory", w4_peak, " MiB", 15, false},
        {"W1 with BATCH, peak memory against the points sent", w1_peak, "x", 1.5, false},
    };
}

void print_figures(std::FILE* out, const std::vector<Figure>& list) {
    // "to gain": the factor by which a figure not met misses its target.
    std::fprintf(out, "| figure | measured | target | met | to gain |\n|---|--:|--:|---|--:|\n");
    for (const auto& f : list) {
        const std::string target = std::string(f.at_least ? "at least " : "at most ") + number(f.target) + f.unit;
        if (!f.value) {
            std::fprintf(out, "| %s | not measured | %s | - | |\n", f.what.c_str(), target.c_str());
            continue;
        }
        const bool met = f.at_least ? *f.value >= f.target : *f.value <= f.target;
        const double miss = f.at_least ? f.target / *f.value : *f.value / f.target;
        std::fprintf(out, "| %s | %s%s | %s | %s | %s |\n", f.what.c_str(), fixed(*f.value, 2).c_str(), f.unit.c_str(),
                     target.c_str(), met ? "yes" : "**no**", met ? "" : (fixed(miss, 1) + "x").c_str());
    }
}

// The machine the figures were measured on.
std::string first_line_with(const std::string& path, const std::string& key) {
    std::string text;
    try {
        text = tgdbench::read_file(path);
    } catch (const std::exception&) {
        return "";
    }
    std::istringstream lines(text);
    for (std::string l; std::getline(lines, l);)
        if (l.starts_with(key)) {
            std::string v = l.substr(key.size());
            v.erase(0, v.find_first_not_of(" \t:="));
            if (!v.empty() && v.front() == '"') v = v.substr(1, v.size() - 2);
            return v;
        }
    return "";
}

std::string version_of(const std::vector<std::string>& argv, const Layout& layout) {
    Finished f = run_process(argv, layout.out("version.log"));
    std::string v = f.out.substr(0, f.out.find('\n'));
    return f.ok ? v : "not installed";
}

void print_machine(std::FILE* out, const Setup& s) {
    utsname u{};
    uname(&u);
    const double mem_kib = std::atof(first_line_with("/proc/meminfo", "MemTotal").c_str());
    std::fprintf(out, "- CPU: %s, %ld processors online\n", first_line_with("/proc/cpuinfo", "model name").c_str(),
                 sysconf(_SC_NPROCESSORS_ONLN));
    std::fprintf(out, "- memory: %s GiB\n", fixed(mem_kib / (1024 * 1024), 1).c_str());
    std::fprintf(out, "- system: %s, Linux %s\n", first_line_with("/etc/os-release", "PRETTY_NAME").c_str(), u.release);
    std::fprintf(out, "- compiler: g++ %s\n", __VERSION__);
    std::fprintf(out, "- gnuplot: %s\n",
                 s.gnuplot ? version_of({"gnuplot", "--version"}, s.layout).c_str() : "not used");
    std::fprintf(out, "- Ghostscript: %s\n\n", version_of({"gs", "--version"}, s.layout).c_str());
}

// ---------------------------------------------------------------- main

struct Args {
    bool tiny = false;
    int rounds = 7;
    std::string dir;  // scratch directory; "": a temporary one, removed at the end
    std::string tgd = TGD_BENCH_TGD;
    std::string host = TGD_BENCH_HOST;
    std::string prolog = TGD_BENCH_PROLOG;
    std::string markdown;  // also write the tables here
    bool no_gnuplot = false;
    std::vector<std::string> only;
};

void usage() {
    std::fprintf(stderr,
                 "usage: tgd-bench [--tiny] [--rounds N] [--dir DIR] [--cases ID,ID...] [--no-gnuplot]\n"
                 "                 [--markdown FILE] [--tgd PATH] [--host PATH] [--prolog FILE]\n"
                 "Runs every case N times (default 7) interleaved with its yardsticks and prints the\n"
                 "medians and the figures.  --tiny: small data, for a quick check that all runs.\n");
}

bool parse(int argc, char** argv, Args& a) {
    for (int i = 1; i < argc; ++i) {
        std::string s = argv[i];
        bool more = i + 1 < argc;
        if (s == "--tiny")
            a.tiny = true;
        else if (s == "--no-gnuplot")
            a.no_gnuplot = true;
        else if (s == "--rounds" && more)
            a.rounds = std::atoi(argv[++i]);
        else if (s == "--dir" && more)
            a.dir = argv[++i];
        else if (s == "--tgd" && more)
            a.tgd = argv[++i];
        else if (s == "--host" && more)
            a.host = argv[++i];
        else if (s == "--prolog" && more)
            a.prolog = argv[++i];
        else if (s == "--markdown" && more)
            a.markdown = argv[++i];
        else if (s == "--cases" && more) {
            std::istringstream ids(argv[++i]);
            for (std::string id; std::getline(ids, id, ',');) a.only.push_back(id);
        } else
            return false;
    }
    return a.rounds > 0;
}

std::string self_path() {
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw std::runtime_error("cannot find this program's path");
    return p.string();
}

int bench(const Args& a) {
    Setup s;
    s.sizes = a.tiny ? Sizes::tiny() : Sizes::full();
    s.tgd = std::filesystem::absolute(a.tgd).string();
    s.host = std::filesystem::absolute(a.host).string();
    s.self = self_path();
    s.no_gnuplot = a.no_gnuplot;
    s.gnuplot = !a.no_gnuplot && on_path("gnuplot");
    s.only = a.only;
    require(on_path("gs"), "Ghostscript (gs) is needed to check the PostScript documents");
    std::string dir = a.dir;
    if (dir.empty()) {
        std::string tmpl = (std::filesystem::temp_directory_path() / "tgd-bench.XXXXXX").string();
        require(mkdtemp(tmpl.data()) != nullptr, "cannot make a scratch directory");
        dir = tmpl;
    }
    s.layout.dir = std::filesystem::absolute(dir).string();
    tgdbench::generate(s.layout, s.sizes, tgdbench::read_lines(a.prolog));

    std::vector<Case> cases = make_cases(s);
    try {
        for (int round = 1; round <= a.rounds; ++round) {
            std::fprintf(stderr, "round %d of %d:", round, a.rounds);
            for (auto& c : cases) {
                std::fprintf(stderr, " %s", c.id.c_str());
                // tgd and its yardsticks take turns at going first; in round
                // 1 tgd goes first, as the floors write what it wrote.
                std::vector<Program*> order;
                for (auto& p : c.programs) order.push_back(&p);
                if (round % 2 == 0) std::reverse(order.begin(), order.end());
                for (Program* pp : order) {
                    Program& p = *pp;
                    if (!p.note.empty()) continue;
                    p.samples.push_back(p.run());
                    // Every round must produce the same output.
                    require(p.samples.back().output == p.samples.front().output,
                            c.id + ": " + p.name + " made " + number(p.samples.back().output) + " bytes, in round 1 " +
                                number(p.samples.front().output));
                }
            }
            std::fprintf(stderr, "\n");
        }
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string(e.what()) + "\n(the files are kept in " + s.layout.dir + ")");
    }

    std::vector<Figure> list = figures(cases, s.sizes);
    for (std::FILE* out : {stdout, a.markdown.empty() ? nullptr : std::fopen(a.markdown.c_str(), "w")}) {
        if (out == nullptr) continue;
        std::fprintf(out, "%s data, medians of %d interleaved rounds; times of whole processes.\n\n",
                     a.tiny ? "Tiny" : "Full", a.rounds);
        print_machine(out, s);
        print_cases(out, cases);
        std::fprintf(out, "\n");
        if (a.tiny)
            std::fprintf(out,
                         "\nThe targets hold for the full data; on tiny data they only show that every case ran.\n\n");
        print_figures(out, list);
        if (out != stdout) std::fclose(out);
    }
    if (a.dir.empty()) std::filesystem::remove_all(s.layout.dir);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--write-buffered") return write_buffered(argv[2], argv[3]);
    Args args;
    if (!parse(argc, argv, args)) {
        usage();
        return 2;
    }
    try {
        return bench(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "\ntgd-bench: %s\n", e.what());
        return 1;
    }
}
