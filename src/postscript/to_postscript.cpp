// Printing with the PostScript method: the display list replayed into the
// PostScript device.
#include "displaylist/replay.h"
#include "postscript/postscript.h"
#include "postscript/pscplot.h"

namespace tgd {

namespace {

class PostScriptReplay final : public ReplayDevice {
public:
    void lines(const LinesRecord& r) override { ps_zlinsz(r.x.data(), r.y.data(), r.n()); }
    void polygon(const PolygonRecord& r) override { ps_zpolyz(r.x.data(), r.y.data(), r.n()); }
    void points(const PointsRecord& r) override { ps_zpntsz(r.x.data(), r.y.data(), r.n()); }
    void segments(const SegmentsRecord& r) override {
        ps_zsegsz(r.x1.data(), r.y1.data(), r.x2.data(), r.y2.data(), r.n());
    }
    void text(const TextRecord& r) override { ps_ztextz(r.x, r.y, r.text.data(), r.n(), r.justification); }
    void diff(const DiffRecord& r) override { ps_amdiff(r.v.data(), r.n()); }
    bool init(const InitRecord& r) override { return ps_init(r.v.data(), r.n()) != 0; }
    void brush(BrushRecord&) override { ps_zbrshz(); }
    void spin(SpinRecord&) override { ps_zspinz(); }
    void image(const ImageRecord& r) override {
        // The image routine may widen the value range; the entry keeps its own.
        float lo = r.a, hi = r.b;
        ps_zimagz(r.x.data(), r.y.data(), r.z.data(), static_cast<int>(r.x.size()), static_cast<int>(r.y.size()),
                  static_cast<int>(r.z.size()), lo, hi, r.c);
    }
    void flush() override { ps_zflshz(); }
    void wrap_up() override { ps_zwrapz(); }
};

}  // namespace

int to_postscript() {
    PostScriptReplay device;
    return print_displaylist(device);
}

}  // namespace tgd
