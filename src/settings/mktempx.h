// Unique names for the printer devices' output files.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tgd {

// Replaces the last six X's of the template with characters that make a
// name no file has yet (the template is changed in place and returned).  X's
// before the last six (up to four) get letters of a counter shared by all
// calls, which moves on when no name is found.  A template without six
// trailing X's, or one for which no name is free, becomes empty.
std::string mktempx(std::string& templ);

// The first free name of a numbered sequence: the run of '#' in the template
// counts up from seq + 1 (seq is reset to 0 when negative or too large for
// the run).  None when the template has no '#' or every number is taken.
std::optional<std::string> mktempseq(std::string_view templ, int& seq);

// Output files in a directory where other users can plant names (the /tmp
// fallback of the printer devices).  Neither routine follows a symbolic
// link.
//
// Opens path for appending when the name is free (the file is then
// created) or holds a regular file of this user's own with a single link.
// None otherwise; refused is set when the name exists but was not taken.
std::FILE* open_own_file_append(const std::string& path, bool& refused);

// Creates a new file, exclusively, under a unique name made from templ
// with mktempx; templ becomes the name tried last.  None when no file
// can be created.
std::FILE* create_unique_file(std::string& templ);

// Where the six characters of each attempt come from; the default draws
// them at random from letters and digits.  Tests install a fixed source;
// an empty function restores the default.
using TempNameSource = std::function<std::string()>;
void set_temp_name_source(TempNameSource source);

// The letter counter of mktempx ("AAAA" at start).
std::string mktempx_letters();
void reset_mktempx_letters();

}  // namespace tgd
