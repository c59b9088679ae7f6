#include "host/terminal_pump.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace tgdhost {

namespace {
// The frame prompt that waits for Return is ESC * m R followed by the text
// "GO?"; the locator request is BEL ESC * s 4 ^ DC1.
constexpr std::string_view kFramePrompt = "\x1b*mR";
constexpr std::string_view kWaiting = "GO?";
constexpr std::string_view kLocatorRequest = "\x1b*s4^";

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}
}  // namespace

TerminalPump::TerminalPump(int terminal, int log, int input) : terminal_(terminal), log_(log), input_(input) {
    fcntl(terminal_, F_SETFL, fcntl(terminal_, F_GETFL) | O_NONBLOCK);
}

void TerminalPump::queue_answer(AnswerKind kind, const std::string& line) {
    (kind == AnswerKind::Frame ? frame_answers_ : locator_answers_).push_back(line);
}

void TerminalPump::answer(AnswerKind kind) {
    auto& queue = kind == AnswerKind::Frame ? frame_answers_ : locator_answers_;
    std::string line = "\n";
    if (!queue.empty()) {
        line = queue.front();
        queue.pop_front();
    }
    // tgd may be gone; its end shows in the reply.
    (void)write_all(input_, line);
}

void TerminalPump::token(const tgdtools::TerminalToken& t) {
    if (t.kind == tgdtools::TerminalToken::Sequence) {
        prompt_text_ = t.bytes == kFramePrompt ? 0 : -1;
        if (t.bytes == kLocatorRequest) answer(AnswerKind::Locator);
        return;
    }
    for (char c : t.bytes) {
        if (prompt_text_ >= 0) {
            if (c == kWaiting[static_cast<std::size_t>(prompt_text_)]) {
                if (++prompt_text_ == static_cast<int>(kWaiting.size())) {
                    prompt_text_ = -1;
                    answer(AnswerKind::Frame);
                }
                continue;
            }
            prompt_text_ = -1;
        }
        if (c == '\n') {
            if (!line_.empty()) messages_.push_back(line_);
            line_.clear();
        } else if (static_cast<unsigned char>(c) >= 32 || c == '\t') {
            line_ += c;
        }
    }
}

bool TerminalPump::service() {
    char buf[8192];
    for (;;) {
        ssize_t n = ::read(terminal_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
        if (n == 0) {
            scanner_.finish([this](const tgdtools::TerminalToken& t) { token(t); });
            if (!line_.empty()) messages_.push_back(line_);
            line_.clear();
            return false;
        }
        if (log_ok_ && !write_all(log_, std::string_view(buf, static_cast<std::size_t>(n)))) log_ok_ = false;
        scanner_.feed(std::string_view(buf, static_cast<std::size_t>(n)),
                      [this](const tgdtools::TerminalToken& t) { token(t); });
    }
}

void TerminalPump::finish() {
    for (;;) {
        pollfd pfd{terminal_, POLLIN, 0};
        if (poll(&pfd, 1, -1) < 0 && errno != EINTR) return;
        if (!service()) return;
    }
}

std::vector<std::string> TerminalPump::take_messages() {
    std::vector<std::string> m;
    m.swap(messages_);
    return m;
}

}  // namespace tgdhost
