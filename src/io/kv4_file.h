// The KV4 figure file: the whole figure (steps, class counts, the four object tables and the
// swap flags) as comma-separated Shift_JIS text with CR LF line ends. FigureFileIO writes,
// reads and merges such files. Reading only reads: the caller recomputes once afterwards.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "io/line_window_file.h"
#include "lang/translate.h"
#include "model/figure.h"

namespace kv {

enum class FileStatus {
  kOk,
  kIgnored,   // a mode letter other than "W", "R", "A": nothing was done
  kNotFound,  // the file to read does not exist
  kReadOnly,  // the file to replace is read-only; it was left unchanged
  kFailed,    // the file could not be read or written; the figure was left unchanged
};

// Outcome of a file operation. A failure carries a Japanese reason (shown through the
// translator) and, for a damaged file, the line where reading stopped.
struct FileResult {
  FileStatus status = FileStatus::kOk;
  std::string reason;  // Japanese text, empty on success
  int line = 0;        // 1-based line of a damaged file, 0 when not known
  std::string detail;  // system detail of a write failure (not translated)
  bool ok() const { return status == FileStatus::kOk; }
};

// The message to show for a failed file operation, in the translator's language.
std::string FileResultMessage(const FileResult& result, const Translator& tr);

// The message shown when a read-only file would be replaced.
inline constexpr std::string_view kReadOnlyMessage =
    "上書しようとしたファイルは読み取り専用なので,上書できません。"
    "ファイル名を変えて,保存し直してください。";

// Files larger than this are not read: no figure comes near it, and it keeps a damaged or
// wrong file from exhausting memory.
constexpr size_t kMaxFigureFileBytes = size_t{256} << 20;

struct ReadSource;  // the bytes or the file a read takes

class FigureFileIO {
 public:
  // Labels are rebuilt in this translator's language before writing and after reading.
  explicit FigureFileIO(const Translator* translator = nullptr) : translator_(translator) {}

  // True when the last read or merge met a complex-number point kind ("PO...").
  bool hasComplexSteps = false;
  // True when the last read or merge needed the older layout (no `independent` lines).
  bool olderGeneration = false;
  // True when the last read or merge took the file as UTF-8 (a file written by hand in
  // another editor) instead of Shift_JIS. Saving always writes Shift_JIS.
  bool readAsUtf8 = false;

  // mode "W" writes the figure, "R" reads the file into the figure (replacing what it held),
  // "A" merges the file behind the figure's last step. Any other mode does nothing. A read
  // or merge that fails leaves the figure as it was.
  FileResult operator()(Figure& fig, const std::string& path, std::string_view mode);

  // "W" with or without the relabelling first (the window copy writes without it).
  FileResult Write(Figure& fig, const std::string& path, bool relabel = true);
  FileResult Read(Figure& fig, const std::string& path);
  FileResult Merge(Figure& fig, const std::string& path);
  // The same on the bytes of a file already in memory.
  FileResult ReadBytes(Figure& fig, std::string_view bytes);
  FileResult MergeBytes(Figure& fig, std::string_view bytes);

  // Read and Merge take a file in windows of about this many bytes, cut at line ends.
  size_t readWindowBytes = LineWindowFile::kDefaultChunkBytes;

 private:
  const Translator* translator_;
  void Relabel(Figure& fig) const;
  FileResult ReadSourceInto(Figure& fig, const ReadSource& source);
  FileResult MergeSource(Figure& fig, const ReadSource& source);
};

// The text of the figure file in UTF-8 (CR LF line ends), as written by "W" before encoding.
std::string FigureFileText(const Figure& fig);
// The same text in pieces of about 64 KB, each ending at a line end, handed over in order.
void ForEachFigureTextPiece(const Figure& fig, const std::function<void(std::string_view)>& piece);
// A double as the file writes it: up to 15 significant digits, no trailing zeros, exponent
// form below 1E-04 and from 1E+15 on. Values that are not finite are written as 0.
std::string FileNumber(double value);
// Reads a number in any of the forms the file accepts (2, -3.5, .5, 1E-05); nullopt for
// anything else, including values outside the double range.
std::optional<double> ParseFileNumber(std::string_view text);

}  // namespace kv
