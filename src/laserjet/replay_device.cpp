// The LaserJet device as a replay target: each entry goes to the device's
// drawing routine of its kind.
#include "laserjet/device.h"

namespace tgd {

void LaserJetDevice::lines(const LinesRecord& r) {
    const int n = r.n();
    hplj_zlinsz(r.x.data(), r.y.data(), &n);
}

void LaserJetDevice::polygon(const PolygonRecord& r) {
    const int n = r.n();
    hplj_zpolyz(r.x.data(), r.y.data(), &n);
}

void LaserJetDevice::points(const PointsRecord& r) {
    const int n = r.n();
    hplj_zpntsz(r.x.data(), r.y.data(), &n);
}

void LaserJetDevice::segments(const SegmentsRecord& r) {
    const int n = r.n();
    hplj_zsegsz(r.x1.data(), r.y1.data(), r.x2.data(), r.y2.data(), &n);
}

void LaserJetDevice::text(const TextRecord& r) {
    const int n = r.n();
    hplj_ztextz(&r.x, &r.y, r.text.c_str(), &n, &r.justification);
}

void LaserJetDevice::diff(const DiffRecord& r) {
    const int n = r.n();
    hplj_amdiff(r.v.data(), &n);
}

bool LaserJetDevice::init(const InitRecord& r) { return hplj_init(r.v.data(), r.n()) != 0; }
void LaserJetDevice::brush(BrushRecord&) { hplj_zbrshz(); }
void LaserJetDevice::spin(SpinRecord&) { hplj_zspinz(); }

void LaserJetDevice::image(const ImageRecord& r) {
    const int nx = static_cast<int>(r.x.size()), ny = static_cast<int>(r.y.size());
    const int nz = static_cast<int>(r.z.size());
    hplj_zimagz(r.x.data(), r.y.data(), r.z.data(), &nx, &ny, &nz, &r.a, &r.b, &r.c);
}

void LaserJetDevice::flush() { hplj_zflshz(); }
void LaserJetDevice::wrap_up() { hplj_zwrapz(); }

}  // namespace tgd
