// Printer parameters: the record that the print operation fills from its
// options for one print and that the PostScript and LaserJet devices read
// when they start a file, its accessors and the environment checks.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tgd {

// -1 (or an empty text) marks a field as unset; each consumer completes
// unset fields with its own defaults.
struct PrinterParameters {
    // Longest text each field keeps; longer values are cut when stored.
    static constexpr std::size_t method_max = 31;
    static constexpr std::size_t command_max = 127;
    static constexpr std::size_t file_max = 127;
    static constexpr std::size_t papername_max = 31;

    std::string method;              // "postscript", "laserjet", ... or empty
    std::string postscript_command;  // prints a PostScript file
    std::string laserjet_command;    // prints a LaserJet file
    std::string file;                // output file chosen by the user
    std::string tempfile;            // template for output file names
    int horizontal = -1;             // 1 landscape, 0 portrait
    int onefile = -1;                // 1: every printout goes to one file
    int print = -1;                  // 1: hand the finished file to the print command
    int maximize = -1;               // 1: enlarge the figure to fill the page
    int rasters = -1;                // dots per inch
    int papersize = -1;              // LaserJet page-size code
    std::string papername;           // paper name from the options
    float width = -1.0f;             // figure width in inches, used when above 0
    float height = -1.0f;            // figure height in inches, used when above 0
    int do_printgraph = 1;           // PostScript: use the printing context
    int font = -1;                   // LaserJet font number
    int eject_op = 0;                // one-file mode: finishing a frame keeps the file open

    bool operator==(const PrinterParameters&) const = default;
};

// The one record of the process.
extern PrinterParameters CurrentPrinterParameters;

// Keep a whole copy of the record (one save slot: saves do not nest) and
// bring it back; restoring without a saved copy changes nothing.
void save_pparms();
void restore_pparms();

// Applies a printing-options text of 13 tokens: horizontal, onefile, print,
// rasters, maximize, (unused), width and height in thousandths of an inch,
// method, print command, file, tempfile, paper name.  1 when applied, 0
// (nothing changed) when the text has fewer than 13 tokens.
[[nodiscard]] int pparms(std::string_view options);

// Setters: a null text (std::nullopt) or a value out of range gives 0 and
// changes nothing, else 1.  Getters complete unset fields from the host's
// PostScript options and the environment as noted.
void PrSetEjectOp(int v);
int PrGetEjectOp();
void PrSetPrintgraphFlag(int v);
int PrGetPrintgraphFlag();

int PrSetLandscapeMode();
int PrSetPortraitMode();
[[nodiscard]] int PrSetLandscapeFlag(int v);
int PrGetLandscapeMode();  // field, ps_par (method postscript), TX_PRINT_ORIENTATION, 1

[[nodiscard]] int PrSetCommand(std::optional<std::string_view> s);  // both commands
[[nodiscard]] int PrSetLaserJetCommand(std::optional<std::string_view> s);
[[nodiscard]] int PrSetPostScriptCommand(std::optional<std::string_view> s);
std::string PrGetLaserJetCommand();    // field, TX_LASERJET_PRINT_COMMAND, "lpr -h -r"
std::string PrGetPostScriptCommand();  // field, else ps_par print command (method postscript)

[[nodiscard]] int PrSetOutputFilename(std::optional<std::string_view> s);
std::string PrGetOutputFilename();
[[nodiscard]] int PrSetOutputTempfilename(std::optional<std::string_view> s);
std::string PrGetOutputTempfilename();  // field, else ps_par outfile (method postscript)

// The first three characters choose the method ("las", "pos", "sun", "X10",
// "X11"); an empty name empties it; 0 for anything else.
[[nodiscard]] int PrSetMethod(std::string_view s);
std::string PrGetMethod();                      // sets an empty method from TX_PRINTGRAPH_METHOD, else "postscript"
std::optional<std::string> PrGetPrinterType();  // "laserjet" or "postscript", else none

int PrSetPrintFiles();
int PrSetDontPrintFiles();
[[nodiscard]] int PrSetPrintFilesFlag(int v);
int PrGetPrintFiles();

int PrSetOneOutputFile();
int PrSetTempOutputFiles();
[[nodiscard]] int PrSetOnefileFlag(int v);
int PrGetOnefile();  // field, else ps_par onefile (method postscript)

[[nodiscard]] int PrSetRasters(int v);  // -1, 75, 100, 150 or 300
int PrGetRasters();                     // field, ps_par rasters (method postscript), TX_LASERJET_DPI, 75

[[nodiscard]] int PrSetPapersize(std::string_view name);  // papername is not changed
std::string PrGetPapersize();                             // paper name of the code; empty when not in the table

int PrSetMaximize();
int PrSetDontMaximize();
[[nodiscard]] int PrSetMaximizeFlag(int v);
int PrGetMaximize();  // field, else ps_par maximize (method postscript)

// Dumps the record on standard error.
void print_pparms();

// Environment checks: each reads its variable at every call; a bad value is
// reported as an error and counts as unset.
int env_horizontal();                                     // TX_PRINT_ORIENTATION: 1 landscape, 0 portrait, -1
int env_laserjet_dpi();                                   // TX_LASERJET_DPI: 75, 100, 150, 300, -1
int env_onefile();                                        // TX_PRINTGRAPH_ONEFILE: 1, 0, -1
std::optional<std::string> env_method();                  // TX_PRINTGRAPH_METHOD: full method name
std::optional<std::string> env_laserjet_print_command();  // TX_LASERJET_PRINT_COMMAND if non-empty

}  // namespace tgd
