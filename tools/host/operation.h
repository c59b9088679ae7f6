// One host operation as tgd-host sends it: what a line of a session script
// or a record of a deferred-graphics file turns into.
#pragma once

#include <string>
#include <vector>

namespace tgdhost {

enum class OpKind {
    Init,           // 'I', or 'M' with device parameters
    Change,         // 'D' with (entry, value) pairs
    Lines,          // 'L'
    Points,         // 'P'
    Polygon,        // 'G'
    Segments,       // 'S'
    Text,           // 'T'
    Image,          // 'i'
    NewFrame,       // 'E'
    Refresh,        // 'd'
    Print,          // 's' with the printing options
    PsOption,       // 'z' 'p' and an option
    Deferred,       // 'C'
    Locator,        // 'q' 'w'
    LocatorPoints,  // 'Q'
    Sync,           // 'W'
    WrapUp,         // 'X'
    Answer,         // not sent: an answer typed at the terminal when tgd asks
};

enum class AnswerKind { Frame, Locator };

struct Operation {
    OpKind kind = OpKind::Sync;
    int line = 0;                               // line of the script or recording it came from
    std::vector<float> x, y;                    // points; segment starts; image cell boundaries
    std::vector<float> x2, y2;                  // segment ends
    std::vector<float> values;                  // device parameters; change pairs; image cell values
    float tx = 0, ty = 0, justification = 0;    // text position
    float low = 0, high = 0, missing = -1e30f;  // image colour range and missing value
    std::string text;                           // text string; printing options; deferred file; answer
    std::string raw;                            // 'z' 'p' option: the bytes that follow 'z' 'p'
    std::string label;                          // short description for the transcript
    int count = 0;                              // 'Q' point count; 'C' mode
    AnswerKind answer = AnswerKind::Frame;
};

}  // namespace tgdhost
