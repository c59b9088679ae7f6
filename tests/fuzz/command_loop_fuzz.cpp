// Fuzz target: an arbitrary operation stream fed to tgd's command loop in
// this process.  The first byte of an input chooses the environment (see
// kEnvironment); the rest is what the host sends on descriptor 15.  The
// replies on descriptor 16 and standard input are /dev/null, files are
// made in a scratch directory emptied after every input, print commands
// are not run, and every global of the driver is reset before and after
// each input.
#include <fcntl.h>
#include <ftw.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/abandon.h"
#include "driver/command_loop.h"
#include "base/pipe.h"
#include "base/process_state.h"
#include "settings/mktempx.h"
#include "sandbox.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::perror(what);
    std::abort();
}

struct Fixture {
    std::string scratch;  // absolute
    int scratch_fd = -1;
    int home_fd = -1;     // libFuzzer's working directory
    int input_fd = -1;    // the memory file behind descriptor 15
    int null_fd = -1;
};
Fixture fx;

// Bit i of the first byte sets variable i to its value.
struct Setting {
    const char* name;
    const char* value;
};
constexpr Setting kEnvironment[] = {
    {"BATCH", "1"},
    {"TX_PRINTGRAPH_METHOD", "laserjet"},
    {"TX_PRINTGRAPH_ONEFILE", "yes"},
    {"TX_PRINT_ORIENTATION", "portrait"},
    {"TX_LASERJET_DPI", "300"},
    {"TX_LASERJET_NORESET", "yes"},
    {"TX_LASERJET_PRINT_COMMAND", "lpr -P nowhere"},
};
// With bit 7 the printing variables hold values that must be refused.
constexpr Setting kBadValues[] = {
    {"TX_PRINTGRAPH_METHOD", "plotter"},
    {"TX_PRINTGRAPH_ONEFILE", "maybe"},
    {"TX_PRINT_ORIENTATION", "sideways"},
    {"TX_LASERJET_DPI", "1200"},
};

void set_environment(std::uint8_t bits) {
    for (const Setting& s : kEnvironment) unsetenv(s.name);
    for (int i = 0; i < 7; ++i)
        if (bits & (1u << i)) setenv(kEnvironment[i].name, kEnvironment[i].value, 1);
    if (bits & 0x80u)
        for (const Setting& s : kBadValues) setenv(s.name, s.value, 1);
}

void place(int fd, int target) {
    if (fd != target && dup2(fd, target) < 0) fail("dup2");
}

int remove_entry(const char* path, const struct stat*, int, struct FTW* ftw) {
    if (ftw->level > 0) ::remove(path);
    return 0;
}

// The scratch directory empty again but for fs/tmp and fs/dev, where the
// /tmp fallbacks and the /dev names land.
void clear_scratch() {
    nftw(fx.scratch.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
    for (const char* dir : {"/fs", "/fs/tmp", "/fs/dev"}) mkdir((fx.scratch + dir).c_str(), 0700);
}

// libFuzzer's own output files, which the sandbox must let through.
std::vector<std::string> artifact_prefixes(int argc, char** argv) {
    std::vector<std::string> prefixes;
    for (int i = 1; i < argc; ++i) {
        for (const char* flag : {"-artifact_prefix=", "-exact_artifact_path="}) {
            std::size_t n = std::strlen(flag);
            if (std::strncmp(argv[i], flag, n) == 0) prefixes.emplace_back(argv[i] + n);
        }
    }
    return prefixes;
}

void remove_scratch() {
    nftw(fx.scratch.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
    rmdir(fx.scratch.c_str());
}

// Unique names for the printer files that are the same in every run.
void install_name_source() {
    tgd::set_temp_name_source([n = 0]() mutable {
        char chars[8];
        std::snprintf(chars, sizeof chars, "f%05d", ++n % 100000);
        return std::string(chars);
    });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/tgd-fuzz.XXXXXX";
    if (mkdtemp(templ.data()) == nullptr) fail("mkdtemp");
    fx.scratch = templ;
    fx.scratch_fd = open(fx.scratch.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    fx.home_fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    fx.input_fd = memfd_create("tgd-input", MFD_CLOEXEC);
    fx.null_fd = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (fx.scratch_fd < 0 || fx.home_fd < 0 || fx.input_fd < 0 || fx.null_fd < 0) fail("fuzz fixture");
    std::atexit(remove_scratch);
    clear_scratch();
    fuzz::sandbox_init(fx.scratch, artifact_prefixes(*argc, *argv));

    // The driver behaves as when started in the background: it never
    // catches SIGINT, so libFuzzer keeps its own handler.
    tgd::saved_sigint = {};
    tgd::saved_sigint.sa_handler = SIG_IGN;
    std::setlocale(LC_ALL, "C");
    setenv("TZ", "UTC", 1);
    setenv("TGD_POSTSCRIPT_TIME", "0", 1);
    setenv("*()", "fuzz", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    set_environment(size > 0 ? data[0] : 0);
    const std::uint8_t* stream = size > 0 ? data + 1 : data;
    const std::size_t length = size > 0 ? size - 1 : 0;
    if (ftruncate(fx.input_fd, 0) != 0 ||
        (length > 0 && pwrite(fx.input_fd, stream, length, 0) != static_cast<ssize_t>(length)) ||
        lseek(fx.input_fd, 0, SEEK_SET) != 0)
        fail("fuzz input");
    place(fx.input_fd, tgd::kCommandFd);
    place(fx.null_fd, tgd::kReplyFd);
    place(fx.null_fd, 0);

    struct sigaction fuzzer_sigint {};
    sigaction(SIGINT, nullptr, &fuzzer_sigint);
    if (fchdir(fx.scratch_fd) != 0) fail("fchdir");

    tgd::reset_process_state();
    install_name_source();
    fuzz::sandbox_open();
    tgd::device();
    fuzz::sandbox_close();
    tgd::reset_process_state();

    if (fchdir(fx.home_fd) != 0) fail("fchdir");
    sigaction(SIGINT, &fuzzer_sigint, nullptr);
    clear_scratch();
    return 0;
}
