// The LaserJet page: start, output file, PCL job and page, print step.
#include "laserjet/device.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "base/chars.h"
#include "base/messages.h"
#include "base/process_state.h"
#include "settings/mktempx.h"
#include "settings/print_command.h"
#include "settings/printer.h"

namespace tgd {

LaserJetDevice hplj_page;

namespace {
const StateReset reset_state{[] { hplj_page = LaserJetDevice{}; }};
}  // namespace

namespace {

// Completes the unset printer parameters with the device's defaults; the
// record keeps them for later frames of this print.
void complete_parameters(PrinterParameters& p) {
    if (p.horizontal == -1) {
        p.horizontal = env_horizontal();
        if (p.horizontal == -1) p.horizontal = 1;
    }
    if (p.rasters == -1) {
        p.rasters = env_laserjet_dpi();
        if (p.rasters == -1) p.rasters = 75;
    }
    p.rasters = snap_laserjet_dpi(p.rasters);
    if (p.onefile == -1) {
        p.onefile = env_onefile();
        if (p.onefile == -1) p.onefile = 0;
    }
    if (p.papersize == -1) p.papersize = 2;
    if (p.print == -1) p.print = 1;
    if (p.font == -1) p.font = 4;
}

void hplj_header() {
    const bool reset = TX_isyes(std::getenv("TX_LASERJET_NORESET")) == 0;
    const PrinterParameters& p = CurrentPrinterParameters;
    std::string out;
    pcl_header(out, reset, p.papersize, p.horizontal);
    hplj_page.fp.write(out);
}

// The name of the output file: the user's, the one file, or a new one.
std::string output_name() {
    const PrinterParameters& p = CurrentPrinterParameters;
    if (!p.file.empty()) return p.file;
    if (p.onefile != 0) return "LaserJet.out";
    dmstat_("Starting to make laserjet file.");
    const std::string templ = p.tempfile.empty() ? "lj.out.####.lj" : p.tempfile;
    if (auto name = mktempseq(templ, hplj_page.sequence); name && !name->empty()) return *name;
    std::string unique = "lj.out.XXXXXXX";
    return mktempx(unique);
}

bool hplj_openfile() {
    LaserJetDevice& page = hplj_page;
    page.lj_file_name = output_name();
    if (!page.fp.open(page.lj_file_name, "a")) {
        dmerro_(dmformat("Cannot open file '%s' in current directory. Will try to open a file in /tmp.",
                         page.lj_file_name.c_str()));
        page.lj_file_name = "/tmp/" + page.lj_file_name;
        // Anyone can plant a name in /tmp: a frame is appended only to a
        // file of this user's own, never through a link; a name that is
        // taken otherwise gives way to a new unique file.
        bool refused = false;
        bool opened = page.fp.adopt(open_own_file_append(page.lj_file_name, refused));
        if (!opened && refused) {
            std::string unique = "/tmp/lj.out.XXXXXXX";
            opened = page.fp.adopt(create_unique_file(unique));
            if (opened) page.lj_file_name = unique;
        }
        if (!opened) {
            dmerro_(dmformat("Cannot open file '%s'.", page.lj_file_name.c_str()));
            return false;
        }
    }
    hplj_header();
    return true;
}

void hplj_emitpage() {
    std::string out;
    pcl_page(out, hplj_page.raster, hplj_page.geometry);
    hplj_page.fp.write(out);
}

void hplj_printfile() {
    PrinterParameters& p = CurrentPrinterParameters;
    const std::string& name = hplj_page.lj_file_name;
    if (p.print == 0) {
        dmstat_(dmformat("Generated output file \"%s\".", name.c_str()));
        return;
    }
    if (p.laserjet_command.empty()) p.laserjet_command = env_laserjet_print_command().value_or("lpr -h -r");
    if (p.laserjet_command.empty()) {
        dmstat_(dmformat("Generated laserjet file \"%s\".", name.c_str()));
        return;
    }
    // The command is the user's own; the file name is only ever a word.
    const std::string line = print_command_line(p.laserjet_command, name);
    dmstat_(dmformat("Finished laserjet file, executing command \"%s\".", line.c_str()));
    const int status = run_shell_command(line);
    if (status != 0) dmerro_(dmformat("Possible error in executing print command (status=%d).", status));
}

}  // namespace

int hplj_init(const float* parameters, int count) {
    const int n = std::clamp(count, 0, GraphicsParameters::kSize);
    if (parameters != nullptr && parameters != bgrp_.data()) std::copy_n(parameters, n, bgrp_.v.begin());

    PrinterParameters& p = CurrentPrinterParameters;
    complete_parameters(p);
    LaserJetDevice& page = hplj_page;
    page.geometry = make_page_geometry(p.horizontal != 0, p.papersize, p.rasters, p.maximize);
    try {
        page.raster = PageRaster(page.geometry);
    } catch (const std::bad_alloc&) {
        dmerro_("Cannot allocate enough memory for LaserJet output.");
        return 0;
    }
    if (!hplj_openfile()) {
        page.raster = PageRaster();
        return 0;
    }
    page.active = true;
    return 1;
}

void hplj_zwrapz() {
    LaserJetDevice& page = hplj_page;
    // A page is finished once.
    if (!page.active) return;
    page.active = false;
    if (page.page_blank == 0) hplj_emitpage();
    std::string reset;
    pcl_reset(reset);
    page.fp.write(reset);
    page.fp.flush();
    if (CurrentPrinterParameters.onefile == 0) {
        if (!page.fp.close()) {
            // A file that could not be written completely is not printed.
            dmerro_(dmformat("Cannot write file '%s'.", page.lj_file_name.c_str()));
        } else {
            hplj_printfile();
        }
        page.page_blank = 1;
    } else if (!page.fp.ok()) {
        dmerro_(dmformat("Cannot write file '%s'.", page.lj_file_name.c_str()));
    }
    page.raster = PageRaster();
}

void hplj_zflshz() { hplj_page.fp.flush(); }

}  // namespace tgd
