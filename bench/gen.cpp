// Deterministic data and operation streams for the benchmark.  The numbers
// come from a fixed-seed generator of our own (the standard distributions
// differ between library versions), so every machine measures the same
// bytes.
#include "workloads.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace tgdbench {

namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t state_;
};

// Everything is drawn inside the user square [0.05, 0.95], well inside the
// window, so no segment is clipped and no out-of-bounds report is written.
constexpr double kLow = 0.05, kHigh = 0.95;

struct Points {
    std::vector<float> x, y;
};

// W1: a random walk over time, as a long series is plotted: x advances
// evenly, y takes unit steps up or down, scaled into the square.
Points random_walk(std::size_t n) {
    Random random(1);
    Points p;
    p.x.resize(n);
    p.y.resize(n);
    std::vector<double> walk(n);
    double v = 0, lo = 0, hi = 0;
    for (std::size_t i = 0; i < n; ++i) {
        v += random.uniform() < 0.5 ? -1.0 : 1.0;
        walk[i] = v;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    const double span = hi > lo ? hi - lo : 1.0;
    for (std::size_t i = 0; i < n; ++i) {
        p.x[i] = static_cast<float>(kLow + (kHigh - kLow) * static_cast<double>(i) /
                                               static_cast<double>(std::max<std::size_t>(n - 1, 1)));
        p.y[i] = static_cast<float>(kLow + (kHigh - kLow) * (walk[i] - lo) / span);
    }
    return p;
}

// W2: points scattered evenly over the square.
Points scatter(std::size_t n, std::uint64_t seed) {
    Random random(seed);
    Points p;
    for (std::size_t i = 0; i < n; ++i) {
        p.x.push_back(static_cast<float>(kLow + (kHigh - kLow) * random.uniform()));
        p.y.push_back(static_cast<float>(kLow + (kHigh - kLow) * random.uniform()));
    }
    return p;
}

// W3: a smooth field with a little noise, row by row from the bottom, so
// that equal colours form runs of varied length.
std::vector<float> field(std::size_t side) {
    Random random(3);
    std::vector<float> z;
    z.reserve(side * side);
    const double scale = 500.0 / static_cast<double>(side);  // the same picture at every size
    for (std::size_t j = 0; j < side; ++j)
        for (std::size_t i = 0; i < side; ++i) {
            double u = static_cast<double>(i) * scale, v = static_cast<double>(j) * scale;
            z.push_back(static_cast<float>(std::sin(u / 40.0) * std::cos(v / 30.0) + 0.1 * (random.uniform() - 0.5)));
        }
    return z;
}

void make_dir(const std::string& path) {
    if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) throw std::runtime_error("cannot create " + path);
}

void write_file(const std::string& path, const void* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) throw std::runtime_error("cannot create " + path);
    bool ok = std::fwrite(data, 1, size, f) == size;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) throw std::runtime_error("cannot write " + path);
}

// x, y pairs as the yardstick reads them: '%float32%float32' records.
void write_pairs(const std::string& path, const Points& p) {
    std::vector<float> pairs;
    pairs.reserve(2 * p.x.size());
    for (std::size_t i = 0; i < p.x.size(); ++i) {
        pairs.push_back(p.x[i]);
        pairs.push_back(p.y[i]);
    }
    write_file(path, pairs.data(), pairs.size() * sizeof(float));
}

// An operation stream being built: the wire bytes and the index of its
// operations.
class Stream {
public:
    // Each operation is begun, its bytes appended, then ended with the
    // reply it must get.
    void begin() { start_ = bytes_.size(); }
    void end(std::size_t reply_length, char reply_letter) {
        index_.push_back({start_, bytes_.size() - start_, reply_length, reply_letter});
    }

    void byte(char c) { bytes_.push_back(c); }
    void letters(const char* s) { bytes_.append(s); }
    void int32(std::int32_t v) { raw(&v, sizeof v); }
    void real(float v) { raw(&v, sizeof v); }
    void reals(const std::vector<float>& v) { raw(v.data(), v.size() * sizeof(float)); }
    void text(const std::string& s) {
        int32(static_cast<std::int32_t>(s.size()));
        bytes_.append(s);
    }

    // 'I': the reply is the parameter block of 200 reals, no letter.
    void initialise() {
        begin();
        byte('I');
        end(800, '-');
    }
    // 'z' 'p' 'A' 'p': the PostScript prolog the documents call.
    void prolog(const std::vector<std::string>& lines) {
        begin();
        letters("zpAp");
        int32(static_cast<std::int32_t>(lines.size()));
        for (const auto& l : lines) text(l);
        end(1, 'z');
    }
    // 'z' 'p' 'r': the page region, US letter in points.
    void region() {
        begin();
        letters("zpr");
        reals({0, 0, 612, 792});
        end(1, 'z');
    }
    void change(const std::vector<float>& pairs) {
        begin();
        byte('D');
        int32(static_cast<std::int32_t>(pairs.size()));
        reals(pairs);
        end(1, 'D');
    }
    // 'L' or 'P': answered with the letter and the last point.
    void xy(char op, const float* x, const float* y, std::size_t n) {
        begin();
        byte(op);
        int32(static_cast<std::int32_t>(n));
        raw(x, n * sizeof(float));
        raw(y, n * sizeof(float));
        end(9, op);
    }
    // 'i': cell boundaries, values, and the range and missing value.
    void image(const std::vector<float>& x, const std::vector<float>& y, const std::vector<float>& z, float zlow,
               float zhigh, float missing) {
        begin();
        byte('i');
        int32(static_cast<std::int32_t>(x.size()));
        reals(x);
        int32(static_cast<std::int32_t>(y.size()));
        reals(y);
        int32(static_cast<std::int32_t>(z.size()));
        reals(z);
        reals({zlow, zhigh, missing});
        end(1, 'i');
    }
    // 's' with the 13 printing options.
    void print(const std::string& options) {
        begin();
        byte('s');
        text(options);
        end(1, 's');
    }
    // 'C' mode 2: record into file without asking about frames.
    void deferred(const std::string& file) {
        begin();
        byte('C');
        int32(2);
        text(file);
        end(1, 'C');
    }
    void simple(char op) {
        begin();
        byte(op);
        end(1, op);
    }

    void save(const std::string& base) const {
        write_file(base + ".ops", bytes_.data(), bytes_.size());
        std::ofstream idx(base + ".idx");
        for (const auto& op : index_)
            idx << op.offset << ' ' << op.length << ' ' << op.reply_length << ' ' << op.reply_letter << '\n';
        if (!idx.flush()) throw std::runtime_error("cannot write " + base + ".idx");
    }

private:
    void raw(const void* p, std::size_t n) { bytes_.append(static_cast<const char*>(p), n); }

    std::string bytes_;
    std::vector<OpIndex> index_;
    std::size_t start_ = 0;
};

// Printing options: no print command is run (the print flag is 0, and the
// command given is 'true' in case one were).
std::string postscript_options(const std::string& file) {
    return "-1 -1 0 -1 -1 0 0 0 postscript true '" + file + "' '' ''";
}
std::string laserjet_options(const std::string& file) {
    return "-1 -1 0 300 -1 0 0 0 laserjet true '" + file + "' '' letter";
}

// The two printed versions of one drawing: the drawing operations given by
// draw, then a print to PostScript (after the prolog and region) or to the
// LaserJet.
template <class Draw>
void printed(const Layout& layout, const std::string& name, const std::vector<std::string>& prolog, Draw draw) {
    Stream ps;
    ps.initialise();
    ps.prolog(prolog);
    ps.region();
    draw(ps);
    ps.print(postscript_options(layout.out(name + "-ps.ps")));
    ps.save(layout.ops(name + "-ps"));

    Stream lj;
    lj.initialise();
    draw(lj);
    lj.print(laserjet_options(layout.out(name + "-lj.lj")));
    lj.save(layout.ops(name + "-lj"));
}

std::vector<float> boundaries(std::size_t cells) {
    std::vector<float> b;
    for (std::size_t i = 0; i <= cells; ++i)
        b.push_back(static_cast<float>(kLow + (kHigh - kLow) * static_cast<double>(i) / static_cast<double>(cells)));
    return b;
}

}  // namespace

void generate(const Layout& layout, const Sizes& sizes, const std::vector<std::string>& prolog) {
    for (const char* sub : {"", "/data", "/ops", "/out"}) make_dir(layout.dir + sub);

    const Points walk = random_walk(sizes.walk_points);
    write_pairs(layout.data("w1.bin"), walk);
    printed(layout, "w1", prolog, [&](Stream& s) { s.xy('L', walk.x.data(), walk.y.data(), walk.x.size()); });

    Stream draw;
    draw.initialise();
    draw.xy('L', walk.x.data(), walk.y.data(), walk.x.size());
    draw.save(layout.ops("w1-draw"));

    Stream deferred;
    deferred.initialise();
    deferred.deferred(layout.out("w1.dgf"));
    deferred.xy('L', walk.x.data(), walk.y.data(), walk.x.size());
    deferred.simple('X');
    deferred.save(layout.ops("w1-deferred"));

    // Marker 1, the octagon, for the points.
    const Points scattered = scatter(sizes.scatter_points, 2);
    write_pairs(layout.data("w2.bin"), scattered);
    printed(layout, "w2", prolog, [&](Stream& s) {
        s.change({15, 1});
        s.xy('P', scattered.x.data(), scattered.y.data(), scattered.x.size());
    });

    const std::vector<float> z = field(sizes.image_side);
    write_file(layout.data("w3.bin"), z.data(), z.size() * sizeof(float));
    const auto [lo, hi] = std::minmax_element(z.begin(), z.end());
    const std::vector<float> edges = boundaries(sizes.image_side);
    printed(layout, "w3", prolog, [&](Stream& s) { s.image(edges, edges, z, *lo, *hi, -1e30f); });

    // W4: short lines, each its own operation, streamed one after another.
    const Points ends = scatter(2 * sizes.short_lines, 4);
    Stream lines;
    lines.initialise();
    for (std::size_t i = 0; i < sizes.short_lines; ++i) {
        const float x[2] = {ends.x[2 * i], ends.x[2 * i + 1]}, y[2] = {ends.y[2 * i], ends.y[2 * i + 1]};
        lines.xy('L', x, y, 2);
    }
    lines.save(layout.ops("w4-draw"));

    Stream trips;
    for (std::size_t i = 0; i < sizes.round_trips; ++i) trips.simple('W');
    trips.save(layout.ops("round-trips"));
}

std::vector<OpIndex> read_index(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<OpIndex> index;
    OpIndex op;
    while (in >> op.offset >> op.length >> op.reply_length >> op.reply_letter) index.push_back(op);
    return index;
}

}  // namespace tgdbench
