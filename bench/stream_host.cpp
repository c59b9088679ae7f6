// tgd-bench-host: the host side of a benchmark case.  It starts tgd with
// its operation pipe on descriptor 15 and its reply pipe on 16, streams a
// prepared operation file in large writes while a second thread drains the
// replies, and checks that every reply came back.  With --cat it starts
// `cat` on the same pipes instead (standard input and output), the floor
// for moving those bytes through a process.  With --lockstep each operation
// waits for its reply before the next is sent.
//
// It prints one line on standard output for the started program: wall
// seconds from start to exit, user and system seconds, peak resident
// kilobytes and the reply bytes received.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common.h"
#include "workloads.h"

extern char** environ;

namespace {

using tgdbench::now;
using tgdbench::seconds;

struct Args {
    std::string tgd = TGD_BENCH_TGD;
    bool cat = false;
    bool lockstep = false;
    std::string stderr_file = "/dev/null";  // tgd's descriptor 2
    std::vector<std::pair<std::string, std::string>> set;
    std::vector<std::string> unset;
    std::string stream;  // path of the stream without .ops / .idx
};

void usage() {
    std::fprintf(stderr,
                 "usage: tgd-bench-host [--tgd PATH | --cat] [--lockstep] [--stderr FILE]\n"
                 "                      [--set NAME=VALUE]... [--unset NAME]... STREAM\n"
                 "STREAM names STREAM.ops (the bytes to send) and STREAM.idx (their operations).\n");
}

bool parse(int argc, char** argv, Args& args) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool more = i + 1 < argc;
        if (a == "--cat") {
            args.cat = true;
        } else if (a == "--lockstep") {
            args.lockstep = true;
        } else if (a == "--tgd" && more) {
            args.tgd = argv[++i];
        } else if (a == "--stderr" && more) {
            args.stderr_file = argv[++i];
        } else if (a == "--set" && more) {
            std::string s = argv[++i];
            std::size_t eq = s.find('=');
            if (eq == std::string::npos) return false;
            args.set.emplace_back(s.substr(0, eq), s.substr(eq + 1));
        } else if (a == "--unset" && more) {
            args.unset.push_back(argv[++i]);
        } else if (args.stream.empty() && !a.starts_with("-")) {
            args.stream = a;
        } else {
            return false;
        }
    }
    return !args.stream.empty();
}

std::vector<std::string> child_environment(const Args& args) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        std::string entry(*e);
        std::string name = entry.substr(0, entry.find('='));
        bool keep = std::find(args.unset.begin(), args.unset.end(), name) == args.unset.end();
        for (const auto& s : args.set) keep = keep && s.first != name;
        if (keep) env.push_back(entry);
    }
    for (const auto& s : args.set) env.push_back(s.first + "=" + s.second);
    return env;
}

struct Child {
    pid_t pid = -1;
    int to = -1;    // operations go here
    int from = -1;  // replies come from here
};

// Starts tgd (or cat) with the pipes.  Everything is prepared before fork;
// the child only moves descriptors and executes.
Child start(const Args& args) {
    int ops[2], replies[2];
    if (pipe2(ops, O_CLOEXEC) != 0 || pipe2(replies, O_CLOEXEC) != 0) throw std::runtime_error("cannot make pipes");
    int err = ::open(args.stderr_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int devnull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (err < 0 || devnull < 0) throw std::runtime_error("cannot open " + args.stderr_file);

    std::vector<std::string> env = child_environment(args);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string exe = args.cat ? "/bin/cat" : args.tgd;
    char* argv[] = {exe.data(), nullptr};

    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("cannot fork");
    if (pid == 0) {
        setsid();  // no controlling terminal: tgd cannot open /dev/tty
        // Above the targets first, so that no dup2 overwrites a source.
        int in = fcntl(ops[0], F_DUPFD_CLOEXEC, 100);
        int out = fcntl(replies[1], F_DUPFD_CLOEXEC, 100);
        int e = fcntl(err, F_DUPFD_CLOEXEC, 100);
        int null = fcntl(devnull, F_DUPFD_CLOEXEC, 100);
        bool ok = in >= 0 && out >= 0 && e >= 0 && null >= 0;
        if (args.cat)
            ok = ok && dup2(in, 0) == 0 && dup2(out, 1) == 1;
        else
            ok = ok && dup2(in, 15) == 15 && dup2(out, 16) == 16 && dup2(null, 0) == 0;
        ok = ok && dup2(e, 2) == 2;
        if (!ok) _exit(127);
        signal(SIGPIPE, SIG_DFL);
        execve(exe.c_str(), argv, envp.data());
        _exit(127);
    }
    for (int fd : {ops[0], replies[1], err, devnull}) ::close(fd);
    return {pid, ops[1], replies[0]};
}

void write_all(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) throw std::runtime_error("the program stopped taking operations");
        p += w;
        n -= static_cast<std::size_t>(w);
    }
}

// Reads exactly n bytes; false at end of file.
bool read_all(int fd, char* p, std::size_t n) {
    while (n > 0) {
        ssize_t r = ::read(fd, p, n);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        p += r;
        n -= static_cast<std::size_t>(r);
    }
    return true;
}

// The replies as they came: their count, and their first bytes (enough to
// check every letter of the streams the generator makes).
struct Replies {
    std::size_t total = 0;
    std::string head;
};
constexpr std::size_t kKeptReplies = 4 << 20;

// Streams every operation in large writes; a thread drains the replies so
// that neither side ever waits on a full pipe.
Replies stream(const Child& child, const std::string& ops) {
    Replies replies;
    std::thread drain([&] {
        std::vector<char> buf(1 << 16);
        for (;;) {
            ssize_t r = ::read(child.from, buf.data(), buf.size());
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            auto n = static_cast<std::size_t>(r);
            if (replies.head.size() < kKeptReplies)
                replies.head.append(buf.data(), std::min(n, kKeptReplies - replies.head.size()));
            replies.total += n;
        }
    });
    constexpr std::size_t kChunk = 1 << 20;
    try {
        for (std::size_t at = 0; at < ops.size(); at += kChunk)
            write_all(child.to, ops.data() + at, std::min(kChunk, ops.size() - at));
    } catch (...) {
        ::close(child.to);
        drain.join();
        throw;
    }
    ::close(child.to);
    drain.join();
    return replies;
}

// One operation at a time: send it, read its whole reply.
Replies lockstep(const Child& child, const std::string& ops, const std::vector<tgdbench::OpIndex>& index, bool echo) {
    Replies replies;
    std::vector<char> buf;
    for (const auto& op : index) {
        write_all(child.to, ops.data() + op.offset, op.length);
        std::size_t n = echo ? op.length : op.reply_length;
        buf.resize(n);
        if (!read_all(child.from, buf.data(), n)) break;
        replies.total += n;
        if (replies.head.size() < kKeptReplies) replies.head.append(buf.data(), n);
    }
    ::close(child.to);
    char extra;
    while (::read(child.from, &extra, 1) > 0) ++replies.total;  // nothing more may come
    return replies;
}

// Every operation answered with its letter, in order (cat echoes the
// operations themselves).
void check(const Replies& replies, const std::string& ops, const std::vector<tgdbench::OpIndex>& index, bool echo) {
    std::size_t expected = 0;
    for (const auto& op : index) expected += echo ? op.length : op.reply_length;
    if (replies.total != expected)
        throw std::runtime_error("got " + std::to_string(replies.total) + " reply bytes, expected " +
                                 std::to_string(expected));
    if (echo) {
        if (ops.compare(0, replies.head.size(), replies.head) != 0) throw std::runtime_error("cat changed the bytes");
        return;
    }
    std::size_t at = 0;
    for (const auto& op : index) {
        if (at >= replies.head.size()) break;
        if (op.reply_letter != '-' && replies.head[at] != op.reply_letter)
            throw std::runtime_error(std::string("operation at byte ") + std::to_string(op.offset) + " answered '" +
                                     replies.head[at] + "', expected '" + op.reply_letter + "'");
        at += op.reply_length;
    }
}

int run(const Args& args) {
    const std::string ops = tgdbench::read_file(args.stream + ".ops");
    const std::vector<tgdbench::OpIndex> index = tgdbench::read_index(args.stream + ".idx");

    const double t0 = now();
    Child child = start(args);
    Replies replies;
    std::string failure;
    try {
        replies = args.lockstep ? lockstep(child, ops, index, args.cat) : stream(child, ops);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    ::close(child.from);
    int status = 0;
    rusage usage{};
    while (wait4(child.pid, &status, 0, &usage) < 0 && errno == EINTR) {}
    const double wall = now() - t0;

    if (failure.empty()) {
        try {
            check(replies, ops, index, args.cat);
        } catch (const std::exception& e) {
            failure = e.what();
        }
    }
    if (failure.empty() && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
        failure = "the program ended with status " + std::to_string(status);
    if (!failure.empty()) {
        std::fprintf(stderr, "tgd-bench-host: %s: %s\n", args.stream.c_str(), failure.c_str());
        return 1;
    }
    std::printf("%.6f %.6f %.6f %ld %zu\n", wall, seconds(usage.ru_utime), seconds(usage.ru_stime), usage.ru_maxrss,
                replies.total);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Args args;
    if (!parse(argc, argv, args)) {
        usage();
        return 2;
    }
    // A program that is gone makes a write fail instead of ending the host.
    signal(SIGPIPE, SIG_IGN);
    try {
        return run(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tgd-bench-host: %s\n", e.what());
        return 1;
    }
}
