// Brushing ('b') and spinning ('r') of a point cloud.
#include <algorithm>
#include <cstring>
#include <vector>

#include "driver/abandon.h"
#include "driver/device.h"
#include "driver/misc.h"
#include "driver/wire.h"

namespace tgd {

namespace {
// count labels, each sent as (int len; text(len)), packed one after the
// other into one block of total bytes.  Labels that run past the block
// the host announced are cut at its end (the rest is still read, so that
// the protocol stays in step); each offset is where its label starts,
// never past the block.
struct PackedLabels {
    Block<int> offsets;
    Block<char> bytes;
};

PackedLabels read_labels(int total, long long count) {
    PackedLabels labels{Block<int>(count), Block<char>(total)};
    long long at = 0;
    for (long long i = 0; i < count && !wire_eof(); ++i) {
        int len = read_int();
        std::string text = read_text(len > 0 ? len : 0);
        long long start = std::min<long long>(at, static_cast<long long>(labels.bytes.size()));
        labels.offsets[static_cast<std::size_t>(i)] = static_cast<int>(start);
        long long room = static_cast<long long>(labels.bytes.size()) - start;
        std::memcpy(labels.bytes.data() + start, text.data(),
                    static_cast<std::size_t>(std::min<long long>(room, static_cast<long long>(text.size()))));
        at += static_cast<long long>(text.size());
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
    Block<int> zero(nr);

    InterruptWindow window;
    require_live("Error:  No brushing in background\n");
    brushing = 1;
    int mode = 1;
    int count = 0;
    zbrshz_(data.data(), nr, nc, p, q, variables.offsets.data(), variables.bytes.data(),
            points.offsets.data(), points.bytes.data(), work.data(), zero.data(), flags.data(), count,
            nullptr, mode);
    window.close();

    std::vector<int> selected;
    for (int i = 0; i < nr && static_cast<int>(selected.size()) < count; ++i) {
        if (flags[static_cast<std::size_t>(i)] != 0) selected.push_back(i + 1);
    }
    reply_byte(which);
    reply_int(static_cast<int>(selected.size()));
    if (!selected.empty()) reply_bytes(selected.data(), static_cast<long long>(selected.size() * sizeof(int)));
    brushing = 0;
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
    spinning = 1;
    int mode = 1;
    zspinz_(data.data(), nr, nc, variables.offsets.data(), variables.bytes.data(), option, values.data(),
            nullptr, mode);
    window.close();
    reply_byte(which);
    spinning = 0;
}

}  // namespace tgd
