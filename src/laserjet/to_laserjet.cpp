// Printing the current frame on the LaserJet: the display list replayed
// into the device's own drawing operations.
#include "displaylist/replay.h"
#include "laserjet/hplj.h"
#include "laserjet/laserjet.h"

namespace tgd {

namespace {

class LaserJetDevice : public ReplayDevice {
public:
    void lines(const LinesRecord& r) override {
        const int n = r.n();
        hplj_zlinsz(r.x.data(), r.y.data(), &n);
    }
    void polygon(const PolygonRecord& r) override {
        const int n = r.n();
        hplj_zpolyz(r.x.data(), r.y.data(), &n);
    }
    void points(const PointsRecord& r) override {
        const int n = r.n();
        hplj_zpntsz(r.x.data(), r.y.data(), &n);
    }
    void segments(const SegmentsRecord& r) override {
        const int n = r.n();
        hplj_zsegsz(r.x1.data(), r.y1.data(), r.x2.data(), r.y2.data(), &n);
    }
    void text(const TextRecord& r) override {
        const int n = r.n();
        hplj_ztextz(&r.x, &r.y, r.text.c_str(), &n, &r.justification);
    }
    void diff(const DiffRecord& r) override {
        const int n = r.n();
        hplj_amdiff(r.v.data(), &n);
    }
    bool init(const InitRecord& r) override { return hplj_init(r.v.data(), r.n()) != 0; }
    void brush(BrushRecord&) override { hplj_zbrshz(); }
    void spin(SpinRecord&) override { hplj_zspinz(); }
    void image(const ImageRecord& r) override {
        const int nx = static_cast<int>(r.x.size()), ny = static_cast<int>(r.y.size());
        const int nz = static_cast<int>(r.z.size());
        hplj_zimagz(r.x.data(), r.y.data(), r.z.data(), &nx, &ny, &nz, &r.a, &r.b, &r.c);
    }
    void flush() override { hplj_zflshz(); }
    void wrap_up() override { hplj_zwrapz(); }
};

}  // namespace

int to_laserjet() {
    LaserJetDevice device;
    return print_displaylist(device);
}

}  // namespace tgd
