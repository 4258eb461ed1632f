// Operations on file paths and delimited texts shared by the figure file, the settings file and
// the export commands: folder and file-name parts, extension, existence checks, the n-th field of
// a delimited text and a search-and-replace over a whole text file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kv {

// The characters that end a folder in a path. On Windows a drive ("C:") and both slashes
// do; elsewhere only "/" does, and ":" and "\" are ordinary characters of a file name (a
// figure named a:b.kv4 is read and saved in the current folder).
#ifdef _WIN32
inline constexpr std::string_view kFolderSeparators = ":\\/";
#else
inline constexpr std::string_view kFolderSeparators = "/";
#endif

// The path up to and including its last folder separator ("" when there is none).
std::string FolderPart(std::string_view path);
// What follows FolderPart.
std::string FileNamePart(std::string_view path);
// The text before the last "."; the whole text when it has none.
std::string StripExtension(std::string_view name);
// True when path names an existing file (not a folder).
bool FileExists(const std::string& path);
// True when path names an existing folder.
bool FolderExists(const std::string& path);
// The n-th field (1-based) of text split at any one character of delimiters. The first
// delimiter is the earliest first occurrence of any delimiter character; occurrences at
// character position 100 or beyond do not count. Positions count UTF-8 characters.
std::string FieldOf(std::string_view text, std::string_view delimiters, int n);
// Replaces every occurrence of find in a text file (read as lines joined with CR LF, plus one
// more CR LF at the end) and writes it back atomically. find and replacement are UTF-8 and are
// compared in the file's Shift_JIS form. False when the file cannot be read, holds no line, or
// cannot be written.
bool ReplaceInFile(const std::string& path, std::string_view find, std::string_view replacement);

// Writes bytes to path through a temporary file in the same folder that is renamed over the
// target, so that a failure never leaves a half-written file. Returns an empty text on
// success, otherwise a short description of the failure.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);
// The same for a file written piece by piece, so that a large file is never held whole:
// `produce` hands the pieces to the sink it gets, in order. After a failure the sink
// returns false and takes nothing more.
using ByteSink = std::function<bool(std::string_view)>;
std::string WriteFileAtomically(const std::string& path,
                                const std::function<void(const ByteSink&)>& produce);
// True when path exists and may not be written: its owner has no write permission, or the
// current user may not write it.
bool IsReadOnlyFile(const std::string& path);
// Reads a whole file; false when it cannot be opened or is larger than maxBytes.
bool ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes);

}  // namespace kv
