// The user dictionary of the manual language: "dic_kv4.txt" in the program folder holds lines
// "Japanese text = shown text"; the texts it lacks are appended to "dic_needed.txt" in the same
// form with an empty translation, for the user to complete and copy over.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::string_view kUserDictionaryFileName = "dic_kv4.txt";
inline constexpr std::string_view kNeededListFileName = "dic_needed.txt";

using DictionaryMap = std::map<std::string, std::string, std::less<>>;

// Adds the entries of dictionary text (UTF-8, lines ending in LF or CR LF) to dict. A line is
// split at its first "=" when that lies within the first 99 characters; key and translation
// are trimmed; lines without such an "=" or with an empty key or translation are skipped. A key
// already present keeps its first translation. Returns the number of entries added.
int ParseUserDictionary(std::string_view text, DictionaryMap& dict);

// Reads a dictionary file into dict (Shift_JIS or UTF-8). A missing or unreadable file adds
// nothing and returns false.
bool LoadUserDictionary(const std::filesystem::path& path, DictionaryMap& dict);

// Appends the line text + " = " to the needed list, creating the file when it is missing.
// The line is written in Shift_JIS with CR LF like the program's other text files.
bool AppendNeededText(const std::filesystem::path& path, std::string_view text);

// Text decoding of the program's small text files: UTF-8 when the bytes are valid UTF-8 (a
// byte-order mark is dropped), otherwise Shift_JIS (Windows code page 932).
std::string DecodeTextFile(std::string_view bytes);
// UTF-8 -> Shift_JIS (code page 932); characters without a Shift_JIS form become "?".
std::string EncodeShiftJis(std::string_view utf8);

}  // namespace kv
