// kvtool html: writes the web page of a figure file for batch export, with the viewer beside
// it; and the exact coordinate dump that the viewer's tests compare against.
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/commands.h"
#include "draw/view.h"
#include "io/coordinate_dump.h"
#include "io/file_names.h"
#include "io/html_export.h"
#include "io/kv4_file.h"

namespace kv::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHtmlUsage = "html IN.kv4 OUT.htm [--program-folder DIR]";

// kvtool's own folder, where the build and an install put the viewer and the template.
std::string ExecutableFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path(ec).string();
  return exe.parent_path().string();
}

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  const fs::path pa = a.empty() ? fs::path(".") : fs::path(a);
  const fs::path pb = b.empty() ? fs::path(".") : fs::path(b);
  return fs::equivalent(pa, pb, ec);
}

bool HasComplexSteps(const Figure& fig) {
  for (int32_t s = 1; s <= fig.StepCount(); ++s)
    if (fig.KindCode(s).starts_with("PO")) return true;
  return false;
}

}  // namespace

int HtmlCommand(int argc, char** argv) {
  std::string in, out, programFolder;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--program-folder" && i + 1 < argc) {
      programFolder = argv[++i];
    } else if (in.empty() && !arg.starts_with("--")) {
      in = arg;
    } else if (out.empty() && !arg.starts_with("--")) {
      out = arg;
    } else {
      return Fail("usage: kvtool " + std::string(kHtmlUsage));
    }
  }
  if (in.empty() || out.empty()) return Fail("usage: kvtool " + std::string(kHtmlUsage));
  if (programFolder.empty()) programFolder = ExecutableFolder();

  Figure fig;
  std::string error;
  if (!LoadFigure(in, fig, error)) return Fail(error);

  // The page links the figure file by its name, so the file must stand beside the page.
  const std::string name = FileNamePart(in);
  const std::string pageFolder = FolderPart(out);
  if (!SameFolder(FolderPart(in), pageFolder)) {
    const std::string beside = pageFolder + name;
    std::string bytes, there;
    if (!ReadWholeFile(in, bytes, kMaxFigureFileBytes)) return Fail("cannot read " + in);
    if (FileExists(beside)) {
      if (!ReadWholeFile(beside, there, kMaxFigureFileBytes) || there != bytes)
        return Fail(beside + " is another file; the page would link it instead of " + in);
    } else {
      const std::string failure = WriteFileAtomically(beside, bytes);
      if (!failure.empty()) return Fail(beside + ": " + failure);
    }
  }

  View view;
  view.SetScreen(640, 480);
  if (HasComplexSteps(fig)) view.ZoomComplex();
  HtmlViewOptions options;
  options.width = view.widthPx;
  options.height = view.heightPx;
  options.scaleUnit = view.ScaleUnit;
  options.axes = view.axissw;
  options.axisKind = view.AxisKind;
  options.axisColor = ToColorRef(view.AxisColor);

  const HtmlExportResult result = ExportHtml(in, out, programFolder, options);
  if (!result.ok())
    return Fail(HtmlExportMessage(result, [](std::string_view t) {
      // The command line speaks English.
      return t == kHtmlMissingFilesMessage
                 ? std::string_view("the viewer or the page template is missing:")
                 : t;
    }));
  return 0;
}

int CoordsCommand(int argc, char** argv) {
  if (argc != 2) return Fail("usage: kvtool coords IN.kv4");
  Figure fig;
  std::string error;
  if (!LoadFigure(argv[1], fig, error)) return Fail(error);
  const std::string dump = CoordinateDump(fig);
  std::fwrite(dump.data(), 1, dump.size(), stdout);
  return 0;
}

}  // namespace kv::cli
