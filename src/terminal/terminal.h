// The live graphics terminal: escape sequences on descriptor 2 and the
// locator read from standard input.
#pragma once

#include <string_view>

#include "core/live_device.h"

namespace tgd {

// The HP 2648-style terminal as the live device.  It remembers what it was
// last told; the stale markers match no real position, colour, size, angle
// or line type, so the next primitive sends that setting again.
class Hp2648Terminal final : public LiveDevice {
public:
    static constexpr int kStalePen = -17000;
    static constexpr int kStaleColor = 1 << 30;
    static constexpr float kStale = 1e38f;

    int eject_wait = 1;  // > 0: a new frame prompts and waits for Return
    bool batch = false;  // batch use: nobody answers the prompt, so it is not shown
    int pen_x = kStalePen;
    int pen_y = kStalePen;
    int cur_color = kStaleColor;  // last pen colour code sent
    float cur_size = kStale;      // last text-size ratio sent
    float cur_angle = kStale;     // last text angle sent, degrees
    float cur_lty = kStale;       // last line type sent

    // Forget everything remembered; nothing is written.
    void invalidate() {
        pen_x = pen_y = kStalePen;
        cur_color = kStaleColor;
        cur_size = cur_angle = cur_lty = kStale;
    }

    void describe(const float* par, int npar) override;
    void seek(int x, int y) override;
    void line(int x, int y) override;
    void glyph(char ch, float angle) override;
    void polygon(const float* x, const float* y, int n) override;
    void forget() override { invalidate(); }
    void eject() override;
    void wrap_up() override {}
    void locate(int& ix, int& iy, int& key) override;

    // Text size and direction, each sent only when changed.
    void send_text_size();
    void send_text_direction(float angle);
    // One polygon vertex; first is cleared once used.
    void polygon_vertex(int x, int y, int& first);

private:
    void send_pen_color(int c);
};

// The one terminal of the process.
extern Hp2648Terminal hp2648_;

// The terminal's routines under their own names: the drawing routines
// forward to hp2648_; the locator and the output routines below are what
// its methods use.

// Device description and state reset; sends the device reset.
void zparmz_(const float* par, int npar);

// Sends line type and colour when changed, then moves the pen.
void zseekz_(int x, int y);
// Draws from the pen to (x, y).
void zlinez_(int x, int y);
// One character at the pen position, turned by angle degrees.
void zptchz_(char ch, float angle);
// Text size and direction, each sent only when changed.
void hp26sz_();
void hp26rt_(float angle);

// Filled polygon through n vertices in user coordinates.
void zpolyz_(const float* x, const float* y, int n);
// One polygon vertex; first is cleared once used.
void zptout_(int x, int y, int& first);

// New frame, forget remembered state, wrap up.
void zejecz_();
void zflshz_();
void zwrapz_();

// One locator position and key code (key < 0 when the reply did not parse).
void zquxyz_(int& ix, int& iy, int& key);

// Writes the low byte of each of the n codes to descriptor 2 in one write;
// zoutwz_ then waits for a newline on standard input.
void zoutrz_(const int* codes, int n);
void zoutwz_(const int* codes, int n);
// The same for a sequence already held as bytes.
void zoutrz_(std::string_view bytes);
void zoutwz_(std::string_view bytes);

}  // namespace tgd
