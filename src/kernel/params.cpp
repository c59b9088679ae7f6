// Starting the kernel: the device's description, then the start values of
// the parameter block and the layout.
#include <initializer_list>

#include "base/fields.h"
#include "core/bgrp.h"
#include "core/live_device.h"
#include "kernel/kernel.h"

namespace tgd {

namespace {

void store(float value, std::initializer_list<int> entries) {
    for (int n : entries) bgrp_(n) = value;
}

}  // namespace

void pbegnz_(const float* params, int n) {
    live_device().describe(params, n);
    defltz_();
    encbfc_.reset();
    encbfl_ = 0;
}

void defltz_() {
    // The device initialisation has set drawn; it keeps that value.
    const float drawn = bgrp_(bg::drawn);
    for (int n = 40; n <= GraphicsParameters::kSize; ++n) bgrp_(n) = 0.0f;
    bgrp_(bg::drawn) = drawn;
    store(1.0f, {8, 9, 10, 11, 18, 41, 43, 45, 47, 49, 54, 62, 64, 79, 80, 81, 82, 83, 89, 91, 93, 94, 105, 110, 113});
    store(0.0f, {14});
    store(79.0f, {15});
    store(5.0f, {57, 58, 106, 111});
    store(7.0f, {59});
    store(126.0f, {60});
    store(-0.02f, {66});
    store(0.2f, {85});
    store(0.5f, {100});
    store(-1.0f, {101});
    store(115.0f, {102, 107});
    store(114.0f, {103, 108});
    store(3.0f, {112});
    store(111.0f, {119});
    store(109.0f, {122});
    store(1e-3f, {130});
    store(2.0f, {131});
    zrdszz_();
    spmarz_(5.1f, 4.1f, 4.1f, 2.1f);
    zscalz_();
    mxpltz_();
}

}  // namespace tgd
