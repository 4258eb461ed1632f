// kvtool render: paints a figure file into a PNG image, as the window shows it at the given
// canvas size with the default settings.
#ifdef KV_WITH_QTGUI

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "draw/renderer.h"
#include "qtcanvas/qt_canvas.h"

namespace kv::cli {

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
constexpr int kMaxSide = 16384;

bool ParseSide(std::string_view text, int& out) {
  int v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < 16 || v > kMaxSide) return false;
  out = v;
  return true;
}

// Figures with complex-number points are shown in the complex zoom, as on opening them.
bool HasComplexSteps(const Figure& fig) {
  for (int32_t s = 1; s <= fig.StepCount(); ++s)
    if (fig.KindCode(s).starts_with("PO")) return true;
  return false;
}

// Arguments of the application object; they must outlive it.
int guiArgc = 1;
char guiName[] = "kvtool";
char* guiArgv[] = {guiName, nullptr};

}  // namespace

int RenderCommand(int argc, char** argv) {
  std::string in, out;
  int width = kDefaultWidth, height = kDefaultHeight;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--width" || arg == "--height") {
      if (i + 1 >= argc) return Fail(std::string(arg) + " needs a value");
      int& side = arg == "--width" ? width : height;
      if (!ParseSide(argv[++i], side))
        return Fail(std::string(arg) + " must be a whole number from 16 to 16384");
    } else if (in.empty()) {
      in = arg;
    } else if (out.empty()) {
      out = arg;
    } else {
      return Fail("usage: kvtool render IN.kv4 OUT.png [--width W --height H]");
    }
  }
  if (in.empty() || out.empty())
    return Fail("usage: kvtool render IN.kv4 OUT.png [--width W --height H]");

  Figure fig;
  std::string error;
  if (!LoadFigure(in, fig, error)) return Fail(error);

  View view;
  view.SetScreen(width, height);
  if (HasComplexSteps(fig)) view.ZoomComplex();
  DrawSettings settings;
  Scene scene;
  scene.figure = &fig;
  scene.view = &view;
  scene.settings = &settings;

  // The offscreen platform lets fonts and painting work without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(guiArgc, guiArgv);
  QImage image(width, height, QImage::Format_RGB32);
  PaintReport report;
  {
    QPainter painter(&image);
    QtCanvas canvas(painter, width, height);
    Renderer renderer;
    report = renderer.Paint(scene, canvas);
  }
  if (report.badColourIndex >= 0)
    std::fprintf(stderr, "kvtool: colour index %d is not in the palette; drawn in black\n",
                 report.badColourIndex);
  if (!image.save(QString::fromStdString(out), "PNG")) return Fail("cannot write the image " + out);
  return 0;
}

}  // namespace kv::cli

#endif  // KV_WITH_QTGUI
