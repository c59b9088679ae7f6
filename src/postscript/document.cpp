// The PostScript document: output file, header, prolog and setup, pages,
// trailer and the print command.
#include "postscript/device.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/messages.h"
#include "base/process_state.h"
#include "postscript/encode.h"
#include "settings/mktempx.h"
#include "settings/print_command.h"
#include "settings/printer.h"
#include "settings/ps_par.h"

namespace tgd {

PostScriptDevice pscplot;

namespace {
const StateReset reset_state{[] {
    ps_reset_device();  // closes both contexts' files
    ps_hooks = PsHooks::defaults();
}};
}  // namespace

namespace {

constexpr const char* kDefaultTemplate = "ps.out.XXXXXXX";

// TGD_POSTSCRIPT_TIME, when it holds a number of seconds since the epoch,
// replaces the clock, so that the creation date of a document can be fixed
// from outside (end-to-end tests set it, with TZ=UTC).
std::time_t clock_now() {
    if (const char* fixed = std::getenv("TGD_POSTSCRIPT_TIME"); fixed && *fixed) {
        char* end = nullptr;
        long long seconds = std::strtoll(fixed, &end, 10);
        if (*end == '\0') return static_cast<std::time_t>(seconds);
    }
    return std::time(nullptr);
}

// The variable named "*()", else the password entry's comment or login
// name, else the login name of the terminal; empty when none is known.
std::string system_user_name() {
    if (const char* named = std::getenv("*()"); named && *named) return named;
    if (const passwd* pw = ::getpwuid(::getuid())) {
        if (pw->pw_gecos && *pw->pw_gecos) return pw->pw_gecos;
        if (pw->pw_name && *pw->pw_name) return pw->pw_name;
    }
    if (const char* login = ::getlogin()) return login;
    return {};
}

}  // namespace

PsHooks PsHooks::defaults() { return {clock_now, system_user_name, run_shell_command}; }
PsHooks ps_hooks = PsHooks::defaults();

void PostScriptDevice::reset() {
    master = PsContext{};
    pgraph = PsContext{};
    context = &master;
    static_cast<PsDocumentState&>(*this) = PsDocumentState{};
}

void ps_reset_device() { pscplot.reset(); }

void PostScriptDevice::get_pscplot_context() {
    context = CurrentPrinterParameters.do_printgraph != 0 ? &pgraph : &master;
}

// The working context is the chosen context itself, so there is nothing to
// copy back.
void PostScriptDevice::put_pscplot_context() {}

std::string ps_creation_date() {
    std::time_t t = ps_hooks.now ? ps_hooks.now() : std::time(nullptr);
    char buf[64];
    if (::ctime_r(&t, buf) == nullptr) return "\n";
    return buf;
}

void layout_figure(std::array<float, 4>& region, bool landscape, bool maximize, float& w, float& h, float& fig_w,
                   float& fig_h) {
    float aw = (region[2] - region[0]) * 0.99f;
    float ah = (region[3] - region[1]) * 0.99f;
    if (landscape) std::swap(aw, ah);
    w *= 72.0f;
    h *= 72.0f;
    // Unusable sizes (zero, negative, not a number) take the whole area.
    if (!(w > 0.0f) || !std::isfinite(w)) w = aw;
    if (!(h > 0.0f) || !std::isfinite(h)) h = ah;
    if (w / h > aw / ah) {
        if (!maximize && w < aw) aw = w;  // never enlarged unless asked
        h = h * aw / w;
        w = aw;
    } else {
        if (!maximize && h < ah) ah = h;
        w = w * ah / h;
        h = ah;
    }
    fig_w = w;
    fig_h = h;
    float pw = landscape ? h : w, ph = landscape ? w : h;
    region[0] += (region[2] - region[0] - pw) / 2.0f;
    region[1] += (region[3] - region[1] - ph) / 2.0f;
    region[2] = region[0] + pw;
    region[3] = region[1] + ph;
    w /= 72.0f;
    h /= 72.0f;
}

void PostScriptDevice::ps_page_layout(int landscape, float& width, float& height) {
    layout_figure(region, landscape != 0, CurrentPrinterParameters.maximize > 0, width, height, fig_widthPS,
                  fig_heightPS);
}

// Step 4 of the start: unset printer parameters from the host's options.
void PostScriptDevice::complete_printer_parameters() {
    PrinterParameters& pp = CurrentPrinterParameters;
    if (pp.onefile == -1) pp.onefile = ps_par.onefile == -1 ? 0 : ps_par.onefile;
    if (pp.horizontal == -1) pp.horizontal = ps_par.landscape == -1 ? 1 : ps_par.landscape;
    if (pp.print == -1) pp.print = pp.file.empty() ? 1 : (pp.onefile || appending) ? 0 : 1;
    std::string_view command = c_text(ps_par.print_command);
    if (pp.postscript_command.empty() && !command.empty()) pp.postscript_command = command;
    if (pp.rasters == -1) pp.rasters = ps_par.rasters;
    if (pp.maximize == -1) pp.maximize = ps_par.maximize;
}

// Steps 5 to 7: figure geometry, page layout and text size.
void PostScriptDevice::lay_out_figure() {
    const PrinterParameters& pp = CurrentPrinterParameters;
    fig_xminD = bgrp_(bg::device_xmin);
    fig_yminD = bgrp_(bg::device_ymin);
    fig_widthD = bgrp_(bg::device_xmax) - bgrp_(bg::device_xmin);
    fig_heightD = bgrp_(bg::device_ymax) - bgrp_(bg::device_ymin);
    float w = fig_widthD * bgrp_(bg::device_raster_width);
    float h = fig_heightD * bgrp_(bg::device_raster_height);
    const float h0 = h;
    if (ps_par.width > 0.0f) w = ps_par.width;
    if (pp.width > 0.0f) w = pp.width;
    if (ps_par.height > 0.0f) h = ps_par.height;
    if (pp.height > 0.0f) h = pp.height;
    ps_page_layout(pp.horizontal, w, h);
    const float scale = static_cast<float>(pp.rasters) / 72.0f;
    fig_widthPS *= scale;
    fig_heightPS *= scale;
    if (ps_par.point_size > 0.0f) {
        text_size = ps_par.point_size;
    } else {
        // The cell's height scaled with the figure, in single precision
        // from left to right; a figure without natural height keeps the
        // cell's size.
        const float cell = bgrp_(bg::cell_height) * bgrp_(bg::device_raster_height) * 72.0f;
        const float scaled = cell * h / h0;
        text_size = h0 != 0.0f && std::isfinite(h / h0) ? scaled : cell;
    }
}

namespace {

// Step 11: the user's file, the next name of the host's template, or a
// unique default name.
std::string choose_file_name() {
    const PrinterParameters& pp = CurrentPrinterParameters;
    if (!pp.file.empty()) return pp.file;
    std::string_view outfile = c_text(ps_par.outfile);
    if (!outfile.empty())
        if (std::optional<std::string> name = mktempseq(outfile, ps_par.outfile_seq); name && !name->empty())
            return *name;
    std::string templ = kDefaultTemplate;
    return mktempx(templ);
}

}  // namespace

void PostScriptDevice::write_fresh_document() {
    const PrinterParameters& pp = CurrentPrinterParameters;
    DocumentInfo info;
    info.landscape = pp.horizontal;
    info.onefile = pp.onefile;
    info.region = region;
    info.rasters = pp.rasters;
    info.point_size = text_size;
    info.user = ps_hooks.user_name ? ps_hooks.user_name() : std::string();
    info.creation_date = ps_creation_date();
    std::string text;
    ps_header(text, ps_par, info);
    ps_prolog(text, ps_par);
    ps_setup(text, ps_par, info);
    emit(text);
}

int PostScriptDevice::ps_init(const float* par, int npar) {
    get_pscplot_context();
    PsContext& ctx = *context;
    region = ps_par.region;
    const auto& r = region;
    if (!(r[0] < r[2] && r[1] < r[3])) {
        dmerro_(dmformat("Illegal imageable region: %g %g %g %g", r[0], r[1], r[2], r[3]));
        return 0;
    }
    if (par != bgrp_.data()) std::copy_n(par, std::clamp(npar, 0, GraphicsParameters::kSize), bgrp_.data());
    complete_printer_parameters();
    lay_out_figure();
    ps_reset_path();
    if (ctx.started) return 1;

    const PrinterParameters& pp = CurrentPrinterParameters;
    if (!pp.onefile && !appending) dmstat_("Starting to make postscript file.");
    ctx.file_name = choose_file_name();
    const bool writable = !ctx.file_name.empty() && ::access(ctx.file_name.c_str(), W_OK) == 0;
    appending = writable ? ps_par.append : 0;

    if (appending) {
        if (!ps_continue_document()) return 0;
    } else {
        ps_par.pver_found = prolog_defines_pver(ps_par) ? 1 : 0;
        (void)ctx.out.open(ctx.file_name, "w");
    }
    if (!ctx.out.is_open()) {
        dmerro_(dmformat("cannot open file '%s' in current directory\nwill try to open file in /tmp.",
                         ctx.file_name.c_str()));
        // Created exclusively: a link planted under the chosen name is
        // never followed.
        std::string name = std::string("/tmp/") + kDefaultTemplate;
        if (!ctx.out.adopt(create_unique_file(name))) {
            dmerro_(dmformat("Cannot open file '%s'.", name.c_str()));
            return 0;
        }
        ctx.file_name = name;
    }
    if (!appending) {
        write_fresh_document();
        ctx.pages = 0;
        ctx.page_pending = 1;
    }
    ctx.started = 1;
    put_pscplot_context();
    return 1;
}

void PostScriptDevice::ps_begin_page() {
    PsContext& ctx = *context;
    if (ctx.page_pending == 0) {
        ps_sync_attributes(false);
        return;
    }
    ctx.pages += 1;
    std::string text = "\n%%Page: ";
    append_d(text, ctx.pages);
    text += ' ';
    append_d(text, ctx.pages);
    text += '\n';
    if (ps_par.dsc_level >= 300)
        text +=
            CurrentPrinterParameters.horizontal ? "%%PageOrientation: Landscape\n" : "%%PageOrientation: Portrait\n";
    std::fill(ps_par.font_on_page.begin(), ps_par.font_on_page.end(), 0);
    text += "A\n";
    emit(text);
    ps_sync_attributes(true);
    ctx.page_pending = 0;
    put_pscplot_context();
}

void PostScriptDevice::ps_zflshz() {
    ps_end_path(0);
    context->out.flush();
}

void PostScriptDevice::ps_zejecz() {
    ps_end_path(0);
    ps_zflshz();
}

namespace {

// Step 5 of the wrap-up: hand the file to the print command, or say where
// it is.
void print_or_report(const std::string& file) {
    const PrinterParameters& pp = CurrentPrinterParameters;
    if (!pp.postscript_command.empty() && pp.print) {
        // The user's command stays as given; the file name is quoted so
        // that blanks or shell characters in it cannot run anything.
        std::string command = print_command_line(pp.postscript_command, file);
        dmstat_(dmformat("Finished postscript file, executing command \"%s\".", command.c_str()));
        int status = ps_hooks.run_command ? ps_hooks.run_command(command) : 0;
        if (status != 0) dmerro_(dmformat("Possible error in executing that commmand (status=%d).", status));
    } else {
        dmstat_(dmformat("Generated postscript file \"%s\".", file.c_str()));
    }
}

}  // namespace

void PostScriptDevice::ps_zwrapz() {
    PsContext& ctx = *context;
    if (!ctx.started) return;  // no document was begun
    ps_end_path(0);
    if (ctx.page_pending == 0) emit("Z\n");
    const PrinterParameters& pp = CurrentPrinterParameters;
    if ((pp.onefile || appending) && pp.eject_op) {
        // The file stays open: the next frame begins the next page.
        ctx.out.flush();
        ctx.page_pending = 1;
        put_pscplot_context();
        ps_reset_path();
        return;
    }
    std::string text;
    ps_trailer(text, ps_par, ctx.pages);
    emit(text);
    ctx.pages = 0;
    if (ctx.out.close())
        print_or_report(ctx.file_name);
    else
        dmerro_(dmformat("Error writing postscript file \"%s\".", ctx.file_name.c_str()));
    ctx.started = 0;
    ctx.page_pending = 1;
    put_pscplot_context();
    ps_reset_path();
}

}  // namespace tgd
