#include "stream/terminal_scanner.h"

namespace tgdtools {

namespace {
constexpr char kEsc = 27;
// A sequence longer than this is not one: its bytes are taken as text.
constexpr std::size_t kLongestSequence = 4096;

bool terminates(char c) { return c >= '@' && c <= '^'; }
}  // namespace

void TerminalScanner::flush_text(const Sink& sink) {
    if (text_.empty()) return;
    sink({TerminalToken::Text, std::move(text_)});
    text_.clear();
}

void TerminalScanner::end_sequence(const Sink& sink) {
    sink({TerminalToken::Sequence, std::move(pending_)});
    pending_.clear();
    in_sequence_ = false;
}

void TerminalScanner::feed(std::string_view bytes, const Sink& sink) {
    for (char c : bytes) {
        if (!in_sequence_) {
            if (c == kEsc) {
                flush_text(sink);
                pending_.assign(1, c);
                in_sequence_ = true;
            } else {
                text_ += c;
            }
            continue;
        }
        if (c == kEsc && pending_.size() > 1) {
            // A sequence without its terminator ends where the next begins.
            end_sequence(sink);
            pending_.assign(1, c);
            in_sequence_ = true;
            continue;
        }
        pending_ += c;
        const std::size_t n = pending_.size();
        if (n == 2) {
            if (c != '*' && c != '&') end_sequence(sink);
        } else if (n == 3) {
            // The group letter; a terminator here ends a short sequence.
            if (terminates(c)) end_sequence(sink);
        } else if (pending_[1] == '*' && pending_[2] == 'l') {
            if (c == '\r') end_sequence(sink);
        } else if (terminates(c)) {
            end_sequence(sink);
        }
        if (in_sequence_ && pending_.size() > kLongestSequence) {
            text_ += pending_;
            pending_.clear();
            in_sequence_ = false;
        }
    }
    // Text is handed on as it arrives, so a reader sees messages at once.
    flush_text(sink);
}

void TerminalScanner::finish(const Sink& sink) {
    if (in_sequence_) {
        text_ += pending_;
        pending_.clear();
        in_sequence_ = false;
    }
    flush_text(sink);
}

}  // namespace tgdtools
