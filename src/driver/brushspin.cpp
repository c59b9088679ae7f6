// Brushing ('b') and spinning ('r') of a point cloud.  Both are recorded in
// the display list first; the device then works on the entry's own copies.
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/abandon.h"
#include "base/scope.h"
#include "displaylist/displaylist.h"
#include "driver/command_loop.h"
#include "driver/device_hooks.h"
#include "driver/state.h"
#include "driver/wire.h"

namespace tgd {

namespace {
// count labels, each sent as (int len; text(len)), packed one after the
// other into one block of total bytes.  Labels that run past the block
// the host announced are cut at its end and the rest of their bytes is
// read and dropped, so that the protocol stays in step; each offset is
// where its label starts, never past the block.
struct PackedLabels {
    Block<int> offsets;
    Block<char> bytes;
};

void drop_bytes(long long n) {
    constexpr long long kChunk = 4096;
    while (n > 0 && !wire_eof()) {
        long long piece = std::min(n, kChunk);
        read_block<char>(piece);
        n -= piece;
    }
}

PackedLabels read_labels(int total, long long count) {
    PackedLabels labels{Block<int>(count), Block<char>(total)};
    const long long size = static_cast<long long>(labels.bytes.size());
    long long at = 0;
    for (long long i = 0; i < count && !wire_eof(); ++i) {
        long long len = std::max(read_int(), 0);
        long long start = std::min(at, size);
        labels.offsets[static_cast<std::size_t>(i)] = static_cast<int>(start);
        long long kept = std::min(len, size - start);
        Block<char> text = read_block<char>(kept);
        std::memcpy(labels.bytes.data() + start, text.data(), static_cast<std::size_t>(kept));
        drop_bytes(len - kept);
        at += len;
    }
    return labels;
}

long long cells(int nr, int nc) { return nr < 0 || nc < 0 ? -1 : static_cast<long long>(nr) * nc; }

}  // namespace

void op_brush() {
    int nr = read_int();
    int nc = read_int();
    Block<float> data = read_block<float>(cells(nr, nc));
    int p = read_int();
    int q = read_int();
    int lv = read_int();
    PackedLabels variables = read_labels(lv, nc);
    int lp = read_int();
    PackedLabels points = read_labels(lp, nr);
    Block<int> flags = read_block<int>(nr);
    Block<int> work(nr);

    InterruptWindow window;
    require_live("Error:  No brushing in background\n");
    // With the host gone (end of file inside the arguments) nothing is
    // recorded or brushed.
    BrushRecord* entry = nullptr;
    if (!wire_eof()) {
        const ValueKept during{driver.brushing, 1};  // 1 for the length of the device call
        entry = &dbrshz_(data.data(), nr, nc, p, q, lv, lp, variables.offsets.data(), variables.bytes.data(),
                         points.offsets.data(), points.bytes.data(), work.data(), flags.data(), 0, 1);
        zbrshz_(*entry, entry->mode);
    }
    window.close();

    // The selected points, numbered from 1; never more than the device
    // counted, and the count sent is the number of indices that follow.
    std::vector<int> selected;
    for (int i = 0; entry && i < nr && static_cast<int>(selected.size()) < entry->count; ++i) {
        if (entry->flags[static_cast<std::size_t>(i)] != 0) selected.push_back(i + 1);
    }
    reply_byte(driver.which);
    reply_int(static_cast<int>(selected.size()));
    if (!selected.empty())
        reply_bytes(selected.data(), static_cast<long long>(selected.size()) * static_cast<long long>(sizeof(int)));
}

void op_spin() {
    int nr = read_int();
    int nc = read_int();
    Block<float> data = read_block<float>(cells(nr, nc));
    int lv = read_int();
    PackedLabels variables = read_labels(lv, nc);
    int option = static_cast<signed char>(read_byte());
    Block<int> values = read_block<int>(nr);

    InterruptWindow window;
    require_live("Error:  no spinning in background\n");
    if (!wire_eof()) {  // with the host gone nothing is recorded or spun
        const ValueKept during{driver.spinning, 1};
        SpinRecord& entry = dspinz_(data.data(), nr, nc, lv, variables.offsets.data(), variables.bytes.data(), option,
                                    values.data(), 1);
        zspinz_(entry, entry.mode);
    }
    window.close();
    reply_byte(driver.which);
}

}  // namespace tgd
