#include "settings/printer.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/messages.h"
#include "base/process_state.h"
#include "settings/paper.h"
#include "settings/ps_par.h"

namespace tgd {

PrinterParameters CurrentPrinterParameters;

namespace {

PrinterParameters& pp = CurrentPrinterParameters;

// The single save slot.
std::optional<PrinterParameters> saved_pparms;

namespace {
const StateReset reset_state{[] {
    CurrentPrinterParameters = PrinterParameters{};
    saved_pparms.reset();
}};
}  // namespace

// Stores a text into a field, cut to the field's size.
void store(std::string& field, std::string_view value, std::size_t max) { field = value.substr(0, max); }

bool method_is_postscript() { return pp.method == "postscript"; }

// Leading blanks, a sign and digits, as atoi reads them, but clamped to the
// int range instead of overflowing.
int to_int(const std::string& token) {
    long v = std::strtol(token.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Splits at white space; a token opened by a quote runs to the same quote
// (or the end of the text) and loses its quotes.
std::vector<std::string> tokens(std::string_view text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && is_space(text[i])) ++i;
        if (i >= text.size()) break;
        if (text[i] == '\'' || text[i] == '"') {
            std::size_t close = text.find(text[i], i + 1);
            if (close == std::string_view::npos) close = text.size();
            out.emplace_back(text.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            std::size_t start = i;
            while (i < text.size() && !is_space(text[i])) ++i;
            out.emplace_back(text.substr(start, i - start));
        }
    }
    return out;
}

int set_flag(int& field, int v) {
    if (v < -1) return 0;
    field = v;
    return 1;
}

int set_text(std::string& field, std::optional<std::string_view> s, std::size_t max) {
    if (!s) return 0;
    store(field, *s, max);
    return 1;
}

}  // namespace

void save_pparms() { saved_pparms = CurrentPrinterParameters; }

void restore_pparms() {
    if (!saved_pparms) return;
    CurrentPrinterParameters = std::move(*saved_pparms);
    saved_pparms.reset();
}

int pparms(std::string_view options) {
    // The options are a C text: a zero byte ends them.
    options = options.substr(0, options.find('\0'));
    std::vector<std::string> t = tokens(options);
    if (t.size() < 13) return 0;

    int* const numbers[] = {&pp.horizontal, &pp.onefile, &pp.print, &pp.rasters};
    for (int i = 0; i < 4; ++i) {
        int v = to_int(t[i]);
        if (v != -1) *numbers[i] = v;
    }
    if (!t[12].empty()) {
        store(pp.papername, t[12], PrinterParameters::papername_max);
        (void)paper_to_ljcode(pp.papername, pp.papersize);  // an unknown name keeps the code
    }
    if (int v = to_int(t[4]); v != -1) pp.maximize = v;
    // Width and height come in thousandths of an inch.
    if (float w = static_cast<float>(to_int(t[6]) / 1000.0); w > 0) pp.width = w;
    if (float h = static_cast<float>(to_int(t[7]) / 1000.0); h > 0) pp.height = h;
    if (!t[8].empty() && !PrSetMethod(t[8])) store(pp.method, t[8], PrinterParameters::method_max);
    if (!t[9].empty()) (void)PrSetCommand(t[9]);
    if (!t[10].empty()) (void)PrSetOutputFilename(t[10]);
    if (!t[11].empty()) (void)PrSetOutputTempfilename(t[11]);
    return 1;
}

void PrSetEjectOp(int v) { pp.eject_op = v; }
int PrGetEjectOp() { return pp.eject_op; }
void PrSetPrintgraphFlag(int v) { pp.do_printgraph = v; }
int PrGetPrintgraphFlag() { return pp.do_printgraph; }

int PrSetLandscapeMode() { return pp.horizontal = 1; }
int PrSetPortraitMode() {
    pp.horizontal = 0;
    return 1;
}
int PrSetLandscapeFlag(int v) { return set_flag(pp.horizontal, v); }

int PrGetLandscapeMode() {
    if (pp.horizontal != -1) return pp.horizontal;
    if (method_is_postscript()) return ps_par.landscape;
    if (int env = env_horizontal(); env != -1) return env;
    return 1;
}

int PrSetCommand(std::optional<std::string_view> s) {
    if (!s) return 0;
    store(pp.laserjet_command, *s, PrinterParameters::command_max);
    store(pp.postscript_command, *s, PrinterParameters::command_max);
    return 1;
}
int PrSetLaserJetCommand(std::optional<std::string_view> s) {
    return set_text(pp.laserjet_command, s, PrinterParameters::command_max);
}
int PrSetPostScriptCommand(std::optional<std::string_view> s) {
    return set_text(pp.postscript_command, s, PrinterParameters::command_max);
}

std::string PrGetLaserJetCommand() {
    if (!pp.laserjet_command.empty()) return pp.laserjet_command;
    if (auto env = env_laserjet_print_command()) return *env;
    return "lpr -h -r";
}

std::string PrGetPostScriptCommand() {
    if (pp.postscript_command.empty() && method_is_postscript() && !c_text(ps_par.print_command).empty())
        return std::string(c_text(ps_par.print_command));
    return pp.postscript_command;
}

int PrSetOutputFilename(std::optional<std::string_view> s) { return set_text(pp.file, s, PrinterParameters::file_max); }
std::string PrGetOutputFilename() { return pp.file; }
int PrSetOutputTempfilename(std::optional<std::string_view> s) {
    return set_text(pp.tempfile, s, PrinterParameters::file_max);
}

std::string PrGetOutputTempfilename() {
    if (pp.tempfile.empty() && method_is_postscript() && !c_text(ps_par.outfile).empty())
        return std::string(c_text(ps_par.outfile));
    return pp.tempfile;
}

int PrSetMethod(std::string_view s) {
    struct Method {
        std::string_view prefix, name;
    };
    static constexpr Method methods[] = {{"las", "laserjet"},
                                         {"pos", "postscript"},
                                         {"sun", "sun_rasterfile"},
                                         {"X10", "X10_screendump"},
                                         {"X11", "X11_screendump"}};
    if (s.empty()) {
        pp.method.clear();
        return 1;
    }
    for (const Method& m : methods) {
        if (s.starts_with(m.prefix)) {
            pp.method = m.name;
            return 1;
        }
    }
    return 0;
}

std::string PrGetMethod() {
    if (pp.method.empty()) pp.method = env_method().value_or("postscript");
    return pp.method;
}

std::optional<std::string> PrGetPrinterType() {
    if (pp.method == "laserjet" || pp.method == "postscript") return pp.method;
    return std::nullopt;
}

int PrSetPrintFiles() { return pp.print = 1; }
int PrSetDontPrintFiles() {
    pp.print = 0;
    return 1;
}
int PrSetPrintFilesFlag(int v) { return set_flag(pp.print, v); }
int PrGetPrintFiles() { return pp.print; }

int PrSetOneOutputFile() { return pp.onefile = 1; }
int PrSetTempOutputFiles() {
    pp.onefile = 0;
    return 1;
}
int PrSetOnefileFlag(int v) { return set_flag(pp.onefile, v); }
int PrGetOnefile() {
    if (pp.onefile == -1 && method_is_postscript()) return ps_par.onefile;
    return pp.onefile;
}

int PrSetRasters(int v) {
    if (v != -1 && v != 75 && v != 100 && v != 150 && v != 300) return 0;
    pp.rasters = v;
    return 1;
}

int PrGetRasters() {
    if (pp.rasters != -1) return pp.rasters;
    if (method_is_postscript()) return ps_par.rasters;
    if (int env = env_laserjet_dpi(); env != -1) return env;
    return 75;
}

int PrSetPapersize(std::string_view name) { return paper_to_ljcode(name, pp.papersize); }

std::string PrGetPapersize() {
    std::string name;
    (void)ljcode_to_paper(pp.papersize, name);  // empty for a code not in the table
    return name;
}

int PrSetMaximize() { return pp.maximize = 1; }
int PrSetDontMaximize() {
    pp.maximize = 0;
    return 1;
}
int PrSetMaximizeFlag(int v) { return set_flag(pp.maximize, v); }
int PrGetMaximize() {
    if (pp.maximize == -1 && method_is_postscript()) return ps_par.maximize;
    return pp.maximize;
}

void print_pparms() {
    // Every getter runs before anything is written: they may report bad
    // environment values themselves.
    const std::string method = PrGetMethod(), file = PrGetOutputFilename(), tempfile = PrGetOutputTempfilename();
    const std::string lj = PrGetLaserJetCommand(), ps = PrGetPostScriptCommand();
    const int horizontal = PrGetLandscapeMode(), onefile = PrGetOnefile(), print = PrGetPrintFiles();
    const int rasters = PrGetRasters();
    const std::string paper = PrGetPapersize();
    std::fprintf(stderr, "method = %s file = %s tempfile = %s\n", method.c_str(), file.c_str(), tempfile.c_str());
    std::fprintf(stderr, "laserjet command = %s\n", lj.c_str());
    std::fprintf(stderr, "postscript command = %s\n", ps.c_str());
    std::fprintf(stderr, "horizontal = %d onefile = %d print = %d\n", horizontal, onefile, print);
    std::fprintf(stderr, "rasters = %d papersize = %s maximize = %d font = %d\n", rasters, paper.c_str(), pp.maximize,
                 pp.font);
    std::fprintf(stderr, "eject_op = %d do_printgraph = %d\n", pp.eject_op, pp.do_printgraph);
    std::fprintf(stderr, "papername = %s\n", pp.papername.c_str());
    std::fprintf(stderr, "width = %g; height = %g\n", static_cast<double>(pp.width), static_cast<double>(pp.height));
    std::fprintf(stderr, "\n");
    std::fflush(stderr);
}

}  // namespace tgd
