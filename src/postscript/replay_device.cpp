// The PostScript device as a replay target: each entry goes to the
// device's drawing routine of its kind.
#include "postscript/device.h"

namespace tgd {

void PostScriptDevice::lines(const LinesRecord& r) { ps_zlinsz(r.x.data(), r.y.data(), r.n()); }
void PostScriptDevice::polygon(const PolygonRecord& r) { ps_zpolyz(r.x.data(), r.y.data(), r.n()); }
void PostScriptDevice::points(const PointsRecord& r) { ps_zpntsz(r.x.data(), r.y.data(), r.n()); }

void PostScriptDevice::segments(const SegmentsRecord& r) {
    ps_zsegsz(r.x1.data(), r.y1.data(), r.x2.data(), r.y2.data(), r.n());
}

void PostScriptDevice::text(const TextRecord& r) { ps_ztextz(r.x, r.y, r.text.data(), r.n(), r.justification); }
void PostScriptDevice::diff(const DiffRecord& r) { ps_amdiff(r.v.data(), r.n()); }
bool PostScriptDevice::init(const InitRecord& r) { return ps_init(r.v.data(), r.n()) != 0; }
void PostScriptDevice::brush(BrushRecord&) { ps_zbrshz(); }
void PostScriptDevice::spin(SpinRecord&) { ps_zspinz(); }

void PostScriptDevice::image(const ImageRecord& r) {
    // The image routine may widen the value range; the entry keeps its own.
    float lo = r.a, hi = r.b;
    ps_zimagz(r.x.data(), r.y.data(), r.z.data(), static_cast<int>(r.x.size()), static_cast<int>(r.y.size()),
              static_cast<int>(r.z.size()), lo, hi, r.c);
}

void PostScriptDevice::flush() { ps_zflshz(); }
void PostScriptDevice::wrap_up() { ps_zwrapz(); }

}  // namespace tgd
