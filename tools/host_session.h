// The host's side of the pipe protocol: starts tgd with the operation pipe
// on its descriptor 15 and the reply pipe on its descriptor 16, and sends
// and reads values as 4-byte native images.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tgdhost {

struct SpawnOptions {
    std::string exe;                                       // path of tgd
    std::vector<std::pair<std::string, std::string>> env;  // variables to set
    std::vector<std::string> unset_env;                    // variables to remove
    bool sigint_ignored = false;                           // start tgd with SIGINT ignored, as a background job
    int stdin_fd = -1;                                     // tgd's standard input; -1: /dev/null
    int stderr_fd = -1;                                    // tgd's standard error (the terminal); -1: inherit
    bool new_session = true;                               // no controlling terminal: /dev/tty cannot be opened
    std::string cwd;                                       // working directory of tgd; "": this process's
};

class HostSession {
public:
    explicit HostSession(const SpawnOptions& options);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    pid_t pid() const { return pid_; }

    void send(const void* data, std::size_t size);
    void send_byte(char c) { send(&c, 1); }
    void send_int(std::int32_t v) { send(&v, sizeof v); }
    void send_real(float v) { send(&v, sizeof v); }
    void send_reals(const std::vector<float>& v) { send(v.data(), v.size() * sizeof(float)); }
    void send_ints(const std::vector<std::int32_t>& v) { send(v.data(), v.size() * sizeof(std::int32_t)); }
    // int length, then the bytes.
    void send_text(const std::string& s) {
        send_int(static_cast<std::int32_t>(s.size()));
        send(s.data(), s.size());
    }

    // Reads exactly size bytes of reply; false on end of file or when
    // nothing arrives within timeout_ms.
    bool read_exact(void* data, std::size_t size, int timeout_ms = 10000);
    // Whether a reply byte arrives within timeout_ms (nothing is consumed
    // when it does not).
    bool reply_ready(int timeout_ms);

    // While waiting for a reply, on_ready is called whenever fd has data to
    // read (tgd-host reads the terminal stream there and answers the
    // terminal's prompts); it returns false at the end of that stream.
    void watch(int fd, std::function<bool()> on_ready);
    // How long the throwing readers wait for a reply (default 10 s).
    void set_reply_timeout(int timeout_ms) { reply_timeout_ms_ = timeout_ms; }

    // Throwing readers for scripts: std::runtime_error on a missing reply.
    char read_byte();
    std::int32_t read_int();
    float read_real();
    std::vector<float> read_reals(std::size_t n);
    std::vector<std::int32_t> read_ints(std::size_t n);

    // End of file on tgd's descriptor 15.
    void close_commands();
    // Waits for tgd to end; returns its wait status, or -1 after timeout_ms
    // (tgd is then killed).
    int wait(int timeout_ms = 10000);

private:
    pid_t pid_ = -1;
    int to_tgd_ = -1;    // our end of tgd's descriptor 15
    int from_tgd_ = -1;  // our end of tgd's descriptor 16
    int watched_fd_ = -1;
    std::function<bool()> on_watched_;
    int reply_timeout_ms_ = 10000;
    bool reaped_ = false;
    int status_ = 0;
};

}  // namespace tgdhost
