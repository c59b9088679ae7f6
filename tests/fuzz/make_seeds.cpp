// Writes the seed corpus of the command-loop fuzz target: real sessions as
// the host sends them, each a file whose first byte chooses the fuzz
// target's environment.  Run as: fuzz_seeds DIRECTORY
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "fuzz/session_bytes.h"

namespace {

// Environment bits of the fuzz target's first byte.
constexpr std::uint8_t kBatch = 1, kLaserJetMethod = 2, kOneFile = 4, kBadValues = 0x80;

class Session : public tgdtest::BasicSessionBytes<Session> {
public:
    explicit Session(std::uint8_t environment) { raw(std::string(1, static_cast<char>(environment))); }

    Session& init() { return op('M').i32(1).real(0.0f); }
    Session& change(const std::vector<float>& pairs) {
        return op('D').i32(static_cast<std::int32_t>(pairs.size())).reals(pairs);
    }
    Session& segments() {
        return op('S').i32(2).reals({0.1f, 0.2f}).reals({0.1f, 0.8f}).reals({0.9f, 0.8f}).reals({0.1f, 0.2f});
    }
    Session& label(const std::string& s, float justification = 0.5f) {
        return op('T').i32(static_cast<std::int32_t>(s.size())).real(0.5f).real(0.9f).real(justification).raw(s);
    }
    Session& image() {
        return op('i').i32(4).reals({0.6f, 0.7f, 0.8f, 0.9f}).i32(3).reals({0.1f, 0.2f, 0.3f}).i32(6)
            .reals({1, 2, 3, 4, 5, 6}).reals({1.0f, 6.0f, -1.0f});
    }
    Session& drawing() {
        xy('L', {0, 1, 1, 0, 0}, {0, 0, 1, 1, 0});
        change({10, 3, 15, 2, 8, 2});
        xy('P', {0.2f, 0.4f, 0.6f}, {0.2f, 0.3f, 0.2f});
        xy('G', {0.1f, 0.3f, 0.2f}, {0.7f, 0.7f, 0.9f});
        segments();
        label("tgd", 0.5f);
        return image();
    }

    void write(const std::string& dir, const std::string& name) const {
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes();
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    // Every drawing operation, a refresh, a new frame, the wrap-up and the
    // operations without a real device behind them.
    Session(0).init().drawing().op('d').op('E').op('W')
        .op('h').i32(3).i32(2).ints({1, 2}).i32(1).ints({7})
        .op('c').i32(2).ints({1, 2}).ints({3, 4}).ints({5, 6}).ints({7, 8})
        .raw("mt").raw("mg").raw("zl").i32(3).raw("abc").op('X')
        .write(dir, "drawing");

    // Locator, brushing, spinning and menu, answered from an empty input.
    Session(0).op('I')
        .op('Q').i32(3).raw("qw").raw("qi").raw("qx").raw("mx").op('F')
        .op('b').i32(2).i32(2).reals({1, 2, 3, 4}).i32(1).i32(2).i32(4).text("ab").text("cd")
            .i32(4).text("p1").text("p2").ints({0, 1})
        .op('r').i32(2).i32(1).reals({1, 2}).i32(2).text("v1").op('x').ints({1, 2})
        .raw("zm").i32(3).i32(17).ints({6, 6, 5}).raw(std::string("Title\0alpha\0beta\0", 17))
        .op('d')
        .write(dir, "interactive");

    // The same in batch use: the refusals.
    Session(kBatch).init().xy('L', {0, 1}, {0, 1}).op('Q').i32(2).raw("qw")
        .op('b').i32(1).i32(1).reals({1}).i32(1).i32(1).i32(0).i32(0).ints({0})
        .op('r').i32(1).i32(1).reals({1}).i32(0).op('x').ints({0})
        .op('d').op('X')
        .write(dir, "batch");

    // Every PostScript option, then two PostScript printouts: one to a
    // named file, one handed to a print command.
    Session ps(0);
    ps.init().drawing();
    ps.ps_option('r').reals({0, 0, 612, 792});
    ps.ps_option('A').op('p').strings({"%%BeginProlog", "/A {} def", "/Z {} def", "%%EndProlog"});
    ps.ps_option('A').op('s').strings({"%%BeginSetup", "%%EndSetup"});
    ps.ps_option('A').op('B').strings({"% bu"});
    ps.ps_option('A').op('b').strings({"% bw"});
    ps.ps_option('f').strings({"Helvetica", "Courier"});
    ps.ps_option('t').text(std::string("A title\0", 8));
    ps.ps_option('C').text(std::string("lpr\0", 4));
    ps.ps_option('F').i32(1);
    ps.ps_option('P').real(12.0f);
    ps.ps_option('h').real(5.0f);
    ps.ps_option('w').real(7.0f);
    ps.ps_option('l').op('h').i32(1);
    ps.ps_option('l').op('m').i32(1);
    ps.ps_option('v').i32(100);
    ps.ps_option('R').i32(300);
    ps.ps_option('c').op('b').i32(1).i32(3).reals({1, 1, 0.9f});
    ps.ps_option('c').op('g').i32(2).i32(3).reals({0, 0, 0, 1, 0, 0});
    ps.ps_option('c').op('i').i32(2).i32(3).reals({0, 0, 1, 1, 1, 0});
    ps.ps_option('a').i32(0);
    ps.ps_option('Z').i32(0);
    ps.print("-1 -1 0 300 -1 0 0 0 postscript '' 'figure.ps' '' ''");
    ps.print("0 -1 1 75 1 0 4000 3000 postscript 'lpr -Pps' '' '' a4");
    ps.write(dir, "postscript");

    // An earlier document continued: appending on, the same file printed
    // twice with a new frame between, at both document levels.
    Session append(0);
    append.init().drawing();
    append.ps_option('r').reals({18, 18, 594, 774});
    append.ps_option('A').op('p').strings({"/PVer 2 def"});
    append.ps_option('l').op('a').i32(1);
    append.ps_option('o').text(std::string("doc.##.ps\0", 10));
    append.print("-1 -1 0 300 -1 0 0 0 postscript '' 'doc.ps' '' ''");
    append.op('E').xy('L', {0, 1}, {1, 0}).label("second", 0.0f);
    append.ps_option('d').i32(200);
    append.print("-1 -1 0 300 -1 0 0 0 postscript '' 'doc.ps' '' ''");
    append.print("-1 1 0 300 -1 0 0 0 postscript '' '' '' ''");
    append.print("-1 1 0 300 -1 0 0 0 postscript '' '' '' ''");
    append.write(dir, "append");

    // LaserJet printouts: a named file, numbered files, one file for all
    // frames, a print command; the method also from the environment.
    Session lj(0);
    lj.init().drawing().label("turned", 1.0f).change({14, 90, 48, 90});
    lj.print("-1 -1 0 150 -1 0 5000 4000 laserjet '' 'page.lj' '' letter");
    lj.print("0 0 0 300 1 0 0 0 laserjet '' '' 'frame.###.lj' legal");
    lj.op('E').xy('G', {0.1f, 0.9f, 0.5f}, {0.1f, 0.1f, 0.9f});
    lj.print("1 1 1 75 0 0 0 0 laserjet 'lpr -Plj' '' '' a4");
    lj.print("1 1 1 75 0 0 0 0 laserjet 'lpr -Plj' '' '' a4");
    lj.write(dir, "laserjet");
    Session(kLaserJetMethod | kOneFile).init().drawing().print("").print("").op('X').write(dir, "laserjet_env");
    Session(kBadValues).init().drawing().print("").write(dir, "bad_environment");

    // Deferred graphics: recording without asking over two frames, then
    // asking about each frame, then off at the wrap-up.
    Session(0).init()
        .op('C').i32(2).text("frames.dgf").drawing().op('E').xy('L', {0, 1}, {0, 1}).op('E')
        .op('C').i32(1).text("asked.dgf").xy('P', {0.5f}, {0.5f}).op('E').op('E')
        .op('C').i32(2).text("").label("temporary").op('X')
        .write(dir, "deferred");

    // Hostile values: negative and zero counts, reals that are not finite,
    // parameter entries outside the block, a short image, end of file
    // inside an operation.
    Session(0).init().raw("zpr").reals({0, 0, 612, 792})
        .op('L').i32(-1).op('P').i32(0).op('Q').i32(-5).op('c').i32(-2)
        .change({0, 1, 201, 5, -3, 2, nan, 1, 37, nan, 38, inf, 10, -0.0f, 18, 1e38f})
        .xy('L', {nan, inf, -inf, 1e38f}, {0, 1, -0.0f, -1e38f})
        .op('T').i32(3).real(nan).real(inf).real(1e38f).raw("abc")
        .op('i').i32(3).reals({0, 1, 2}).i32(3).reals({0, 1, 2}).i32(1).reals({5}).reals({nan, inf, 0})
        .print("-1 -1 0 75 -1 0 0 0 laserjet '' 'hostile.lj' '' ''")
        .print("-1 -1 0 75 -1 0 0 0 postscript '' 'hostile.ps' '' ''")
        .op('S').i32(1000).real(0.5f)
        .write(dir, "hostile");
    return 0;
}
