// The deferred-graphics writer: records the drawing, frame by frame, into a
// text file while deferred graphics are on.  Every routine does nothing
// while they are off or no file is open.
#pragma once

#include <array>
#include <cstdint>

#include "core/replay.h"

namespace tgd {

// The open deferred-graphics file: owns its descriptor and closes it when
// it is replaced or destroyed, so an abandoned operation cannot leak it.
class DeferredFile {
public:
    DeferredFile() = default;
    explicit DeferredFile(int fd) : fd_(fd) {}
    ~DeferredFile() { close(); }
    DeferredFile(DeferredFile&& other) noexcept;
    DeferredFile& operator=(DeferredFile&& other) noexcept;
    DeferredFile(const DeferredFile&) = delete;
    DeferredFile& operator=(const DeferredFile&) = delete;

    int fd() const { return fd_; }
    bool is_open() const { return fd_ >= 0; }
    void close();

private:
    int fd_ = -1;
};

// The writer's state.
struct DeferredState {
    static constexpr int kFlagged = 131;  // parameters 1..131 can be recorded

    DeferredFile file;                              // none while recording is off
    int mode = 0;                                   // 0 off; 1 records and asks about each frame; 2 records
    long long frame_start = 0;                      // offset of the last frame boundary
    std::array<std::int32_t, kFlagged> recorded{};  // 1: changes of parameter i+1 are recorded

    // Descriptor of the open file, -1 when none.
    int unit() const { return file.fd(); }
    bool recording() const { return mode > 0 && file.is_open(); }
    // Whether a change of the entry (truncated toward zero) is recorded.
    bool is_recorded(float entry) const;

    // Takes the file over; the kernel's parameter dump follows it.
    void open_file(DeferredFile opened);
    void close_file();
};
extern DeferredState cdefer_;

// Off, no file, the recorded-parameter set flagged.  A file still open is
// closed without marking it.
void winitz_();
// Start deferred graphics: mode 1 records and asks about each frame, 2
// records without asking, other values open the file without recording.
// name is NUL-terminated, n its length (0 or negative: no name, a fresh
// temporary file).  A file already open is closed first.
void wcopyz_(int mode, const char* name, int n);
void wlinsz_(const float* x, const float* y, int n);
void wpntsz_(const float* x, const float* y, int n);
void wpolyz_(const float* x, const float* y, int n);
void wsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n);
void wtextz_(float x, float y, const char* text, int n, float justification);
// Records the pairs of a change vector whose entries are in the recorded set.
void wdiffz_(const float* v, int n);
// End of frame: "eject" for a kept frame, the parameter dump otherwise.
void wejecz_();
// Settles the frame just finished: 0 when it is kept, 1 when nothing was
// written since the last boundary or the user threw it away.
[[nodiscard]] int wupdtz_();
// Settles the last frame, marks the logical end and closes the file.
void wclosz_();
void wwrapz_();

// The writer as a target of records: the command loop hands it the record
// each drawing operation built.  Lines, points, polygons, segments, text
// and parameter changes are written; the file has no place for the other
// kinds, which are left out.
ReplayDevice& deferred_writer();

}  // namespace tgd
