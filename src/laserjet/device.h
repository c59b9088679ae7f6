// The LaserJet device: the page state of one frame, the operations that
// draw into its raster, and the PCL file it is written to.
#pragma once

#include <string>

#include "base/output_stream.h"
#include "core/replay.h"
#include "laserjet/pcl.h"
#include "laserjet/pen.h"
#include "laserjet/raster.h"

namespace tgd {

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
// (hplj_zlinsz for lines, ...), all working on the one device hplj_page.
class LaserJetDevice final : public ReplayDevice {
public:
    PageGeometry geometry;
    PageRaster raster;
    bool active = false;  // between a successful hplj_init and hplj_zwrapz
    int page_blank = 1;
    long long pen_x = 0, pen_y = 0;
    // Line type (with its dash cursor) and colour in force; they survive
    // from frame to frame, as do the caches below.
    RasterPen pen;
    float cached_lty = 0.0f;
    int rect_stage = 0;
    PendingRect pending;
    ShadeCache shade;
    std::string lj_file_name;
    OutputStream fp;
    int sequence = 0;  // for numbered output names

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
};

// The one LaserJet device of the process.
extern LaserJetDevice hplj_page;

// Starts a page: copies count parameter words into bgrp_, completes the
// printer parameters, sizes the raster and opens the file with its header.
// 1 when ready, 0 (after its message) when it cannot start.
[[nodiscard]] int hplj_init(const float* parameters, int count);
// Emits the page when something was drawn, resets the printer, and unless
// every frame goes to one file, prints and closes the file.
void hplj_zwrapz();
void hplj_zflshz();

// Positioning in device coordinates.
void hplj_zseekz(const float* x, const float* y);
void ljseek_(const float* x, const float* y);
void hplj_zlinez(const float* x, const float* y);

// Drawing in user coordinates.
void hplj_zlinsz(const float* x, const float* y, const int* n);
void ljlins_(const float* x, const float* y, const int* n);
void hplj_zsegsz(const float* x0, const float* y0, const float* x1, const float* y1, const int* n);
void hplj_zpntsz(const float* x, const float* y, const int* n);
void ljmark_(const float* x, const float* y, const int* n, const int* pch);
void hplj_zptchz(const char* c, const float* angle);
void hplj_ztextz(const float* x, const float* y, const char* string, const int* n, const float* adj);
void hplj_zpolyz(const float* x, const float* y, const int* n);
void ljpoly_(const float* x, const float* y, const int* n);
// An image of (nx - 1) * (ny - 1) cells; z holds nz values (a6), read
// column index fastest; the cells past its end are not drawn.
void hplj_zimagz(const float* x, const float* y, const float* z, const int* nx, const int* ny, const int* a6,
                 const float* zlo, const float* zhi, const float* na);
void hplj_amdiff(const float* pairs, const int* n);

// Brushing and spinning displays cannot be printed.
void hplj_zbrshz();
void hplj_zspinz();

}  // namespace tgd
