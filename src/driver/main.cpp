// tgd: the graphics device driver process.  The host starts it with the
// operation pipe on descriptor 15 and the reply pipe on descriptor 16.
#include <cstdio>
#include <cstring>

#include "driver/command_loop.h"

namespace {

constexpr const char* kUsage = "usage: tgd [--help | --version]\n";
constexpr const char* kHelp =
    "tgd is the graphics device driver of the TAVIX statistics system.  Its host\n"
    "starts it with the operation pipe on descriptor 15 and the reply pipe on\n"
    "descriptor 16; the terminal's escape sequences go to descriptor 2.  tgd\n"
    "serves operations until end of file on descriptor 15.  To drive it by hand,\n"
    "use tgd-host (a session script or a deferred-graphics recording); to see\n"
    "the terminal stream or a LaserJet file, use tgd-view.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
            std::printf("%s\n%s", kUsage, kHelp);
            return 0;
        }
        if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
            std::printf("tgd %s\n", TGD_VERSION);
            return 0;
        }
        std::fprintf(stderr, "tgd: unknown argument '%s'\n%s", argv[1], kUsage);
        return 2;
    }
    tgd::start_up();
    return tgd::device();
}
