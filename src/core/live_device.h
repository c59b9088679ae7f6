// The live device: what the kernel draws on while the host draws, the
// graphics terminal in this driver.  The kernel reaches it only through
// this interface; start-up installs the terminal.
//
// Coordinates are device rasters unless a method says otherwise.  Every
// method writes what it draws at once; one that blocks (a frame prompt, the
// locator) may abandon the operation with OperationAbandoned, and nothing
// else leaves a method by an exception.
#pragma once

namespace tgd {

class LiveDevice {
public:
    virtual ~LiveDevice() = default;

    // Describes the device into bgrp_(1..39) and bgrp_(drawn) (its class,
    // raster size and resolution, character cell, whether it turns text),
    // resets the device and forgets what it was told.  par[0], when npar >
    // 0, is the host's choice whether a new frame waits for Return.
    virtual void describe(const float* par, int npar) = 0;
    // Moves the pen to (x, y).  First sends line_type and color from bgrp_,
    // each only when it differs from what the device was last told.
    virtual void seek(int x, int y) = 0;
    // Draws from the pen to (x, y) in the attributes sent by seek.
    virtual void line(int x, int y) = 0;
    // One character at the pen, turned by angle degrees, in the text size
    // of bgrp_ (char_expansion / char_size_unit) and its char_case_mode.
    virtual void glyph(char ch, float angle) = 0;
    // A polygon through n vertices in user coordinates, filled in the
    // colour of bgrp_, clipped to the clip window.  Refuses fewer than 3 or
    // more than 148 vertices with a kernel report; reports a clipped
    // polygon as out of bounds.
    virtual void polygon(const float* x, const float* y, int n) = 0;
    // Forgets every remembered setting, so that the next primitive sends
    // them all again; writes nothing.
    virtual void forget() = 0;
    // Ends the frame and clears the device for the next one.
    virtual void eject() = 0;
    // The host ends its drawing.
    virtual void wrap_up() = 0;
    // One locator position (rasters) and its key code; key < 0 when no
    // position could be read, ix and iy are then left as they were.
    virtual void locate(int& ix, int& iy, int& key) = 0;
};

// Installs the device the kernel draws on; it must outlive its use.
void install_live_device(LiveDevice& device);
// The installed device; until one is installed, a device that describes
// nothing, draws nothing and reads no position.
LiveDevice& live_device();

}  // namespace tgd
