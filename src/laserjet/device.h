// The LaserJet device: the page state of one frame, the operations that
// draw into its raster, and the PCL file it is written to.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/output_stream.h"
#include "core/replay.h"
#include "laserjet/pcl.h"
#include "laserjet/pen.h"
#include "laserjet/raster.h"

namespace tgd {

struct Glyph;

// Image cells of one row with the same colour, merged into one rectangle.
struct PendingRect {
    int color = 0;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // device integers
};

// The shade last chosen for an image colour.
struct ShadeCache {
    float color = -1.0f;
    int shade = 0;  // percent
    int type = 0;   // PCL fill type: 0 solid black, 2 gray shading
};

// The LaserJet device: the page of one frame and the file it goes to.  As
// a replay target each entry kind goes to the drawing routine of its name
// (hplj_zlinsz for lines, ...).  Coordinate lists are spans of equal
// length; where they differ, the shortest decides.
class LaserJetDevice final : public ReplayDevice {
public:
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

    // Starts a page: copies the parameter words (at most a block's worth)
    // into bgrp_, completes the printer parameters, sizes the raster and
    // opens the file with its header.  1 when ready, 0 (after its message)
    // when it cannot start.
    [[nodiscard]] int hplj_init(std::span<const float> parameters);
    // Emits the page when something was drawn, resets the printer, and
    // unless every frame goes to one file, prints and closes the file.
    void hplj_zwrapz();
    void hplj_zflshz();

    // Positioning in device coordinates.
    void hplj_zseekz(float x, float y);
    void ljseek_(float x, float y) { hplj_zseekz(x, y); }
    void hplj_zlinez(float x, float y);

    // Drawing in user coordinates.
    void hplj_zlinsz(std::span<const float> x, std::span<const float> y);
    void ljlins_(std::span<const float> x, std::span<const float> y) { hplj_zlinsz(x, y); }
    void hplj_zsegsz(std::span<const float> x0, std::span<const float> y0, std::span<const float> x1,
                     std::span<const float> y1);
    void hplj_zpntsz(std::span<const float> x, std::span<const float> y);
    // Marker pch (0..18; others draw nothing) at each point.
    void ljmark_(std::span<const float> x, std::span<const float> y, int pch);
    // Character c at the pen, turned by angle degrees.
    void hplj_zptchz(char c, float angle);
    // The string up to its first NUL, placed by adj along string_angle.
    void hplj_ztextz(float x, float y, std::string_view string, float adj);
    void hplj_zpolyz(std::span<const float> x, std::span<const float> y);
    void ljpoly_(std::span<const float> x, std::span<const float> y) { hplj_zpolyz(x, y); }
    // An image of (x.size() - 1) * (y.size() - 1) cells; z is read column
    // index fastest; the cells past its end are not drawn.
    void hplj_zimagz(std::span<const float> x, std::span<const float> y, std::span<const float> z, float zlo, float zhi,
                     float na);
    void hplj_amdiff(std::span<const float> pairs);

    // Brushing and spinning displays cannot be printed.
    void hplj_zbrshz();
    void hplj_zspinz();

    // Starts drawing on a blank page of geometry g, without a file (the
    // part of hplj_init that follows the parameters).  Throws
    // std::bad_alloc when the raster does not fit.
    void begin_page(const PageGeometry& g);

    const PageGeometry& geometry() const { return geometry_; }
    const PageRaster& raster() const { return raster_; }
    // Between a successful hplj_init and hplj_zwrapz.
    bool active() const { return active_; }
    // Nothing was drawn since the page was last emitted.
    bool blank() const { return page_blank_ != 0; }
    const RasterPen& pen() const { return pen_; }
    Dot pen_position() const { return {pen_x_, pen_y_}; }
    // The file the page goes to; image rectangles are written to it as
    // they come.
    OutputStream& file() { return fp_; }

private:
    // Output file and print step.
    void write_header();
    std::string output_name();
    bool open_file();
    void emit_page();
    void print_file();

    // Drawing helpers.
    void set_line_type(int t) { pen_.dash.set_line_type(t); }
    float font_scale() const;
    void draw_glyph(const Glyph& glyph, long long x, long long y, float kc, float ks);
    void seek_origin() { hplj_zseekz(0.0f, 0.0f); }
    void clipped_segment(const ClipWindow& window, float ax, float ay, float bx, float by, bool first);
    void write_rectangle(int x0, int y0, int x1, int y1);
    void flush_rectangle();
    void offer_cell(int x0, int y0, int x1, int y1, int color);

    PageGeometry geometry_;
    PageRaster raster_;
    bool active_ = false;
    int page_blank_ = 1;
    long long pen_x_ = 0, pen_y_ = 0;
    // Line type (with its dash cursor) and colour in force; they survive
    // from frame to frame, as do the caches below.
    RasterPen pen_;
    float cached_lty_ = 0.0f;
    int rect_stage_ = 0;
    PendingRect pending_;
    ShadeCache shade_;
    std::string lj_file_name_;
    OutputStream fp_;
    int sequence_ = 0;  // for numbered output names
};

// The one LaserJet device of the process.
extern LaserJetDevice hplj_page;

}  // namespace tgd
