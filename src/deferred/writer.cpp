// The deferred-graphics writer.  Each record is a keyword line and its data
// lines, built field by field in the encoder's line and written with
// prtfil_.  Frames are appended; a frame the user throws away is
// overwritten by what follows.
#include "deferred/writer.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "base/abandon.h"
#include "base/chars.h"
#include "base/fields.h"
#include "base/messages.h"
#include "base/output_stream.h"
#include "base/process_state.h"
#include "base/record_io.h"
#include "core/bgrp.h"

namespace tgd {

DeferredState cdefer_;

namespace {
const StateReset reset_state{[] {
    cdefer_.close_file();  // without marking it
    cdefer_ = DeferredState{};
}};
}  // namespace

namespace {

int unit() { return cdefer_.unit(); }

void keyword_line(std::string_view word) {
    encs00_(word);
    prtfil_(unit());
}

void keyword_line(std::string_view word, int count) {
    encs00_(word);
    enci00_(count, free_format);
    prtfil_(unit());
}

// "lines", "points", "polygon": the count, then one line per point.
void point_record(std::string_view word, const float* x, const float* y, int n) {
    if (!cdefer_.recording() || n < 0) return;
    keyword_line(word, n);
    for (int i = 0; i < n; ++i) {
        encr00_(x[i]);
        encr00_(y[i]);
        prtfil_(unit());
    }
}

// Reports once that records were lost since the last check: gathered
// writes cannot fail where they are made, and a recording that silently
// lacks its frames would only be found out when it is played back.
void report_lost_records() {
    if (take_write_failure(unit())) dmerro_("Error: Cannot write deferred graphics file");
}

// The answer to "Save last frame? " on standard input; true for no.
bool user_drops_frame() {
    setprm_(0, "Save last frame? ");
    gtline_(0, decbfc_.chars, decbfl_.length);
    decbfl_.unit = -1;  // the answer is this one line
    decbfl_.position = 1;
    decbfl_.final_errors = 0;
    char answer = ' ';
    if (decs00_(0, std::span<char>(&answer, 1)) < 0) return false;  // end of input keeps it
    return answer == 'n' || answer == 'N';
}

// The file name: up to the first NUL within n bytes; none when n <= 0.
std::string file_name(const char* name, int n) {
    if (name == nullptr || n <= 0) return {};
    return std::string(name, strnlen(name, static_cast<std::size_t>(n)));
}

}  // namespace

DeferredFile::DeferredFile(DeferredFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

DeferredFile& DeferredFile::operator=(DeferredFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void DeferredFile::close() {
    if (fd_ >= 0) (void)cclose_(std::exchange(fd_, -1));
}

bool DeferredState::is_recorded(float entry) const {
    if (!(entry >= 1.0f && entry < static_cast<float>(kFlagged + 1))) return false;  // NaN too
    return recorded[static_cast<std::size_t>(static_cast<int>(entry) - 1)] != 0;
}

void DeferredState::open_file(DeferredFile opened) {
    file = std::move(opened);
    par_dump_unit = file.fd();
}

void DeferredState::close_file() {
    file.close();
    par_dump_unit = -1;
}

void winitz_() {
    cdefer_.close_file();
    cdefer_.mode = 0;
    cdefer_.frame_start = 0;
    lfill_(0, cdefer_.recorded.data(), DeferredState::kFlagged);
    for (auto [first, last] : kSavedAttributeRuns) {
        std::fill(cdefer_.recorded.begin() + (first - 1), cdefer_.recorded.begin() + last, 1);
    }
}

void wcopyz_(int mode, const char* name, int n) {
    if (cdefer_.file.is_open()) wclosz_();
    cdefer_.mode = mode;
    if (mode == 1) dmstat_("Deferred Graphics on - ask about each frame");
    if (mode == 2) dmstat_("Deferred Graphics on");

    // An existing file is appended to; a missing one is created.
    const std::string path = file_name(name, n);
    int fd = sopen_(path.c_str(), 2);
    if (fd < 0) fd = sopen_(path.c_str(), 1);
    if (fd < 0) {
        dmerro_("Error: Cannot open deferred graphics file");
        zzabt_();
    }
    cdefer_.open_file(DeferredFile(fd));
    cdefer_.frame_start = cseek_(fd, 0, 2);
}

void wlinsz_(const float* x, const float* y, int n) { point_record("lines", x, y, n); }
void wpntsz_(const float* x, const float* y, int n) { point_record("points", x, y, n); }
void wpolyz_(const float* x, const float* y, int n) { point_record("polygon", x, y, n); }

void wsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n) {
    if (!cdefer_.recording() || n < 0) return;
    keyword_line("segs", n);
    for (int i = 0; i < n; ++i) {
        for (float v : {x1[i], y1[i], x2[i], y2[i]}) encr00_(v);
        prtfil_(unit());
    }
}

void wtextz_(float x, float y, const char* text, int n, float justification) {
    if (!cdefer_.recording() || n < 0) return;
    encs00_("text");
    encr00_(x);
    encr00_(y);
    encr00_(justification);
    enci00_(n, free_format);
    prtfil_(unit());
    if (text != nullptr) {
        // The string is one line: a newline in it is written as a blank,
        // so that the rest of the text cannot pass for a record.
        std::string line(text, static_cast<std::size_t>(n));
        std::replace(line.begin(), line.end(), '\n', ' ');
        encs00_(line);
    }
    prtfil_(unit());
}

void wdiffz_(const float* v, int n) {
    if (!cdefer_.recording() || v == nullptr) return;
    // Whole pairs only: an odd last value has no partner.
    int pairs = 0;
    for (int i = 0; i + 1 < n; i += 2) pairs += cdefer_.is_recorded(v[i]) ? 1 : 0;
    if (pairs == 0) return;
    keyword_line("diff", 2 * pairs);
    for (int i = 0; i + 1 < n; i += 2) {
        if (!cdefer_.is_recorded(v[i])) continue;
        enci00_(static_cast<int>(v[i]), free_format);
        encr00_(v[i + 1]);
        prtfil_(unit());
    }
}

namespace {
class DeferredWriter final : public ReplayDevice {
public:
    void lines(const LinesRecord& r) override { wlinsz_(r.x.data(), r.y.data(), r.n()); }
    void polygon(const PolygonRecord& r) override { wpolyz_(r.x.data(), r.y.data(), r.n()); }
    void points(const PointsRecord& r) override { wpntsz_(r.x.data(), r.y.data(), r.n()); }
    void segments(const SegmentsRecord& r) override {
        wsegsz_(r.x1.data(), r.y1.data(), r.x2.data(), r.y2.data(), r.n());
    }
    void text(const TextRecord& r) override { wtextz_(r.x, r.y, r.text.c_str(), r.n(), r.justification); }
    void diff(const DiffRecord& r) override { wdiffz_(r.v.data(), r.n()); }
    bool init(const InitRecord&) override { return true; }
    void brush(BrushRecord&) override {}
    void spin(SpinRecord&) override {}
    void image(const ImageRecord&) override {}
};
}  // namespace

ReplayDevice& deferred_writer() {
    static DeferredWriter writer;
    return writer;
}

void wejecz_() {
    if (!cdefer_.recording() || bgrp_(bg::no_eject) > 0.0f) return;
    report_lost_records();
    if (wupdtz_() == 0) {
        // The kept frame ends with its "eject": the next frame starts after
        // it, so dropping that frame later cannot erase the line.
        keyword_line("eject");
        cdefer_.frame_start = cseek_(unit(), 0, 1);
    } else {
        amset_();  // an empty or dropped frame: the parameters in force
    }
}

int wupdtz_() {
    const long long pos = cseek_(unit(), 0, 1);
    if (pos == cdefer_.frame_start) return 1;
    if (cdefer_.mode == 1 && user_drops_frame()) {
        (void)cseek_(unit(), cdefer_.frame_start, 0);
        return 1;
    }
    cdefer_.frame_start = pos;
    return 0;
}

void wclosz_() {
    if (!cdefer_.file.is_open()) return;
    (void)wupdtz_();
    // After a dropped frame older lines lie beyond the write position:
    // mark the logical end there and at the physical end.
    const long long cur = cseek_(unit(), 0, 1);
    const long long end = cseek_(unit(), 0, 2);
    if (end != cur) {
        keyword_line("end");
        (void)cseek_(unit(), cur, 0);
        keyword_line("end");
    }
    report_lost_records();
    cdefer_.close_file();
    dmstat_("Deferred Graphics turned off");
}

void wwrapz_() {
    if (cdefer_.mode > 0) wclosz_();
}

}  // namespace tgd
