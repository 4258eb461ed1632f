// Conversion between the UTF-8 text the program holds and the Shift_JIS (code page 932) text of
// figure files, settings and other text files on disk, through iconv.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Converts UTF-8 to Shift_JIS. Characters without a Shift_JIS form become "?" so that a
// write never fails on a name; invalid UTF-8 bytes are replaced the same way.
std::string Utf8ToShiftJis(std::string_view utf8);
// Converts Shift_JIS to UTF-8; nullopt when the bytes are not valid Shift_JIS.
std::optional<std::string> ShiftJisToUtf8(std::string_view sjis);

}  // namespace kv
