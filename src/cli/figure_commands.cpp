// The figure file commands of kvtool: recompute, report, merge and info.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "geometry/recompute.h"
#include "io/kv4_file.h"
#include "io/report.h"

namespace kv::cli {

namespace {

const Translator& English() {
  static const Translator tr{Language::kEnglish, {}};
  return tr;
}

std::string Describe(const FileResult& result, const std::string& path) {
  return path + ": " + FileResultMessage(result, English());
}

// The report is built with CR LF line ends; the terminal gets plain line ends.
void PrintText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  std::fwrite(out.data(), 1, out.size(), stdout);
}

// A file written by hand in UTF-8 is read as such; saying so keeps the guess visible.
void NoteUtf8(const std::string& path) {
  std::fprintf(stderr, "kvtool: %s: %s\n", path.c_str(),
               std::string(English()("UTF-8 のファイルとして読みました")).c_str());
}

int Usage(std::string_view usage) { return Fail("usage: kvtool " + std::string(usage)); }

}  // namespace

int Fail(std::string_view message) {
  std::fprintf(stderr, "kvtool: %.*s\n", static_cast<int>(message.size()), message.data());
  return 1;
}

bool ReadFigureFile(const std::string& path, Figure& fig, std::string& error,
                    const Translator* labels) {
  FigureFileIO io(labels);
  const FileResult result = io.Read(fig, path);
  if (!result.ok()) error = Describe(result, path);
  if (result.ok() && io.readAsUtf8) NoteUtf8(path);
  return result.ok();
}

bool LoadFigure(const std::string& path, Figure& fig, std::string& error,
                const Translator* labels) {
  if (!ReadFigureFile(path, fig, error, labels)) return false;
  RecomputeAll(fig);
  return true;
}

bool SaveFigure(Figure& fig, const std::string& path, std::string& error) {
  FigureFileIO io;
  const FileResult result = io.Write(fig, path);
  if (!result.ok()) error = Describe(result, path);
  return result.ok();
}

int RecomputeCommand(int argc, char** argv) {
  if (argc != 3) return Usage("recompute IN.kv4 OUT.kv4");
  Figure fig;
  std::string error;
  if (!LoadFigure(argv[1], fig, error) || !SaveFigure(fig, argv[2], error)) return Fail(error);
  return 0;
}

int ReportCommand(int argc, char** argv) {
  Translator tr;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--lang" && i + 1 < argc) {
      const std::string_view lang = argv[++i];
      if (lang == "en") {
        tr.language = Language::kEnglish;
      } else if (lang != "ja") {
        return Fail("--lang takes ja or en");
      }
    } else if (path.empty() && !arg.starts_with("--")) {
      path = arg;
    } else {
      return Usage("report IN.kv4 [--lang ja|en]");
    }
  }
  if (path.empty()) return Usage("report IN.kv4 [--lang ja|en]");
  Figure fig;
  std::string error;
  // The derived labels (names of measurements and expressions) follow the report's language.
  if (!LoadFigure(path, fig, error, &tr)) return Fail(error);
  PrintText(FigureReport(fig, path, tr));
  return 0;
}

int MergeCommand(int argc, char** argv) {
  if (argc != 4) return Usage("merge A.kv4 B.kv4 OUT.kv4");
  Figure fig;
  std::string error;
  // Both files are read first, so that the merged figure is recomputed once.
  if (!ReadFigureFile(argv[1], fig, error)) return Fail(error);
  FigureFileIO io;
  const FileResult merged = io.Merge(fig, argv[2]);
  if (!merged.ok()) return Fail(Describe(merged, argv[2]));
  if (io.readAsUtf8) NoteUtf8(argv[2]);
  RecomputeAll(fig);
  if (!SaveFigure(fig, argv[3], error)) return Fail(error);
  return 0;
}

int InfoCommand(int argc, char** argv) {
  if (argc != 2) return Usage("info IN.kv4");
  Figure fig;
  std::string error;
  if (!LoadFigure(argv[1], fig, error)) return Fail(error);
  std::string out;
  auto row = [&](const char* cls, int32_t i, ObjRef ref, std::initializer_list<double> values) {
    out += cls;
    out += '\t' + std::to_string(i) + '\t' + std::string(fig.GetName(ref)) + '\t';
    out += fig.GetValid(ref) != 0 ? "defined" : "undefined";
    for (double v : values) out += '\t' + FileNumber(v);
    out += '\n';
  };
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i)
    row("number", i, {kClassNumber, i}, {fig.numbers[i].value});
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i)
    row("point", i, {kClassPoint, i}, {fig.points[i].x, fig.points[i].y});
  for (int32_t i = 1; i <= fig.classCount[kClassLine]; ++i) {
    const LineRec& l = fig.lines[i];
    row("line", i, {kClassLine, i}, {l.x1, l.y1, l.x2, l.y2});
  }
  for (int32_t i = 1; i <= fig.classCount[kClassCircle]; ++i) {
    const CircleRec& c = fig.circles[i];
    row("circle", i, {kClassCircle, i}, {c.cx, c.cy, c.radius});
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace kv::cli
