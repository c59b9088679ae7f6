// The pipe protocol as the host speaks it: every operation's arguments in
// wire order and its reply, bad letters, end of file, aborts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "harness/host_ops.h"
#include "harness/temp_dir.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

// The bytes of an operation's arguments, laid out as the host sends them.
struct Wire {
    std::string bytes;
    Wire& byte(char c) {
        bytes += c;
        return *this;
    }
    Wire& ints(std::initializer_list<std::int32_t> values) {
        for (std::int32_t v : values) bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
        return *this;
    }
    Wire& reals(std::initializer_list<float> values) {
        for (float v : values) bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
        return *this;
    }
    Wire& chars(std::string_view s) {
        bytes += s;
        return *this;
    }
    Wire& text(const std::string& s) {
        ints({static_cast<std::int32_t>(s.size())});
        bytes += s;
        return *this;
    }
    Wire& strings(const std::vector<std::string>& list) {
        ints({static_cast<std::int32_t>(list.size())});
        for (const std::string& s : list) text(s);
        return *this;
    }
};

void send(TgdProcess& tgd, const Wire& wire) { tgd.send(wire.bytes.data(), wire.bytes.size()); }

TEST(Protocol, EndOfFileEndsTheProcessWithStatusZero) {
    TgdProcess tgd;
    EXPECT_EQ(tgd.finish(), 0);
}

TEST(Protocol, SynchroniseAnswersAtOnce) {
    TgdProcess tgd;
    expect_in_step(tgd);
    EXPECT_EQ(tgd.finish(), 0);
}

TEST(Protocol, BadLetterIsReportedAndNotAnswered) {
    TgdProcess tgd;
    tgd.send_byte('F');
    EXPECT_FALSE(tgd.reply_ready(100));
    expect_in_step(tgd);
    EXPECT_EQ(tgd.stderr_text(), "Pipe error.\nBad operation to device driver: F.\n");
    tgd.clear_stderr();
    tgd.send_byte('\x7f');
    expect_in_step(tgd);
    EXPECT_EQ(tgd.stderr_text(), "Pipe error.\nBad operation to device driver: \x7f.\n");
}

TEST(Protocol, InitialiseAnswersWithTheWholeBlockOnlyOnce) {
    TgdProcess tgd;
    std::vector<float> first = tgd.initialise();
    ASSERT_EQ(first.size(), 200u);
    // A parameter change, then 'I' and 'M' again: neither reinitialises nor
    // reads anything more, both answer with the block as it now is.
    tgd.send_byte('D');
    tgd.send_int(2);
    tgd.send_reals({10.0f, 3.0f});
    EXPECT_EQ(tgd.read_byte(), 'D');
    std::vector<float> second = tgd.initialise();
    tgd.send_byte('M');
    std::vector<float> third = tgd.read_reals(200);
    std::vector<float> expected = first;
    expected[9] = 3.0f;
    EXPECT_EQ(second, expected);
    EXPECT_EQ(third, expected);
    expect_in_step(tgd);
    EXPECT_EQ(tgd.finish(), 0);
}

TEST(Protocol, InitialiseWithDeviceParameters) {
    for (int n : {0, -5, 2}) {
        SCOPED_TRACE(n);
        TgdProcess tgd;
        tgd.send_byte('M');
        tgd.send_int(n);
        if (n > 0) tgd.send_reals(std::vector<float>(static_cast<std::size_t>(n), 0.0f));
        EXPECT_EQ(tgd.read_reals(200).size(), 200u);
        expect_in_step(tgd);
    }
}

TEST(Protocol, DrawingOperationsAnswerWithTheLastPoint) {
    TgdProcess tgd;
    tgd.initialise();
    for (char op : {'L', 'P', 'G'}) {
        SCOPED_TRACE(op);
        send_xy(tgd, op, {0.1f, 0.5f, 0.9f}, {0.2f, 0.6f, 0.3f});
        EXPECT_EQ(tgd.read_byte(), op);
        std::vector<float> last = tgd.read_reals(2);
        if (op != 'G') {  // the polygon leaves the last point as it was
            EXPECT_EQ(last[0], 0.9f);
            EXPECT_EQ(last[1], 0.3f);
        }
    }
    send(tgd, Wire().byte('S').ints({2}).reals({0.1f, 0.2f, 0.1f, 0.2f, 0.3f, 0.4f, 0.7f, 0.8f}));
    EXPECT_EQ(tgd.read_byte(), 'S');
    EXPECT_EQ(tgd.read_reals(2), (std::vector<float>{0.4f, 0.8f}));
    expect_in_step(tgd);
}

TEST(Protocol, EmptyPolylineStillAnswers) {
    TgdProcess tgd;
    tgd.initialise();
    send_xy(tgd, 'L', {0.25f, 0.75f}, {0.5f, 0.5f});
    EXPECT_EQ(tgd.read_byte(), 'L');
    tgd.read_reals(2);
    send_xy(tgd, 'L', {}, {});
    EXPECT_EQ(tgd.read_byte(), 'L');
    EXPECT_EQ(tgd.read_reals(2), (std::vector<float>{0.75f, 0.5f}));
    expect_in_step(tgd);
}

TEST(Protocol, TextAnswersWithItsEnd) {
    TgdProcess tgd;
    tgd.initialise();
    send(tgd, Wire().byte('T').ints({3}).reals({0.5f, 0.5f, 0.0f}).chars("abc"));
    EXPECT_EQ(tgd.read_byte(), 'T');
    std::vector<float> end = tgd.read_reals(2);
    EXPECT_GT(end[0], 0.5f);
    expect_in_step(tgd);
}

TEST(Protocol, OperationsWithALetterReply) {
    TgdProcess tgd;
    tgd.initialise();
    tgd.type("\n");  // the new frame waits for Return on the terminal

    char dir[] = "/tmp/tgd-protocol-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/frames.dgf";
    tgd.send_byte('C');
    tgd.send_int(2);
    tgd.send_text(file);
    EXPECT_EQ(tgd.read_byte(), 'C');

    tgd.send_byte('E');
    EXPECT_EQ(tgd.read_byte(), 'E');

    tgd.send_byte('s');
    tgd.send_text("");
    EXPECT_EQ(tgd.read_byte(), 's');

    tgd.type("\n");  // the refresh starts a new frame too
    tgd.send_byte('d');
    EXPECT_EQ(tgd.read_byte(), 'd');

    // x, y and z, then zlow, zhigh and the missing value.
    send(tgd, Wire().byte('i').ints({3}).reals({0.1f, 0.2f, 0.3f}).ints({2}).reals({0.1f, 0.2f}));
    send(tgd, Wire().ints({2}).reals({1.0f, 2.0f}).reals({0.0f, 10.0f, -1.0f}));
    EXPECT_EQ(tgd.read_byte(), 'i');

    tgd.send_byte('X');
    EXPECT_EQ(tgd.read_byte(), 'X');
    expect_in_step(tgd);
    std::filesystem::remove_all(dir);
}

TEST(Protocol, ModeEchoesItsLetter) {
    TgdProcess tgd;
    for (char mode : {'t', 'g'}) {
        tgd.send_byte('m');
        tgd.send_byte(mode);
        EXPECT_EQ(tgd.read_byte(), 'm');
        EXPECT_EQ(tgd.read_byte(), mode);
    }
    expect_in_step(tgd);
}

TEST(Protocol, HookWithoutValues) {
    TgdProcess tgd;
    // Counts that are not positive read and echo no values.
    send(tgd, Wire().byte('h').ints({1, -4, 0}));
    EXPECT_EQ(tgd.read_byte(), 'h');
    EXPECT_EQ(tgd.read_int(), -4);
    EXPECT_EQ(tgd.read_int(), 0);
    expect_in_step(tgd);
    EXPECT_EQ(tgd.stderr_text(), "hook not implemented for this device (type=1)\n");
}

TEST(Protocol, DiscardedSubOperationsConsumeTheirBytes) {
    TgdProcess tgd;
    for (char sub : {'l', '?'}) {
        send(tgd, Wire().byte('z').byte(sub).ints({3}).chars("xyz"));
        EXPECT_EQ(tgd.read_byte(), 'z');
        EXPECT_EQ(tgd.read_byte(), '\0');
    }
    expect_in_step(tgd);
}

// PostScript options, each a letter and its data; each answers 'z'.
void send_ps_options(TgdProcess& tgd, const std::vector<std::pair<char, Wire>>& options) {
    for (const auto& [letter, data] : options) {
        send_ps_option(tgd, letter);
        send(tgd, data);
    }
    for (std::size_t i = 0; i < options.size(); ++i) ASSERT_EQ(tgd.read_byte(), 'z') << i;
}

TEST(Protocol, PostScriptOptionsReadExactlyTheirData) {
    TgdProcess tgd;
    tgd.initialise();
    const std::vector<std::pair<char, Wire>> options = {
        {'A', Wire().byte('p').strings({"%!PS-Adobe", std::string("/x 1 def\0", 9)})},
        {'A', Wire().byte('?').strings({"dropped"})},
        {'a', Wire().ints({2})},
        {'c', Wire().byte('g').ints({2, 3}).reals({1, 2, 3, 4, 5, 6})},
        {'c', Wire().byte('b').ints({1, 3}).reals({1, 1, 1})},
        {'C', Wire().text(std::string("lpr\0", 4))},
        {'d', Wire().ints({210})},
        {'f', Wire().strings({"Helvetica", "Times-Roman"})},
        {'F', Wire().ints({0})},
        {'h', Wire().reals({5.0f})},
        {'l', Wire().byte('a').ints({1})},
        {'l', Wire().byte('x')},  // reads nothing more
        {'o', Wire().text(std::string("out#.ps\0", 8))},
        {'P', Wire().reals({10.0f})},
        {'r', Wire().reals({0, 0, 612, 792})},
        {'R', Wire().ints({600})},
        {'t', Wire().text(std::string("title\0", 6))},
        {'v', Wire().ints({100})},
        {'w', Wire().reals({4.0f})},
        {'Z', Wire().ints({99})},
        {'Q', Wire()},  // not an option: nothing more is read
        {'~', Wire()},
    };
    send_ps_options(tgd, options);
    expect_in_step(tgd);
}

TEST(Protocol, PostScriptOptionsReachTheirSettings) {
    tgd::test::TempDir dir;
    TgdProcess tgd;
    tgd.initialise();
    const std::vector<std::pair<char, Wire>> options = {
        {'r', Wire().reals({0, 0, 612, 792})},
        {'d', Wire().ints({210})},
        {'t', Wire().text(std::string("My plot\0", 8))},
        {'R', Wire().ints({600})},
        {'P', Wire().reals({10.0f})},
        {'l', Wire().byte('h').ints({1})},
        {'f', Wire().strings({std::string("Helvetica\0", 10), std::string("Courier\0", 8)})},
        {'c', Wire().byte('g').ints({2, 1}).reals({3, 4})},
        // A background index replaces an earlier background colour.
        {'c', Wire().byte('b').ints({1, 3}).reals({1, 1, 1})},
        {'a', Wire().ints({2})},
        {'A', Wire().byte('B').strings({std::string("/Bu {Xu} def\0", 13)})},
        {'A', Wire().byte('s').strings({std::string("% host setup\0", 13)})},
    };
    send_ps_options(tgd, options);

    draw_xy(tgd, 'L', {0.1f, 0.9f}, {0.5f, 0.5f});
    const std::string out = dir.file("options.ps");
    print(tgd, "-1 -1 0 -1 -1 0 0 0 postscript '' " + out + " '' ''");
    const std::string doc = read_file(out);
    EXPECT_EQ(doc.rfind("%!PS-Adobe-2.1 EPSF-2.0\n", 0), 0u) << doc.substr(0, 40);
    for (const char* part : {"%%Title: (My plot)\n", "/Landscape true def\n", "/RastersPerInch 600 def\n",
                             "/PointSize 10 def\n", "/Fonts [\t/Helvetica\t/Courier] def\n", "/GColors [\t3\t4] def\n",
                             "/BackIdx true def\n/BackCol 2 def\n", "/Bu {Xu} def\n", "% host setup\n"}) {
        EXPECT_NE(doc.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(tgd.finish(), 0);
}

TEST(Protocol, NegativeCountsAbortWithoutCrashing) {
    TgdProcess tgd;
    tgd.initialise();
    tgd.clear_stderr();
    tgd.send_byte('L');
    tgd.send_int(-1);
    EXPECT_EQ(tgd.read_byte(), 'A');
    EXPECT_TRUE(tgd.wait_for_stderr("Out of memory. Restart TAVIX.\n"));
    // From now on every allocation is traced.
    send_xy(tgd, 'L', {0.1f, 0.2f, 0.3f}, {0.1f, 0.2f, 0.3f});
    EXPECT_EQ(tgd.read_byte(), 'L');
    tgd.read_reals(2);
    EXPECT_TRUE(tgd.wait_for_stderr("my_calloc : (3*4) "));

    for (char op : {'S', 'T', 'D', 'C', 's', 'c', 'Q'}) {
        SCOPED_TRACE(op);
        tgd.send_byte(op);
        if (op == 'C') tgd.send_int(1);
        tgd.send_int(-7);
        if (op == 'T') tgd.send_reals({0, 0, 0});
        EXPECT_EQ(tgd.read_byte(), 'A');
    }
    send_ps_option(tgd, 'f');
    tgd.send_int(-2);
    EXPECT_EQ(tgd.read_byte(), 'A');
    expect_in_step(tgd);
    EXPECT_EQ(tgd.finish(), 0);
}

// An operation cut short by end of file still answers, but its count is
// not trusted: nothing of the data that never came is drawn or recorded.
TEST(Protocol, EndOfFileInsideArgumentsStillAnswers) {
    tgd::test::TempDir dir;
    const std::string name = dir.file("cut.dgf");
    TgdProcess tgd;
    tgd.initialise();
    tgd.send_byte('C');
    tgd.send_int(2);
    tgd.send_text(name);
    ASSERT_EQ(tgd.read_byte(), 'C');
    draw_xy(tgd, 'L', {0.1f, 0.2f}, {0.1f, 0.2f});
    send(tgd, Wire().byte('S').ints({1000000}).reals({0.1f, 0.2f}));
    tgd.close_commands();
    EXPECT_EQ(tgd.read_byte(), 'S');
    EXPECT_EQ(tgd.read_reals(2).size(), 2u);
    EXPECT_EQ(tgd.finish(), 0);
    EXPECT_EQ(read_file(name), "lines 2\n 0.1 0.1\n 0.2 0.2\n");
}

// Writes that fail because nobody reads descriptor 16 or 2 any more end
// nothing: the driver serves until end of file on descriptor 15.  A print
// command still runs with the default disposition of SIGPIPE.
TEST(Protocol, BrokenReplyAndTerminalPipesDoNotEndTheDriver) {
    {
        // Nobody reads the replies of 'W' and 'I'.
        auto high = [](int fd) {
            int moved = fcntl(fd, F_DUPFD_CLOEXEC, 100);
            ::close(fd);
            return moved;
        };
        int commands[2], replies[2];
        ASSERT_EQ(pipe(commands), 0);
        ASSERT_EQ(pipe(replies), 0);
        for (int* fd : {&commands[0], &commands[1], &replies[0], &replies[1]}) *fd = high(*fd);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            signal(SIGPIPE, SIG_DFL);
            dup2(commands[0], 15);
            dup2(replies[1], 16);
            int null = open("/dev/null", O_RDWR);
            dup2(null, 0);
            dup2(null, 2);
            execl(tgd_path(), "tgd", static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(commands[0]);
        ::close(replies[1]);
        ::close(replies[0]);
        ASSERT_EQ(::write(commands[1], "WI", 2), 2);
        ::close(commands[1]);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    }
    // Nobody reads the terminal: 'M' resets the device on it.
    int terminal[2];
    ASSERT_EQ(pipe2(terminal, O_CLOEXEC), 0);
    Options options;
    options.stderr_fd = terminal[1];
    TgdProcess tgd(options);
    ::close(terminal[0]);
    ::close(terminal[1]);
    initialise_without_wait(tgd);
    draw_xy(tgd, 'L', {0.1f, 0.9f}, {0.5f, 0.5f});
    expect_in_step(tgd);
    tgd::test::TempDir dir;
    const std::string out = dir.file("out.lj");
    print(tgd, "-1 -1 1 -1 -1 0 0 0 laserjet \"sh -c 'grep SigIgn /proc/self/status > $0.sig'\" " + out + " '' ''");
    std::string ignored;
    for (int i = 0; i < 500 && ignored.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ignored = read_file(out + ".sig");
    }
    ASSERT_EQ(ignored.rfind("SigIgn:", 0), 0u) << ignored;
    const unsigned long long mask = std::stoull(ignored.substr(7), nullptr, 16);
    EXPECT_EQ(mask & (1ull << (SIGPIPE - 1)), 0u) << ignored;
    EXPECT_EQ(tgd.finish(), 0);
}

}  // namespace
