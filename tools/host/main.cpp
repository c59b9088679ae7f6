// tgd-host: starts tgd with its two pipes, as the statistics system does,
// and drives it through a session script or the replay of a
// deferred-graphics recording, reporting every operation and its reply.
// tgd's terminal stream (its descriptor 2) is saved to a file.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/recording.h"
#include "host/runner.h"
#include "host/script.h"
#include "host/terminal_pump.h"
#include "host_session.h"

#ifndef TGD_VERSION
#define TGD_VERSION "unknown"
#endif

namespace {

constexpr const char* kUsage =
    "usage: tgd-host [--tgd PATH] [--terminal FILE] SCRIPT\n"
    "       tgd-host [--tgd PATH] [--terminal FILE] --replay RECORDING [--print postscript|laserjet]\n";

constexpr const char* kHelp =
    "Starts tgd with its operation and reply pipes and drives it: through a\n"
    "session script (one operation per line; '-' reads it from standard\n"
    "input), or through the replay of a deferred-graphics recording, frame by\n"
    "frame.  Every operation is reported with tgd's reply.  tgd runs in the\n"
    "current directory, so the files it prints and records land there.\n"
    "\n"
    "  --tgd PATH        the tgd program (default: the tgd beside tgd-host)\n"
    "  --terminal FILE   where tgd's terminal stream is saved\n"
    "                    (default: tgd-terminal.log); tgd-view renders it\n"
    "  --replay FILE     replay a deferred-graphics recording\n"
    "  --print METHOD    with --replay: print each frame (postscript or laserjet)\n"
    "  --help, --version\n"
    "\n"
    "Exit status: 0 success; 1 a malformed script or recording, an operation\n"
    "that tgd abandoned or interrupted, or tgd failing; 2 a usage error.\n";

struct Args {
    std::string tgd;
    std::string terminal = "tgd-terminal.log";
    std::string script;
    std::string replay;
    std::string print;
};

// The tgd installed or built beside this program.
std::string default_tgd() {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "tgd";
    std::string path(self, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + "tgd";
}

int usage_error(const std::string& what) {
    std::fprintf(stderr, "tgd-host: %s\n%s", what.c_str(), kUsage);
    return 2;
}

std::string read_all(const std::string& path) {
    std::ostringstream s;
    if (path == "-") {
        s << std::cin.rdbuf();
        return s.str();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    s << in.rdbuf();
    return s.str();
}

// Runs the operations through a fresh tgd; returns the exit status.
int run_session(const Args& args, const std::vector<tgdhost::Operation>& ops, const char* where) {
    int log = ::open(args.terminal.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (log < 0) throw std::runtime_error("cannot create " + args.terminal + ": " + std::strerror(errno));
    int terminal[2], input[2];
    if (pipe2(terminal, O_CLOEXEC) != 0 || pipe2(input, O_CLOEXEC) != 0) throw std::runtime_error("cannot make pipes");

    tgdhost::SpawnOptions options;
    options.exe = args.tgd;
    options.stderr_fd = terminal[1];
    options.stdin_fd = input[0];
    // The terminal is drawn on: BATCH would keep tgd from drawing live.
    options.unset_env = {"BATCH"};
    int status = 0;
    int abandoned = 0;
    bool log_ok = true;
    {
        tgdhost::HostSession tgd(options);
        ::close(terminal[1]);
        ::close(input[0]);
        tgdhost::TerminalPump pump(terminal[0], log, input[1]);
        tgd.watch(terminal[0], [&pump] { return pump.service(); });
        // A print at 300 dpi or a slow print command may take a while.
        tgd.set_reply_timeout(600000);
        tgdhost::Runner runner(tgd, pump, stdout, where);
        for (const auto& op : ops) {
            try {
                runner.run(op);
            } catch (const std::exception& e) {
                // tgd is gone or out of step: nothing more can be sent.
                std::fflush(stdout);
                std::fprintf(stderr, "tgd-host: %s %d: %s\n", where, op.line, e.what());
                abandoned = -1;
                break;
            }
        }
        tgd.close_commands();
        ::close(input[1]);
        pump.finish();
        for (const auto& m : pump.take_messages()) std::printf("    tgd: %s\n", m.c_str());
        status = tgd.wait(10000);
        if (abandoned == 0) abandoned = runner.abandoned();
        log_ok = pump.log_ok();
    }
    ::close(terminal[0]);
    ::close(log);
    std::printf("terminal stream: %s\n", args.terminal.c_str());
    if (!log_ok) {
        std::fprintf(stderr, "tgd-host: cannot write %s\n", args.terminal.c_str());
        return 1;
    }
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
            std::fprintf(stderr, "tgd-host: cannot start %s\n", args.tgd.c_str());
        else
            std::fprintf(stderr, "tgd-host: tgd did not end normally (status %d)\n", status);
        return 1;
    }
    if (abandoned < 0) return 1;
    if (abandoned > 0) {
        std::fprintf(stderr, "tgd-host: %d operation%s abandoned or interrupted\n", abandoned,
                     abandoned == 1 ? " was" : "s were");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Args args;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
            return argv[++i];
        };
        try {
            if (a == "--help" || a == "-h") {
                std::printf("%s\n%s", kUsage, kHelp);
                return 0;
            } else if (a == "--version") {
                std::printf("tgd-host %s\n", TGD_VERSION);
                return 0;
            } else if (a == "--tgd") {
                args.tgd = value();
            } else if (a == "--terminal") {
                args.terminal = value();
            } else if (a == "--replay") {
                args.replay = value();
            } else if (a == "--print") {
                args.print = value();
                if (args.print != "postscript" && args.print != "laserjet")
                    return usage_error("--print takes postscript or laserjet");
            } else if (a.size() > 1 && a[0] == '-') {
                return usage_error("unknown option " + a);
            } else if (args.script.empty()) {
                args.script = a;
            } else {
                return usage_error("more than one script");
            }
        } catch (const std::invalid_argument& e) {
            return usage_error(e.what());
        }
    }
    if (args.script.empty() == args.replay.empty()) return usage_error("give a SCRIPT or --replay RECORDING");
    if (!args.print.empty() && args.replay.empty()) return usage_error("--print goes with --replay");
    if (args.tgd.empty()) args.tgd = default_tgd();

    try {
        if (!args.replay.empty()) {
            tgdhost::Recording recording = tgdhost::read_recording(read_all(args.replay));
            if (recording.error) {
                std::fprintf(stderr, "%s:%d: %s\n", args.replay.c_str(), recording.error->line,
                             recording.error->message.c_str());
                return 1;
            }
            return run_session(args, tgdhost::replay_operations(recording, args.print), "record line");
        }
        tgdhost::Script script = tgdhost::parse_script(read_all(args.script));
        const std::string name = args.script == "-" ? "standard input" : args.script;
        for (const auto& e : script.errors)
            std::fprintf(stderr, "%s:%d: %s\n", name.c_str(), e.line, e.message.c_str());
        if (!script.errors.empty()) return 1;
        return run_session(args, script.operations, "line");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tgd-host: %s\n", e.what());
        return 1;
    }
}
