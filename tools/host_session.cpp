#include "host_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace tgdhost {

namespace {
std::vector<std::string> child_environment(const SpawnOptions& options) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        std::string entry(*e);
        std::string name = entry.substr(0, entry.find('='));
        bool drop = false;
        for (const auto& u : options.unset_env) drop = drop || u == name;
        for (const auto& s : options.env) drop = drop || s.first == name;
        if (!drop) env.push_back(entry);
    }
    for (const auto& s : options.env) env.push_back(s.first + "=" + s.second);
    return env;
}

long long now_ms() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}
}  // namespace

HostSession::HostSession(const SpawnOptions& options) {
    // A tgd that is gone makes a send fail with EPIPE (an exception the
    // caller sees) instead of ending the host with SIGPIPE.
    signal(SIGPIPE, SIG_IGN);
    int commands[2];
    int replies[2];
    if (pipe2(commands, O_CLOEXEC) != 0) throw std::runtime_error("cannot make the pipes");
    if (pipe2(replies, O_CLOEXEC) != 0) {
        ::close(commands[0]);
        ::close(commands[1]);
        throw std::runtime_error("cannot make the pipes");
    }
    // Everything the child needs is prepared before fork: between fork and
    // exec only async-signal-safe calls are made.
    std::vector<std::string> env = child_environment(options);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string exe = options.exe;
    const char* cwd = options.cwd.empty() ? nullptr : options.cwd.c_str();
    char* argv[] = {exe.data(), nullptr};
    int devnull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);

    pid_ = fork();
    if (pid_ < 0) {
        for (int fd : {commands[0], commands[1], replies[0], replies[1], devnull})
            if (fd >= 0) ::close(fd);
        throw std::runtime_error("cannot fork");
    }
    if (pid_ == 0) {
        if (options.new_session) setsid();
        if (cwd != nullptr && chdir(cwd) != 0) _exit(127);
        // Move the pipe ends above the descriptors they are going to, so
        // that dup2 cannot overwrite one before it is used.
        int c = fcntl(commands[0], F_DUPFD_CLOEXEC, 100);
        int r = fcntl(replies[1], F_DUPFD_CLOEXEC, 100);
        int in = options.stdin_fd >= 0 ? options.stdin_fd : devnull;
        if (in >= 0) in = fcntl(in, F_DUPFD_CLOEXEC, 100);
        int err = options.stderr_fd >= 0 ? fcntl(options.stderr_fd, F_DUPFD_CLOEXEC, 100) : -1;
        if (c < 0 || r < 0 || dup2(c, 15) < 0 || dup2(r, 16) < 0) _exit(127);
        if (in >= 0) dup2(in, 0);
        if (err >= 0) dup2(err, 2);
        struct sigaction action {};
        action.sa_handler = options.sigint_ignored ? SIG_IGN : SIG_DFL;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        action.sa_handler = SIG_DFL;
        sigaction(SIGQUIT, &action, nullptr);
        sigaction(SIGPIPE, &action, nullptr);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execve(exe.c_str(), argv, envp.data());
        _exit(127);
    }
    if (devnull >= 0) ::close(devnull);
    ::close(commands[0]);
    ::close(replies[1]);
    to_tgd_ = commands[1];
    from_tgd_ = replies[0];
}

HostSession::~HostSession() {
    close_commands();
    if (!reaped_ && pid_ > 0) wait(5000);
    if (from_tgd_ >= 0) ::close(from_tgd_);
}

void HostSession::send(const void* data, std::size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(to_tgd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error("tgd does not take operations");
        p += n;
        size -= static_cast<std::size_t>(n);
    }
}

void HostSession::watch(int fd, std::function<bool()> on_ready) {
    watched_fd_ = fd;
    on_watched_ = std::move(on_ready);
}

bool HostSession::reply_ready(int timeout_ms) {
    long long deadline = now_ms() + timeout_ms;
    for (;;) {
        pollfd pfd[2] = {{from_tgd_, POLLIN, 0}, {watched_fd_, POLLIN, 0}};
        const nfds_t n = watched_fd_ >= 0 ? 2 : 1;
        long long left = deadline - now_ms();
        int r = poll(pfd, n, static_cast<int>(left < 0 ? 0 : left));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        if (pfd[0].revents != 0) return true;
        if (n == 2 && pfd[1].revents != 0 && !on_watched_()) watched_fd_ = -1;
    }
}

bool HostSession::read_exact(void* data, std::size_t size, int timeout_ms) {
    auto* p = static_cast<char*>(data);
    long long deadline = now_ms() + timeout_ms;
    while (size > 0) {
        long long left = deadline - now_ms();
        if (left <= 0 || !reply_ready(static_cast<int>(left))) return false;
        ssize_t n = ::read(from_tgd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

char HostSession::read_byte() {
    char c;
    if (!read_exact(&c, 1, reply_timeout_ms_)) throw std::runtime_error("no reply from tgd");
    return c;
}

std::int32_t HostSession::read_int() {
    std::int32_t v;
    if (!read_exact(&v, sizeof v, reply_timeout_ms_)) throw std::runtime_error("no reply from tgd");
    return v;
}

float HostSession::read_real() {
    float v;
    if (!read_exact(&v, sizeof v, reply_timeout_ms_)) throw std::runtime_error("no reply from tgd");
    return v;
}

std::vector<float> HostSession::read_reals(std::size_t n) {
    std::vector<float> v(n);
    if (n > 0 && !read_exact(v.data(), n * sizeof(float), reply_timeout_ms_))
        throw std::runtime_error("no reply from tgd");
    return v;
}

std::vector<std::int32_t> HostSession::read_ints(std::size_t n) {
    std::vector<std::int32_t> v(n);
    if (n > 0 && !read_exact(v.data(), n * sizeof(std::int32_t), reply_timeout_ms_))
        throw std::runtime_error("no reply from tgd");
    return v;
}

void HostSession::close_commands() {
    if (to_tgd_ >= 0) {
        ::close(to_tgd_);
        to_tgd_ = -1;
    }
}

int HostSession::wait(int timeout_ms) {
    if (reaped_) return status_;
    long long deadline = now_ms() + timeout_ms;
    for (;;) {
        int status = 0;
        pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            reaped_ = true;
            status_ = status;
            return status;
        }
        if (now_ms() >= deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            reaped_ = true;
            status_ = -1;
            return -1;
        }
        usleep(2000);
    }
}

}  // namespace tgdhost
