// Printing the current frame on the LaserJet: the display list replayed
// into the device's own drawing operations.
#include <variant>

#include "displaylist/replay.h"
#include "laserjet/hplj.h"
#include "laserjet/laserjet.h"

namespace tgd {

namespace {

class LaserJetDevice : public ReplayDevice {
public:
    // A list that does not begin with an init entry starts the page with
    // the parameters in force.
    explicit LaserJetDevice(bool start_itself) : start_itself_(start_itself) {}

    bool refused() const { return refused_; }

    void begin_pass() override {
        if (start_itself_ && !refused_) refused_ = hplj_init(bgrp_.data(), GraphicsParameters::kSize) == 0;
    }
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

private:
    bool start_itself_;
    bool refused_ = false;
};

bool starts_with_init(const DisplayList* list) {
    return list != nullptr && !list->entries.empty() && std::holds_alternative<InitRecord>(list->entries.front());
}

}  // namespace

int to_laserjet() {
    LaserJetDevice device(!starts_with_init(current_displaylist.get()));
    const int result = print_displaylist(device);
    return device.refused() ? 0 : result;
}

}  // namespace tgd
