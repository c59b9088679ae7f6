// The LaserJet device as a replay target: each entry goes to the device's
// drawing routine of its kind.
#include "laserjet/device.h"

namespace tgd {

void LaserJetDevice::lines(const LinesRecord& r) { hplj_zlinsz(r.x, r.y); }
void LaserJetDevice::polygon(const PolygonRecord& r) { hplj_zpolyz(r.x, r.y); }
void LaserJetDevice::points(const PointsRecord& r) { hplj_zpntsz(r.x, r.y); }
void LaserJetDevice::segments(const SegmentsRecord& r) { hplj_zsegsz(r.x1, r.y1, r.x2, r.y2); }
void LaserJetDevice::text(const TextRecord& r) { hplj_ztextz(r.x, r.y, r.text, r.justification); }
void LaserJetDevice::diff(const DiffRecord& r) { hplj_amdiff(r.v); }
bool LaserJetDevice::init(const InitRecord& r) { return hplj_init(r.v) != 0; }
void LaserJetDevice::brush(BrushRecord&) { hplj_zbrshz(); }
void LaserJetDevice::spin(SpinRecord&) { hplj_zspinz(); }
void LaserJetDevice::image(const ImageRecord& r) { hplj_zimagz(r.x, r.y, r.z, r.a, r.b, r.c); }
void LaserJetDevice::flush() { hplj_zflshz(); }
void LaserJetDevice::wrap_up() { hplj_zwrapz(); }

}  // namespace tgd
