// The benchmark's workloads: the data sets, and the operation streams that
// the host sends tgd for each case, generated deterministically into a
// scratch directory.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tgdbench {

// Sizes of the data sets.  The full sizes are the ones the performance
// figures are stated for; the tiny ones keep a CI run to a few seconds.
struct Sizes {
    std::size_t walk_points;     // W1: one polyline, a random walk
    std::size_t scatter_points;  // W2: scattered points drawn as markers
    std::size_t image_side;      // W3: image_side x image_side cells
    std::size_t short_lines;     // W4: this many two-point polylines
    std::size_t round_trips;     // 'W' operations sent one at a time

    static Sizes full() { return {1'000'000, 100'000, 500, 100'000, 100'000}; }
    static Sizes tiny() { return {10'000, 1'000, 50, 1'000, 1'000}; }
};

// Where the generator puts things under the scratch directory.
struct Layout {
    std::string dir;

    std::string data(const std::string& name) const { return dir + "/data/" + name; }    // float32 files
    std::string ops(const std::string& stream) const { return dir + "/ops/" + stream; }  // .ops and .idx
    std::string out(const std::string& name) const { return dir + "/out/" + name; }      // outputs of a run
};

// The operation streams, by name.  Each is written as NAME.ops (the exact
// bytes for tgd's descriptor 15) and NAME.idx (one line per operation:
// offset, length, reply length and the reply's first byte, '-' when the
// reply has no letter).
//
//   w1-ps, w1-lj      W1 printed to PostScript / LaserJet 300 dpi
//   w2-ps, w2-lj      W2 as octagon markers, printed
//   w3-ps, w3-lj      W3 as an image, printed
//   w1-draw           W1 drawn (live or recorded only, by the environment)
//   w1-deferred       W1 recorded into a deferred-graphics file
//   w4-draw           W4: many two-point polylines
//   round-trips       'W' operations, answered one at a time
//
// Outputs named in the streams: out/w1-ps.ps, out/w1-lj.lj, out/w2-ps.ps,
// out/w2-lj.lj, out/w3-ps.ps, out/w3-lj.lj, out/w1.dgf.
//
// Data files for the yardsticks: data/w1.bin and data/w2.bin (x, y float32
// pairs), data/w3.bin (image_side^2 float32 values, row by row).
void generate(const Layout& layout, const Sizes& sizes, const std::vector<std::string>& prolog);

// One operation of a stream, as recorded in its index.
struct OpIndex {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::size_t reply_length = 0;
    char reply_letter = '-';
};

std::vector<OpIndex> read_index(const std::string& path);

}  // namespace tgdbench
