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

}  // namespace

void LaserJetDevice::write_header() {
    const bool reset = TX_isyes(std::getenv("TX_LASERJET_NORESET")) == 0;
    const PrinterParameters& p = CurrentPrinterParameters;
    std::string out;
    pcl_header(out, reset, p.papersize, p.horizontal);
    fp_.write(out);
}

// The name of the output file: the user's, the one file, or a new one.
std::string LaserJetDevice::output_name() {
    const PrinterParameters& p = CurrentPrinterParameters;
    if (!p.file.empty()) return p.file;
    if (p.onefile != 0) return "LaserJet.out";
    dmstat_("Starting to make laserjet file.");
    const std::string templ = p.tempfile.empty() ? "lj.out.####.lj" : p.tempfile;
    if (auto name = mktempseq(templ, sequence_); name && !name->empty()) return *name;
    std::string unique = "lj.out.XXXXXXX";
    return mktempx(unique);
}

bool LaserJetDevice::open_file() {
    lj_file_name_ = output_name();
    if (!fp_.open(lj_file_name_, "a")) {
        dmerro_(dmformat("Cannot open file '%s' in current directory. Will try to open a file in /tmp.",
                         lj_file_name_.c_str()));
        lj_file_name_ = "/tmp/" + lj_file_name_;
        // Anyone can plant a name in /tmp: a frame is appended only to a
        // file of this user's own, never through a link; a name that is
        // taken otherwise gives way to a new unique file.
        bool refused = false;
        bool opened = fp_.adopt(open_own_file_append(lj_file_name_, refused));
        if (!opened && refused) {
            std::string unique = "/tmp/lj.out.XXXXXXX";
            opened = fp_.adopt(create_unique_file(unique));
            if (opened) lj_file_name_ = unique;
        }
        if (!opened) {
            dmerro_(dmformat("Cannot open file '%s'.", lj_file_name_.c_str()));
            return false;
        }
    }
    write_header();
    return true;
}

void LaserJetDevice::emit_page() {
    std::string out;
    pcl_page(out, raster_, geometry_);
    fp_.write(out);
}

void LaserJetDevice::print_file() {
    PrinterParameters& p = CurrentPrinterParameters;
    const std::string& name = lj_file_name_;
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

void LaserJetDevice::begin_page(const PageGeometry& g) {
    geometry_ = g;
    raster_ = PageRaster(geometry_);
    active_ = true;
}

int LaserJetDevice::hplj_init(std::span<const float> parameters) {
    const std::size_t n = std::min(parameters.size(), static_cast<std::size_t>(GraphicsParameters::kSize));
    if (parameters.data() != bgrp_.data()) std::copy_n(parameters.begin(), n, bgrp_.v.begin());

    PrinterParameters& p = CurrentPrinterParameters;
    complete_parameters(p);
    try {
        begin_page(make_page_geometry(p.horizontal != 0, p.papersize, p.rasters, p.maximize));
    } catch (const std::bad_alloc&) {
        dmerro_("Cannot allocate enough memory for LaserJet output.");
        return 0;
    }
    if (!open_file()) {
        raster_ = PageRaster();
        active_ = false;
        return 0;
    }
    return 1;
}

void LaserJetDevice::hplj_zwrapz() {
    // A page is finished once.
    if (!active_) return;
    active_ = false;
    if (page_blank_ == 0) emit_page();
    std::string reset;
    pcl_reset(reset);
    fp_.write(reset);
    fp_.flush();
    if (CurrentPrinterParameters.onefile == 0) {
        if (!fp_.close()) {
            // A file that could not be written completely is not printed.
            dmerro_(dmformat("Cannot write file '%s'.", lj_file_name_.c_str()));
        } else {
            print_file();
        }
        page_blank_ = 1;
    } else if (!fp_.ok()) {
        dmerro_(dmformat("Cannot write file '%s'.", lj_file_name_.c_str()));
    }
    raster_ = PageRaster();
}

void LaserJetDevice::hplj_zflshz() { fp_.flush(); }

}  // namespace tgd
