// A tgd process for tests, started as the host starts it: operations on its
// descriptor 15, replies on 16, a standard input the test writes to, and
// its standard error (the terminal stream and the messages) captured.  It
// runs in a session of its own, so it can never open /dev/tty nor read the
// test runner's own input.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host_session.h"

namespace tgdtest {

struct Options {
    std::vector<std::pair<std::string, std::string>> env;
    bool batch = false;           // start with BATCH set
    bool sigint_ignored = false;  // started in the background
    int stderr_fd = -1;           // a descriptor of the test's for tgd's standard error; -1: captured
    std::string cwd;              // tgd's working directory; "": the test's
};

class TgdProcess : public tgdhost::HostSession {
public:
    explicit TgdProcess(const Options& options = {});
    ~TgdProcess();

    // Everything tgd has written on its standard error so far.
    std::string stderr_text() const;
    // Waits (up to timeout_ms) until the standard error contains text.
    bool wait_for_stderr(const std::string& text, int timeout_ms = 5000) const;
    // Forgets what has been captured so far: stderr_text() starts again.
    void clear_stderr();

    // Standard input of tgd (locator replies, menu answers).
    void type(const std::string& text);
    void close_input();

    // Sends 'I' and reads the 800-byte parameter block.
    std::vector<float> initialise();

    // Ends the session (end of file on descriptor 15) and returns the
    // exit code, or -1 when tgd did not exit normally.
    int finish();

private:
    struct Resources {
        int stdin_read = -1, stdin_write = -1, capture = -1;
    };
    static Resources make_resources(const Options& options);
    static tgdhost::SpawnOptions spawn_options(const Options& options, const Resources& resources);
    TgdProcess(const Options& options, Resources resources);

    int stdin_write_ = -1;
    int capture_ = -1;
    long capture_start_ = 0;
};

// Path of the tgd executable under test.
const char* tgd_path();

}  // namespace tgdtest
