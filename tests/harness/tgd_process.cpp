#include "harness/tgd_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

namespace tgdtest {

const char* tgd_path() { return TGD_EXE; }

TgdProcess::Resources TgdProcess::make_resources(const Options& options) {
    Resources r;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    r.stdin_read = fds[0];
    r.stdin_write = fds[1];
    if (options.stderr_fd < 0) {
        std::FILE* f = std::tmpfile();
        if (f == nullptr) throw std::runtime_error("tmpfile");
        r.capture = fcntl(fileno(f), F_DUPFD_CLOEXEC, 3);
        std::fclose(f);
    }
    return r;
}

tgdhost::SpawnOptions TgdProcess::spawn_options(const Options& options, const Resources& resources) {
    tgdhost::SpawnOptions spawn;
    spawn.exe = tgd_path();
    spawn.env = options.env;
    spawn.unset_env = {"BATCH", "TX_PRINTGRAPH_METHOD", "TX_PRINT_ORIENTATION", "TX_LASERJET_DPI",
                       "TX_PRINTGRAPH_ONEFILE", "TX_LASERJET_PRINT_COMMAND", "TX_LASERJET_NORESET"};
    if (options.batch) spawn.env.emplace_back("BATCH", "1");
    spawn.sigint_ignored = options.sigint_ignored;
    spawn.cwd = options.cwd;
    spawn.stdin_fd = resources.stdin_read;
    spawn.stderr_fd = resources.capture >= 0 ? resources.capture : options.stderr_fd;
    return spawn;
}

TgdProcess::TgdProcess(const Options& options) : TgdProcess(options, make_resources(options)) {}

TgdProcess::TgdProcess(const Options& options, Resources resources)
    : tgdhost::HostSession(spawn_options(options, resources)),
      stdin_write_(resources.stdin_write),
      capture_(resources.capture) {
    ::close(resources.stdin_read);
}

TgdProcess::~TgdProcess() {
    close_input();
    close_commands();
    wait(5000);
    if (capture_ >= 0) ::close(capture_);
}

std::string TgdProcess::stderr_text() const {
    std::string text;
    if (capture_ < 0) return text;
    char buf[65536];
    off_t at = capture_start_;
    for (;;) {
        ssize_t n = ::pread(capture_, buf, sizeof buf, at);
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
        at += n;
    }
    return text;
}

bool TgdProcess::wait_for_stderr(const std::string& text, int timeout_ms) const {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (stderr_text().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void TgdProcess::clear_stderr() {
    if (capture_ >= 0) capture_start_ = static_cast<long>(lseek(capture_, 0, SEEK_END));
}

void TgdProcess::type(const std::string& text) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(stdin_write_, p, left);
        if (n <= 0) throw std::runtime_error("tgd does not take input");
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

void TgdProcess::close_input() {
    if (stdin_write_ >= 0) {
        ::close(stdin_write_);
        stdin_write_ = -1;
    }
}

std::vector<float> TgdProcess::initialise() {
    send_byte('I');
    return read_reals(200);
}

int TgdProcess::finish() {
    close_commands();
    int status = wait();
    if (status < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace tgdtest
