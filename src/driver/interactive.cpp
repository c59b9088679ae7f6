// The operations that need a user at the terminal or abilities the
// terminal lacks: locator input, mode, hook, colour map and menu.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/abandon.h"
#include "base/messages.h"
#include "base/pipe.h"
#include "core/bgrp.h"
#include "driver/command_loop.h"
#include "driver/device_hooks.h"
#include "driver/state.h"
#include "driver/wire.h"
#include "kernel/kernel.h"
#include "terminal/terminal.h"

namespace tgd {

namespace {
constexpr const char* kNoGraphicInput = "Error:  No graphic input in background\n";
}

void op_read_points() {
    int nmax = read_int();
    Block<float> x(nmax);
    Block<float> y(nmax);
    InterruptWindow window;
    require_live(kNoGraphicInput);
    int k = 0;
    if (!wire_eof()) zrdpnz_(x.data(), y.data(), k, nmax);  // with the host gone nobody reads the points
    window.close();
    if (k < 0) k = 0;
    if (k > nmax) k = nmax;
    reply_byte(driver.which);
    reply_int(k);
    if (k > 0) {
        reply_bytes(x.data(), static_cast<long long>(k) * sizeof(float));
        reply_bytes(y.data(), static_cast<long long>(k) * sizeof(float));
    }
}

void op_read_point() {
    if (read_command_byte(driver.nextch) != 1) zzabt_();
    InterruptWindow window;
    require_live(kNoGraphicInput);
    int ix = 0, iy = 0, key = 0;
    if (driver.nextch == 'w') {
        zquxyz_(ix, iy, key);
    } else if (driver.nextch == 'i') {
        zquxyznw_(ix, iy, key);
    } else {
        dmfatl_("Pipe error.");
        dmdiag_(dmformat("Expecting i or w after q, got %c=%o.", driver.nextch,
                         static_cast<unsigned>(static_cast<unsigned char>(driver.nextch))));
        zzabt_();
    }
    // Device position back to user coordinates, in double precision.
    float x = static_cast<float>((static_cast<double>(ix) - bgrp_(bg::x_offset)) / bgrp_(bg::x_scale));
    float y = static_cast<float>((static_cast<double>(iy) - bgrp_(bg::y_offset)) / bgrp_(bg::y_scale));
    window.close();
    reply_byte(driver.which);
    reply_bytes(&x, sizeof x);
    reply_bytes(&y, sizeof y);
    reply_int(key);
}

void op_mode() {
    driver.nextch = read_byte();
    if (driver.nextch != 't' && driver.nextch != 'g') {
        dmfatl_("Pipe error.");
        dmdiag_(dmformat("Bad operation to device driver: %c %c.", 'm', driver.nextch));
        zzabt_();
    }
    zsmodz_(driver.nextch);
    reply_byte(driver.which);
    reply_byte(driver.nextch);
}

void op_hook() {
    int type = read_int();
    int na = read_int();
    Block<int> a = read_block<int>(na > 0 ? na : 0);
    int nb = read_int();
    Block<int> b = read_block<int>(nb > 0 ? nb : 0);
    zhookz_(type, a.data(), na, b.data(), nb);
    reply_byte(driver.which);
    reply_int(na);
    if (na > 0) reply_bytes(a.data(), static_cast<long long>(a.bytes()));
    reply_int(nb);
    if (nb > 0) reply_bytes(b.data(), static_cast<long long>(b.bytes()));
}

void op_color_map() {
    int n = read_int();
    // The first block is obtained before n is looked at: a negative n is
    // an allocation failure.
    Block<int> a = read_block<int>(n);
    if (n > 0) {
        Block<int> b = read_block<int>(n);
        Block<int> c = read_block<int>(n);
        Block<int> d = read_block<int>(n);
        zscolz_(n, a.data(), b.data(), c.data(), d.data());
    }
    reply_byte(driver.which);
}

void op_menu() {
    int n = read_int();
    read_int();  // the byte count of all items: the lengths below decide
    Block<int> lengths = read_block<int>(n);
    // The host sends each item's bytes with its terminating zero counted
    // in its length.  Each item is taken up to its first zero byte and never
    // beyond its own length, so a missing terminator cannot run into the
    // next item; a negative length counts as an empty item.
    // After end of file the lengths that never came are not summed: a
    // count of millions would only touch memory nobody filled.
    long long total = 0;
    if (!wire_eof())
        for (int len : lengths) total += len > 0 ? len : 0;
    Block<char> bytes = read_block<char>(total);
    int selection = 0;  // as when the terminal's input ends
    // With the host gone nobody answers the menu, and the items its count
    // announced are not made either (millions of them cost seconds).
    if (!wire_eof()) {
        std::vector<std::string> items;
        long long at = 0;
        for (int len : lengths) {
            std::size_t size = len > 0 ? static_cast<std::size_t>(len) : 0;
            const char* start = bytes.data() + at;
            items.emplace_back(start, strnlen(start, size));
            at += static_cast<long long>(size);
        }
        InterruptWindow window;
        selection = zmenuz(items);
        window.close();
    }
    reply_byte(driver.which);
    reply_int(4);
    reply_int(selection);
}

}  // namespace tgd
