// Splits the bytes tgd writes on its terminal (descriptor 2) into escape
// sequences and plain text, incrementally, so that a reader can take the
// stream in pieces as it arrives.  Escape sequences follow the terminal's
// syntax: ESC, a parameter character ('*' or '&'), a group letter, then
// parameters up to a terminating character from '@' to '^'; graphics text
// (ESC * l) runs to its carriage return; any other ESC takes one more
// character.  Text is everything outside sequences: the alphanumeric
// screen, where tgd's messages appear.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tgdtools {

struct TerminalToken {
    enum Kind { Sequence, Text } kind;
    std::string bytes;  // a whole sequence, ESC included; or a run of text
};

class TerminalScanner {
public:
    using Sink = std::function<void(const TerminalToken&)>;

    // Takes the next bytes; every sequence completed by them goes to sink,
    // and the text among them (a run of text may come in several pieces).
    void feed(std::string_view bytes, const Sink& sink);
    // End of the stream: a pending text run (or a cut-off sequence, as
    // text) goes to sink.
    void finish(const Sink& sink);

private:
    void end_sequence(const Sink& sink);
    void flush_text(const Sink& sink);

    std::string pending_;  // the sequence being read
    std::string text_;     // the text run being read
    bool in_sequence_ = false;
};

}  // namespace tgdtools
