// The reader of deferred-graphics files: each record turned back into the
// host operation that made it, frame by frame.
//
//   lines n / points n / polygon n   n lines "x y"            -> 'L' 'P' 'G'
//   segs n                           n lines "x0 y0 x1 y1"    -> 'S'
//   text x y adj n                   a line with the string   -> 'T'
//   diff m                           m/2 lines "entry value"  -> 'D'
//   par 150                          "entry value" lines      -> 'D', then 'E'
//   eject                                                     -> 'E'
//   end                              the logical end of the file
//
// A "par" record stands for a frame that ended with nothing drawn since the
// last boundary: the parameters in force, then the new frame.  Images, the
// initialisation and the parameters outside the recorded set are not in
// the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/operation.h"
#include "host/script.h"

namespace tgdhost {

struct Recording {
    std::vector<Operation> operations;  // each with the line of its record
    std::optional<ScriptError> error;   // the first malformed line; reading stops there
};

Recording read_recording(std::string_view text);

// The operations that replay a recording: initialisation, the records,
// and the wrap-up; with print_method set, each frame that has drawing is
// printed before its new frame (and the last one at the end).
std::vector<Operation> replay_operations(const Recording& recording, const std::string& print_method);

}  // namespace tgdhost
