// The host's side of tgd's terminal: everything tgd writes on its
// descriptor 2 is saved to a file, tgd's messages are collected for the
// transcript, and the terminal's two prompts are answered the way a person
// at the terminal would: the frame prompt with a line (Return), the
// locator request with a position line.  Answers given in the script are
// used in order; without one, the frame prompt gets Return and the
// locator an empty line (which ends a run of locator points).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "host/operation.h"
#include "stream/terminal_scanner.h"

namespace tgdhost {

class TerminalPump {
public:
    // terminal: read end of tgd's descriptor 2 (made non-blocking here);
    // log: where the stream is saved; input: write end of tgd's standard
    // input.
    TerminalPump(int terminal, int log, int input);

    void queue_answer(AnswerKind kind, const std::string& line);
    // Reads what has arrived; false at the end of the stream.
    bool service();
    // Reads until the end of the stream (tgd and its children are gone).
    void finish();
    // The messages tgd wrote since the last call, a line each.
    std::vector<std::string> take_messages();
    // False when the log could not be written.
    bool log_ok() const { return log_ok_; }

private:
    void token(const tgdtools::TerminalToken& t);
    void answer(AnswerKind kind);

    int terminal_;
    int log_;
    int input_;
    bool log_ok_ = true;
    tgdtools::TerminalScanner scanner_;
    std::deque<std::string> frame_answers_, locator_answers_;
    int prompt_text_ = -1;  // characters of "GO?" seen after the frame prompt
    std::string line_;
    std::vector<std::string> messages_;
};

}  // namespace tgdhost
