// The demonstration session as the host would send it.
#include "demo_session.h"

#include <cmath>
#include <string>
#include <vector>

namespace tgdhost {

namespace {

class Demo {
public:
    Demo(HostSession& tgd, std::FILE* out) : tgd_(tgd), out_(out) {}

    void initialise() {
        tgd_.send_byte('I');
        block_ = tgd_.read_reals(200);
        std::fprintf(out_, "I            -> parameter block: device %gx%g inches, x = %g + %g*u, y = %g + %g*u\n",
                     block_[97], block_[98], block_[35], block_[36], block_[37], block_[38]);
    }

    void parameters(const std::vector<float>& pairs, const char* what) {
        tgd_.send_byte('D');
        tgd_.send_int(static_cast<int>(pairs.size()));
        tgd_.send_reals(pairs);
        std::fprintf(out_, "D %-10s -> %c\n", what, tgd_.read_byte());
    }

    void xy(char op, const std::vector<float>& x, const std::vector<float>& y, const char* what) {
        tgd_.send_byte(op);
        tgd_.send_int(static_cast<int>(x.size()));
        tgd_.send_reals(x);
        tgd_.send_reals(y);
        char reply = tgd_.read_byte();
        if (reply != op) return abandoned(op, reply);
        std::vector<float> last = tgd_.read_reals(2);
        std::fprintf(out_, "%c %-10s -> %c, last point (%g, %g)\n", op, what, reply, last[0], last[1]);
    }

    void segments(const std::vector<float>& x1, const std::vector<float>& y1, const std::vector<float>& x2,
                  const std::vector<float>& y2) {
        tgd_.send_byte('S');
        tgd_.send_int(static_cast<int>(x1.size()));
        for (const auto* v : {&x1, &y1, &x2, &y2}) tgd_.send_reals(*v);
        char reply = tgd_.read_byte();
        if (reply != 'S') return abandoned('S', reply);
        std::vector<float> last = tgd_.read_reals(2);
        std::fprintf(out_, "S segments   -> S, last point (%g, %g)\n", last[0], last[1]);
    }

    void text(float x, float y, float justification, const std::string& s) {
        tgd_.send_byte('T');
        tgd_.send_int(static_cast<int>(s.size()));
        tgd_.send_real(x);
        tgd_.send_real(y);
        tgd_.send_real(justification);
        tgd_.send(s.data(), s.size());
        char reply = tgd_.read_byte();
        if (reply != 'T') return abandoned('T', reply);
        std::vector<float> end = tgd_.read_reals(2);
        std::fprintf(out_, "T %-10s -> T, text ends at (%g, %g)\n", ("\"" + s + "\"").c_str(), end[0], end[1]);
    }

    void image() {
        std::vector<float> x = {0.6f, 0.7f, 0.8f, 0.9f}, y = {0.1f, 0.2f, 0.3f};
        std::vector<float> z = {1, 2, 3, 4, 5, 6};
        tgd_.send_byte('i');
        tgd_.send_int(4);
        tgd_.send_reals(x);
        tgd_.send_int(3);
        tgd_.send_reals(y);
        tgd_.send_int(6);
        tgd_.send_reals(z);
        tgd_.send_reals({1.0f, 6.0f, -1.0f});
        std::fprintf(out_, "i 3x2 cells  -> %c\n", tgd_.read_byte());
    }

    // The PostScript page region and prolog, then 's' printing the frame
    // into file without running a print command.
    void print_postscript(const std::vector<std::string>& prolog, const std::string& file) {
        tgd_.send("zpr", 3);
        tgd_.send_reals({0.0f, 0.0f, 612.0f, 792.0f});
        tgd_.read_byte();
        tgd_.send("zpAp", 4);
        tgd_.send_int(static_cast<int>(prolog.size()));
        for (const auto& line : prolog) tgd_.send_text(line);
        tgd_.read_byte();
        print("postscript '' '" + file + "' '' ''", "PostScript document " + file);
    }

    // 's' at 75 dots per inch on letter paper.
    void print_laserjet(const std::string& file) {
        print("laserjet '' '" + file + "' '' letter", "LaserJet file " + file);
    }

    void deferred(const std::string& file) {
        tgd_.send_byte('C');
        tgd_.send_int(2);
        tgd_.send_text(file);
        std::fprintf(out_, "C deferred   -> %c, recording into %s\n", tgd_.read_byte(), file.c_str());
    }

    void simple(char op, const char* what) {
        tgd_.send_byte(op);
        std::fprintf(out_, "%c %-10s -> %c\n", op, what, tgd_.read_byte());
    }

private:
    // 's' with the 13 printing options: no print command is run.
    void print(const std::string& method_and_files, const std::string& what) {
        tgd_.send_byte('s');
        tgd_.send_text("-1 -1 0 75 -1 0 0 0 " + method_and_files);
        std::fprintf(out_, "s print      -> %c, %s\n", tgd_.read_byte(), what.c_str());
    }

    void abandoned(char op, char reply) { std::fprintf(out_, "%c            -> %c (abandoned)\n", op, reply); }

    HostSession& tgd_;
    std::FILE* out_;
    std::vector<float> block_;
};

}  // namespace

void run_demo_session(HostSession& tgd, const DemoFiles& files, std::FILE* transcript) {
    Demo demo(tgd, transcript);
    demo.initialise();
    if (!files.deferred.empty()) demo.deferred(files.deferred);
    demo.xy('L', {0, 1, 1, 0, 0}, {0, 0, 1, 1, 0}, "frame");
    std::vector<float> x, y;
    for (int i = 0; i <= 60; ++i) {
        x.push_back(static_cast<float>(i) / 60.0f);
        y.push_back(0.5f + 0.4f * static_cast<float>(std::sin(i * 0.2)));
    }
    demo.xy('L', x, y, "sine");
    demo.parameters({10, 3, 15, 2}, "colour 3");
    demo.xy('P', {0.2f, 0.4f, 0.6f}, {0.2f, 0.3f, 0.2f}, "markers");
    demo.xy('G', {0.1f, 0.3f, 0.2f}, {0.7f, 0.7f, 0.9f}, "triangle");
    demo.segments({0.1f, 0.1f}, {0.1f, 0.9f}, {0.9f, 0.9f}, {0.1f, 0.9f});
    demo.text(0.5f, 0.95f, 0.5f, "tgd demo");
    demo.image();
    if (!files.postscript.empty()) demo.print_postscript(files.prolog, files.postscript);
    if (!files.laserjet.empty()) demo.print_laserjet(files.laserjet);
    // A refresh and a new frame each start a frame on the terminal, which
    // waits for Return first.
    files.type("\n\n");
    demo.simple('d', "refresh");
    demo.simple('E', "new frame");
    demo.simple('X', "wrap up");
}

}  // namespace tgdhost
