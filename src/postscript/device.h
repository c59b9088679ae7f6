// The PostScript device: its output contexts, the state of the document
// being written and its drawing routines.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "base/output_stream.h"
#include "core/bgrp.h"
#include "core/replay.h"

namespace tgd {

// One output context: the document being written for it.
struct PsContext {
    OutputStream out;
    int started = 0;  // header written, file open
    int pages = 0;
    int page_pending = 1;  // the next drawing operation begins a page
    std::string file_name;
};

// The path being written, in PostScript units.
struct PsPath {
    int path_count = 0;  // elements since the path began
    int just_moved = 0;  // the next line is written even if it has zero length
    int need_start = 1;  // the path must be (re)started at an absolute point
    int point_mode = 0;  // moves are relative and plot the point procedure
    std::array<int, 2> prev_pt{};
    std::array<int, 2> cur_pt{};
};

// What the PostScript device keeps of the document besides its contexts;
// its defaults are the state of a device that has written nothing.
struct PsDocumentState {
    int appending = 0;  // the current document continues an earlier file
    PsPath path;
    std::array<float, 4> region{};  // the page's bounding box, points
    float fig_xminD = 0, fig_yminD = 0, fig_widthD = 1, fig_heightD = 1;
    float fig_widthPS = 0, fig_heightPS = 0;
    float text_size = 0;                                        // points
    std::array<float, GraphicsParameters::kSize> current_am{};  // attributes as last written
    // The attribute entries of bgrp_, bit for bit, when current_am was last
    // brought up to date: while they are the same nothing is compared.
    static constexpr std::size_t kSyncedEntries = 17;
    std::array<std::uint32_t, kSyncedEntries> synced_entries{};
    bool synced = false;
};

// The PostScript device.  It owns both output contexts (master serves
// printing with do_printgraph clear, pgraph with it set) and everything it
// keeps between its calls.  As a replay target each entry kind goes to the
// drawing routine of its name (ps_zlinsz for lines, ...).
class PostScriptDevice final : public ReplayDevice, private PsDocumentState {
public:
    PostScriptDevice() = default;
    // context points into the device itself.
    PostScriptDevice(const PostScriptDevice&) = delete;
    PostScriptDevice& operator=(const PostScriptDevice&) = delete;

    // Closes both contexts without finishing their documents and clears
    // the device state.
    void reset();

    void lines(const LinesRecord& r) override;
    void polygon(const PolygonRecord& r) override;
    void points(const PointsRecord& r) override;
    void segments(const SegmentsRecord& r) override;
    void text(const TextRecord& r) override;
    void diff(const DiffRecord& r) override;
    [[nodiscard]] bool init(const InitRecord& r) override;
    void brush(BrushRecord& r) override;
    void spin(SpinRecord& r) override;
    void image(const ImageRecord& r) override;
    void flush() override;
    void wrap_up() override;

    // Document (start, pages, end).
    [[nodiscard]] int ps_init(const float* par, int npar);
    void ps_zwrapz();
    void ps_zejecz();
    void ps_zflshz();
    void get_pscplot_context();
    void put_pscplot_context();
    void ps_begin_page();
    void ps_page_layout(int landscape, float& width, float& height);

    // Drawing.
    void ps_zlinsz(const float* x, const float* y, int n);
    void pslins_(const float* x, const float* y, int n);
    void ps_zpolyz(const float* x, const float* y, int n);
    void pspoly_(const float* x, const float* y, int n);
    void ps_zsegsz(const float* x1, const float* y1, const float* x2, const float* y2, int n);
    void ps_zpntsz(const float* x, const float* y, int n);
    void psmark_(const float* x, const float* y, int n, int marker);
    void ps_ztextz(float x, float y, const char* text, int n, float adj);
    void next_character_position(float x, float y, int n, float adj);
    void ps_zimagz(const float* x, const float* y, const float* z, int nx, int ny, int nz, float& zlo, float& zhi,
                   float na);
    void ps_amdiff(const float* v, int n);
    void ps_zbrshz();
    void ps_zspinz();

private:
    using Point = std::array<int, 2>;

    void emit(std::string_view bytes) { context->out.write(bytes); }

    // Document.
    void complete_printer_parameters();
    void lay_out_figure();
    void write_fresh_document();
    // Continues the earlier document in the working context's file.  False
    // when the file could not be renamed (the document cannot start); else
    // the context's stream is open (or failed to open) and appending tells
    // whether the earlier document was continued.
    [[nodiscard]] bool ps_continue_document();
    [[nodiscard]] bool copy_document(std::FILE* in);

    // Path bookkeeping.
    [[nodiscard]] int ps_x(float X) const;
    [[nodiscard]] int ps_y(float Y) const;
    // Makes p, a vertex converted by ps_x and ps_y, the current point;
    // true when it is to be written (forced, or not where the previous
    // point was).
    [[nodiscard]] bool ps_convert_point(Point p, bool force);
    void put_point(Point p, std::string_view op);
    void ps_rel_move();
    // One step of the path to p, by a move or by a line; ps_zseekz and
    // ps_zlinez take device coordinates.  Steps of an operation that has
    // begun its page.
    void move_to(Point p);
    void line_to(Point p);
    void ps_zseekz(float X, float Y);
    void ps_zlinez(float X, float Y);
    void ps_end_path(int limit);
    void ps_reset_path();
    void ps_sync_attributes(bool all);
    void note_font(int f);
    void ps_polyline(const float* x, const float* y, int n, std::string_view end_op, std::string_view rect_op,
                     bool closed);
    template <class Vertex>
    void ps_path(int n, const Vertex& vertex, std::string_view end_op, std::string_view rect_op, bool closed);

    PsContext master;
    PsContext pgraph;
    PsContext* context = &master;  // the working context
};
// The one PostScript device of the process.
extern PostScriptDevice pscplot;

// The clock, the user name and the shell are replaceable so that documents
// and print commands can be checked in tests.
struct PsHooks {
    std::function<std::time_t()> now;
    std::function<std::string()> user_name;
    std::function<int(const std::string&)> run_command;
    static PsHooks defaults();
};
extern PsHooks ps_hooks;

// Closes both contexts without finishing their documents and clears the
// device state (tests start clean with it).
void ps_reset_device();

// Fits a figure of w x h inches into region (points) and centres it there;
// w and h come back in inches, fig_w and fig_h receive the size in points
// in figure orientation.
void layout_figure(std::array<float, 4>& region, bool landscape, bool maximize, float& w, float& h, float& fig_w,
                   float& fig_h);

// The ctime text of the hooks' clock, newline included.
std::string ps_creation_date();

// Marks the fonts named in text as needed.
void ps_mark_fonts(std::string_view text);

}  // namespace tgd
