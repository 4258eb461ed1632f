// The measurement record: while loci are recorded, the values of the listed numbers at every
// redraw and deformation step go to a CSV file and an HTML page in the program folder, which
// the user opens from the locus menu. The controller keeps both files open while it records.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "model/figure.h"

namespace kv {

inline constexpr std::string_view kRecordCsvName = "temp.csv";
inline constexpr std::string_view kRecordPageName = "temp.htm";

// 0 not yet used, 1 closed, 2 open (both files).
enum class RecordState { kUnused = 0, kClosed = 1, kOpen = 2 };

// "open" starts both files afresh, "append" reopens them to add rows, "close" closes them,
// "new" starts afresh when loci are on (closing first), "show" does nothing; "end" writes the
// page tail and closes, when the program ends.
enum class RecordCommand { kOpen, kAppend, kClose, kNew, kShow, kEnd };

// The texts of the page head that come from outside the figure.
struct RecordHead {
  std::string openLink;  // the translated "Excelなどで開く"
  std::string title;     // the translated "測定値の結果"
  int versionMajor = 0, versionMinor = 0, versionRevision = 0;
  std::string figureFileName;
  std::string date, time;
};

// A number the record (and the number list) shows: neither an independent variable nor an
// auxiliary value, and not hidden.
bool IsRecordedNumber(const NumberRec& n);
// A recorded number's heading: trimmed, every "*" written as "×".
std::string RecordedName(std::string_view name);

class MeasureRecord {
 public:
  MeasureRecord() = default;
  ~MeasureRecord();
  MeasureRecord(const MeasureRecord&) = delete;
  MeasureRecord& operator=(const MeasureRecord&) = delete;

  // Back to a fresh controller writing into `folder` (files closed, failure forgotten). The
  // paths are fixed by the first command.
  void Reset(std::string folder);
  // A read-only installation: every command does nothing.
  void Disable() { disabled_ = true; }

  // Carries out a command. True only when this command met a file failure: the record is
  // off for the rest of the run and the caller tells the user once.
  bool Command(RecordCommand cmd, bool locusOn, const Figure& fig, const RecordHead& head);
  // One data row of the recorded numbers, when the record is open. No row is written when the
  // figure has no recorded number, nor when no point and no number changed since the last row
  // (a redraw that moves nothing), so every row is a new state of the figure. True only when
  // the writing failed now. Reuses its buffers: nothing is allocated once they have grown.
  bool AppendRow(const Figure& fig, int decimals);
  // Since the files were last started afresh: the columns of the header row and the data rows
  // written after it.
  int32_t Columns() const { return columns_; }
  int64_t Rows() const { return rows_; }
  // True when this run started the files; before that they may hold an earlier run's record.
  bool Started() const { return started_; }
  // Started, yet without a column or a row: the page would show an empty table.
  bool Empty() const { return started_ && columns_ == 0 && rows_ == 0; }

  RecordState State() const { return state_; }
  bool Failed() const { return failed_; }
  bool Disabled() const { return disabled_; }
  // Off for good: read-only installation or a failure.
  bool Off() const { return disabled_ || failed_; }
  const std::string& CsvPath() const { return csvPath_; }
  const std::string& PagePath() const { return pagePath_; }

 private:
  bool Start(const Figure& fig, const RecordHead& head);  // files replaced, head, header row
  bool OpenFiles(const char* fileMode);
  bool CloseFiles();  // false when what was buffered could not be written
  bool Fail();
  bool WriteBoth(const std::string& csv, const std::string& html);

  std::string folder_;
  std::string csvPath_, pagePath_;
  RecordState state_ = RecordState::kUnused;
  bool failed_ = false;
  bool disabled_ = false;
  std::FILE* csv_ = nullptr;
  std::FILE* page_ = nullptr;
  std::string csvRow_, htmlRow_, cell_;  // reused by AppendRow
  // The positions of the points and the values of the numbers at the last row, and now.
  std::vector<double> lastState_, stateNow_;
  int32_t columns_ = 0;
  int64_t rows_ = 0;
  bool started_ = false;
};

}  // namespace kv
