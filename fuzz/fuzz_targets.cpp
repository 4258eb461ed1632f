// The fuzz target bodies and the properties they check.
#include "fuzz_targets.h"

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "expr/evaluator.h"
#include "geometry/recompute.h"
#include "io/file_names.h"
#include "io/kv4_file.h"
#include "io/settings.h"
#include "io/text_encoding.h"
#include "model/names.h"

namespace kv::fuzz {

namespace {

void Check(bool ok, const char* what) {
  if (!ok) throw FuzzFailure(what);
}

// A small figure as a user holds it: two free points, their line, a distance and an
// expression on it.
Figure HeldFigure() {
  Figure fig;
  for (double x : {-1.0, 2.0}) {
    const int32_t p = fig.AllocObject(kClassPoint);
    fig.points[p].x = x;
    fig.points[p].y = x / 2;
    fig.points[p].free = kTrue;
    fig.points[p].valid = kTrue;
    fig.AppendStep("PNEW", {}, {{kClassPoint, p}});
  }
  fig.AppendStep("L1", {{kClassPoint, 1}, {kClassPoint, 2}},
                 {{kClassLine, fig.AllocObject(kClassLine)}});
  fig.AppendStep("ND2P", {{kClassPoint, 1}, {kClassPoint, 2}},
                 {{kClassNumber, fig.AllocObject(kClassNumber)}});
  const int32_t e = fig.AllocObject(kClassNumber);
  fig.numbers[e].expression = "N1*N1";
  fig.AppendStep("CALC", {}, {{kClassNumber, e}});
  RecomputeAll(fig);
  return fig;
}

// The bytes a save writes: labels brought up to date, then the text in Shift_JIS.
std::string SavedBytes(Figure& fig) {
  RelabelAll(fig, Translator{});
  return Utf8ToShiftJis(FigureFileText(fig));
}

// What was read is recomputed and saved; the saved bytes must read back, and saving what was
// read back must give the same bytes.
void CheckSaveIsStable(Figure& fig, FigureFileIO& io) {
  RecomputeAll(fig);
  const std::string first = SavedBytes(fig);
  Figure back;
  Check(io.ReadBytes(back, first).ok(), "a saved figure does not read back");
  Check(!io.readAsUtf8, "a saved figure reads back as UTF-8");
  Check(back.StepCount() == fig.StepCount(), "the step count changes on reading back");
  Check(back.classCount == fig.classCount, "the class counts change on reading back");
  Check(SavedBytes(back) == first, "saving the figure read back gives other bytes");
}

void CheckFailedReadKeepsFigure(const FileResult& result, const Figure& fig,
                                const std::string& before) {
  Check(result.status == FileStatus::kFailed, "a read from memory fails other than kFailed");
  Check(!result.reason.empty(), "a failed read gives no reason");
  Check(FigureFileText(fig) == before, "a failed read or merge changes the figure held");
}

// A file is read through a window of whole lines; with a window of a few bytes every edge
// falls somewhere new, and the read must still find what the read of the whole bytes found.
void CheckWindowedReadAgrees(std::string_view bytes, const FileResult& whole,
                             const FigureFileIO& wholeIo, const Figure& wholeFig) {
  static const std::string path = (std::filesystem::temp_directory_path() /
                                   ("kv_fuzz_window_" + std::to_string(::getpid()) + ".kv4"))
                                      .string();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FigureFileIO io;
  io.readWindowBytes = 7;
  Figure fig = HeldFigure();
  const FileResult windowed = io.Read(fig, path);
  std::filesystem::remove(path);
  Check(windowed.status == whole.status && windowed.reason == whole.reason &&
            windowed.line == whole.line,
        "a file read through a window fails otherwise than its bytes");
  Check(FigureFileText(fig) == FigureFileText(wholeFig),
        "a file read through a window gives another figure than its bytes");
  Check(io.readAsUtf8 == wholeIo.readAsUtf8 && io.olderGeneration == wholeIo.olderGeneration,
        "a file read through a window is judged otherwise than its bytes");
}

}  // namespace

void FigureReaderTarget(std::string_view bytes) {
  FigureFileIO io;
  Figure fig = HeldFigure();
  const std::string before = FigureFileText(fig);
  const FileResult result = io.ReadBytes(fig, bytes);
  CheckWindowedReadAgrees(bytes, result, io, fig);
  if (!result.ok()) return CheckFailedReadKeepsFigure(result, fig, before);
  CheckSaveIsStable(fig, io);
}

void FigureMergeTarget(std::string_view bytes) {
  FigureFileIO io;
  Figure fig = HeldFigure();
  const std::string before = FigureFileText(fig);
  const FileResult result = io.MergeBytes(fig, bytes);
  if (!result.ok()) return CheckFailedReadKeepsFigure(result, fig, before);
  const int32_t steps = fig.StepCount();
  CheckSaveIsStable(fig, io);
  // The merged figure merged behind itself: every reference moves by what it held.
  const std::string saved = SavedBytes(fig);
  const FileResult twice = io.MergeBytes(fig, saved);
  if (!twice.ok()) return;  // a renumbered expression may outgrow its field
  Check(fig.StepCount() == 2 * steps, "a merge behind itself does not double the steps");
  CheckSaveIsStable(fig, io);
}

void SettingsReaderTarget(std::string_view bytes) {
  Settings settings;
  ReadSettingsText(settings, bytes);
  const std::string first = Utf8ToShiftJis(SettingsFileText(settings));
  Settings back;
  ReadSettingsText(back, first);
  Check(Utf8ToShiftJis(SettingsFileText(back)) == first,
        "a settings file read back gives another text");
}

void EvaluatorTarget(std::string_view bytes) {
  const size_t lineEnd = bytes.find('\n');
  const std::string_view expression = bytes.substr(0, lineEnd);
  if (expression.size() > static_cast<size_t>(kExpressionWidth) * 4) return;
  Figure fig;
  // Numbers 1..12 (variables of no step) with the values given after the expression (2, 3,
  // 4, ... by default); every third one undefined, which an expression still reads.
  std::string_view rest = lineEnd == std::string_view::npos ? "" : bytes.substr(lineEnd + 1);
  for (int i = 1; i <= 12; ++i) {
    const int32_t n = fig.AllocObject(kClassNumber);
    const std::string field = FieldOf(rest, ",", 1);
    const size_t comma = rest.find(',');
    rest = comma == std::string_view::npos ? "" : rest.substr(comma + 1);
    fig.numbers[n].value = ParseFileNumber(field).value_or(i + 1.0);
    fig.numbers[n].valid = i % 3 == 0 ? kFalse : kTrue;
  }
  const int32_t e = fig.AllocObject(kClassNumber);
  fig.numbers[e].expression = CutToWidth(expression, kExpressionWidth);
  const int32_t s = fig.AppendStep("CALC", {}, {{kClassNumber, e}});
  EvaluateCalcStep(fig, s);
  const NumberRec& result = fig.numbers[e];
  Check(result.valid == kTrue || result.valid == kFalse, "the result's validity is neither");
  Check(result.valid == kFalse || std::isfinite(result.value), "a defined result is not finite");
  // The whole figure recomputes with the expression in it.
  RecomputeAll(fig);
  Check(fig.numbers[e].valid == kFalse || std::isfinite(fig.numbers[e].value),
        "a recomputed defined result is not finite");
}

}  // namespace kv::fuzz
