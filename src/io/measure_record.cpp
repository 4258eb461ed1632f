#include "io/measure_record.h"

#include <filesystem>

#include "draw/number_text.h"
#include "io/text_encoding.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kEol = "\r\n";
// Bytes each file collects before it is written out.
constexpr size_t kRecordBuffer = 1 << 16;

std::string InFolder(const std::string& folder, std::string_view name) {
  return (fs::path(folder) / fs::path(std::u8string(name.begin(), name.end()))).string();
}

// Writes all of `text`; false on a short write.
bool Put(std::FILE* f, std::string_view text) {
  return std::fwrite(text.data(), 1, text.size(), f) == text.size();
}

}  // namespace

bool IsRecordedNumber(const NumberRec& n) {
  return n.independent != -1 && n.independent != 7 && n.hidden == 0;
}

std::string RecordedName(std::string_view name) {
  std::string out;
  for (char c : TrimSpaces(name)) {
    if (c == '*') {
      out += "×";
    } else {
      out += c;
    }
  }
  return out;
}

MeasureRecord::~MeasureRecord() { CloseFiles(); }

void MeasureRecord::Reset(std::string folder) {
  CloseFiles();
  folder_ = std::move(folder);
  csvPath_.clear();
  pagePath_.clear();
  state_ = RecordState::kUnused;
  failed_ = false;
  disabled_ = false;
  started_ = false;
  columns_ = 0;
  rows_ = 0;
}

bool MeasureRecord::Command(RecordCommand cmd, bool locusOn, const Figure& fig,
                            const RecordHead& head) {
  if (Off()) return false;
  if (state_ == RecordState::kUnused) {
    csvPath_ = InFolder(folder_, kRecordCsvName);
    pagePath_ = InFolder(folder_, kRecordPageName);
    state_ = RecordState::kClosed;
  }
  const bool open = state_ == RecordState::kOpen;
  switch (cmd) {
    case RecordCommand::kOpen:
      return open ? false : Start(fig, head);
    case RecordCommand::kAppend:
      if (open) return false;
      if (!OpenFiles("ab")) return Fail();
      state_ = RecordState::kOpen;
      return false;
    case RecordCommand::kClose:
      return CloseFiles() ? false : Fail();
    case RecordCommand::kNew:
      if (!CloseFiles()) return Fail();
      return locusOn ? Start(fig, head) : false;
    case RecordCommand::kShow:
      return false;
    case RecordCommand::kEnd: {
      if (!open) return false;
      std::string tail = "</table>";
      tail.append(kEol).append("</body>").append(kEol).append("</html>").append(kEol);
      const bool ok = Put(page_, tail);
      return CloseFiles() && ok ? false : Fail();
    }
  }
  return false;
}

bool MeasureRecord::Start(const Figure& fig, const RecordHead& head) {
  if (!OpenFiles("wb")) return Fail();
  state_ = RecordState::kOpen;
  started_ = true;
  columns_ = 0;
  rows_ = 0;
  const std::string eol(kEol);
  std::string html;
  html += "<html><body>" + eol;
  html += "<small>" + eol;
  html += "<a href=" + std::string(kRecordCsvName) + ">[" + head.openLink + "]</a>" + eol;
  html += "</small>" + eol;
  html += "<h2>" + head.title + " by KV/Win " + std::to_string(head.versionMajor) + "." +
          std::to_string(head.versionMinor) + "." + std::to_string(head.versionRevision) + eol;
  html += "</h2>" + eol;
  html += "<div align = center>" + eol;
  html += "<small>" + eol;
  html += "file : " + head.figureFileName + "," + eol;
  html += "( " + head.date + " : " + head.time + " )" + eol;
  html += "</small>" + eol;
  html += "</div>" + eol;
  html += "<hr>" + eol;
  html += "<table border=1>" + eol;
  html += "<tr>";
  std::string csv;
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i) {
    const NumberRec& n = fig.numbers[i];
    if (!IsRecordedNumber(n)) continue;
    const std::string name = RecordedName(n.name);
    ++columns_;
    html += "<th>" + name;
    csv += '"';
    for (char c : name) {
      if (c == '"') csv += '"';  // a quote inside a quoted item is doubled
      csv += c;
    }
    csv += "\",";
  }
  html += eol;
  csv += "\"\"" + eol;
  return WriteBoth(Utf8ToShiftJis(csv), Utf8ToShiftJis(html)) ? false : Fail();
}

namespace {

// What a row stands for: where every point is and what every number holds.
void CaptureState(const Figure& fig, std::vector<double>& out) {
  out.clear();
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) {
    out.push_back(fig.points[i].x);
    out.push_back(fig.points[i].y);
  }
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i) out.push_back(fig.numbers[i].value);
}

bool AnyRecordedNumber(const Figure& fig) {
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i)
    if (IsRecordedNumber(fig.numbers[i])) return true;
  return false;
}

}  // namespace

bool MeasureRecord::AppendRow(const Figure& fig, int decimals) {
  if (Off() || state_ != RecordState::kOpen) return false;
  // A row of nothing but separators tells the reader nothing.
  if (!AnyRecordedNumber(fig)) return false;
  // The full redraw that ends a drag, a click, a zoom: the figure stands where the last row
  // left it, and a second equal row would read as a step that never happened.
  CaptureState(fig, stateNow_);
  if (rows_ > 0 && stateNow_ == lastState_) return false;
  lastState_.swap(stateNow_);
  ++rows_;
  csvRow_.clear();
  htmlRow_.assign("<tr>");
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i) {
    const NumberRec& n = fig.numbers[i];
    if (!IsRecordedNumber(n)) continue;
    cell_.clear();
    AppendNumberText(cell_, n.value, decimals);
    // The list's alignment blanks mean nothing in a table cell.
    // A value without decimals ends in its point, which a table cell does without.
    if (!cell_.empty() && cell_.back() == '.') cell_.pop_back();
    const size_t first = cell_.find_first_not_of(' ');
    const std::string_view value =
        first == std::string::npos ? std::string_view() : std::string_view(cell_).substr(first);
    csvRow_.append(value).push_back(',');
    htmlRow_.append("<td>").append(value);
  }
  csvRow_.append("\"\"").append(kEol);
  htmlRow_.append(kEol);
  return WriteBoth(csvRow_, htmlRow_) ? false : Fail();
}

bool MeasureRecord::WriteBoth(const std::string& csv, const std::string& html) {
  // Buffered: a row per drag step would otherwise cost two writes to disk. Closing (which the
  // page command does before it opens the page) puts everything on disk.
  return Put(csv_, csv) && Put(page_, html);
}

bool MeasureRecord::OpenFiles(const char* fileMode) {
  CloseFiles();
  csv_ = std::fopen(csvPath_.c_str(), fileMode);
  page_ = std::fopen(pagePath_.c_str(), fileMode);
  if (csv_ == nullptr || page_ == nullptr) return false;
  std::setvbuf(csv_, nullptr, _IOFBF, kRecordBuffer);
  std::setvbuf(page_, nullptr, _IOFBF, kRecordBuffer);
  return true;
}

bool MeasureRecord::CloseFiles() {
  bool ok = true;
  if (csv_) ok = std::fclose(csv_) == 0;
  if (page_) ok = std::fclose(page_) == 0 && ok;
  csv_ = page_ = nullptr;
  if (state_ == RecordState::kOpen) state_ = RecordState::kClosed;
  return ok;
}

bool MeasureRecord::Fail() {
  CloseFiles();
  failed_ = true;
  return true;
}

}  // namespace kv
