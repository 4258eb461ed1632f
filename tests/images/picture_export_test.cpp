// Pictures of figures in files: the format follows the extension, the SVG and PDF files hold
// the picture the screen shows, and the bitmaps of a folder are one per figure.
#include "images/picture_export.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "draw/recording_canvas.h"
#include "geometry/recompute.h"
#include "images/folder_bitmaps.h"
#include "io/kv4_file.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class PictureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QGuiApplication::instance()) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
      static int argc = 1;
      static char name[] = "picture_export_test";
      static char* argv[] = {name, nullptr};
      new QGuiApplication(argc, argv);  // lives until the process ends
    }
  }
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("kv_pictures_" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  // Opens a figure file into `fig` and describes it as the window at 640 x 480 shows it.
  bool Open(const std::string& path) {
    FigureFileIO io;
    if (!io.Read(fig, path).ok()) return false;
    RecomputeAll(fig);
    view.SetScreen(kWidth, kHeight);
    if (io.hasComplexSteps) view.ZoomComplex();
    scene.figure = &fig;
    scene.view = &view;
    scene.settings = &settings;
    return true;
  }

  static constexpr int kWidth = 640, kHeight = 480;
  fs::path folder;
  Figure fig;
  View view;
  DrawSettings settings;
  Scene scene;
};

std::vector<fs::path> Samples() {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(fs::path(KV_SOURCE_DIR) / "samples"))
    if (e.path().extension() == ".kv4") out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

TEST(PictureFormatOf, ByExtensionIgnoringCase) {
  const struct {
    const char* path;
    PictureFormat format;
  } cases[] = {
      {"a.png", PictureFormat::kPng},         {"dir.x/B.PNG", PictureFormat::kPng},
      {"c.Svg", PictureFormat::kSvg},         {"d.pdf", PictureFormat::kPdf},
      {"e.bmp", PictureFormat::kBmp},         {"f.kv4", PictureFormat::kUnknown},
      {"dir.svg/g", PictureFormat::kUnknown}, {"noext", PictureFormat::kUnknown},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFormatOf(c.path), c.format) << c.path;
}

// Whether a drawing call can leave anything on a width x height canvas: a segment that reaches
// the canvas (with a few pixels to spare for the pen), a circle that crosses it.
bool ReachesCanvas(const RecordingCanvas::Call& c, double width, double height) {
  using Op = RecordingCanvas::Op;
  const double m = 4.0 + c.pen.width;
  if (c.op == Op::kCircle) {
    const double diag = std::hypot(width, height) / 2 + m;
    const double dist = std::hypot(c.points[0].x - width / 2, c.points[0].y - height / 2);
    return dist <= c.radius + diag && c.radius <= dist + diag;
  }
  if (c.op != Op::kLine) return true;
  // Sample the segment finely enough to find a point inside the enlarged canvas.
  const DevicePoint a = c.points[0], b = c.points[1];
  const double len = std::hypot(b.x - a.x, b.y - a.y);
  const int n = std::clamp(static_cast<int>(len), 1, 1000000);
  for (int i = 0; i <= n; ++i) {
    const double t = static_cast<double>(i) / n;
    const double x = a.x + t * (b.x - a.x), y = a.y + t * (b.y - a.y);
    if (x >= -m && y >= -m && x <= width + m && y <= height + m) return true;
  }
  return false;
}

std::string WithoutBlanks(const std::string& text) {
  std::string out;
  for (char ch : text)
    if (ch != ' ' && ch != '\n' && ch != '\t') out += ch;
  return out;
}

// Every visible drawing call of the renderer becomes an element of the SVG: a line a
// polyline, a circle a circle, and every label and number line text in a named font.
TEST_F(PictureTest, SvgOfEverySampleHoldsTheScreensObjectsAndTexts) {
  for (const fs::path& sample : Samples()) {
    SCOPED_TRACE(sample.filename().string());
    ASSERT_TRUE(Open(sample.string()));
    RecordingCanvas rec;
    Renderer().Paint(scene, rec);
    const std::string out = (folder / "out.svg").string();
    std::string error;
    ASSERT_TRUE(ExportPicture(scene, kWidth, kHeight, out, PictureFormat::kSvg, error)) << error;

    QFile file(QString::fromStdString(out));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    size_t shapes = 0, unfontedTexts = 0;
    std::string svgText;
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      const QStringView name = xml.name();
      if (name == u"text") {
        if (xml.attributes().value("font-family").isEmpty()) ++unfontedTexts;
        svgText += xml.readElementText().toStdString();
      } else if (name == u"polyline" || name == u"circle" || name == u"ellipse" ||
                 name == u"path" || name == u"line") {
        ++shapes;
      }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    using Op = RecordingCanvas::Op;
    size_t visibleShapes = 0;
    std::string drawnText;
    for (const auto& call : rec.calls) {
      if (call.op == Op::kText) drawnText += call.text;
      if ((call.op == Op::kLine || call.op == Op::kPolyline || call.op == Op::kCircle) &&
          ReachesCanvas(call, kWidth, kHeight))
        ++visibleShapes;
    }
    EXPECT_EQ(shapes, visibleShapes);
    EXPECT_EQ(WithoutBlanks(svgText), WithoutBlanks(drawnText));
    EXPECT_EQ(unfontedTexts, 0u);
  }
}

// Pixels with clear ink (darker than mid grey), and how many of them have no trace of ink
// within two pixels in the other picture: antialiasing greys an edge differently and a dotted
// pattern may start a pixel later, but a missing line, marker or label stands out.
bool Inked(const QImage& image, int x, int y, int threshold = 128) {
  return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
         qGray(image.pixel(x, y)) < threshold;
}
int UnmatchedInk(const QImage& from, const QImage& in, int& inked) {
  int unmatched = 0;
  inked = 0;
  for (int y = 0; y < from.height(); ++y)
    for (int x = 0; x < from.width(); ++x) {
      if (!Inked(from, x, y)) continue;
      ++inked;
      bool near = false;
      for (int dy = -2; dy <= 2 && !near; ++dy)
        for (int dx = -2; dx <= 2 && !near; ++dx) near = Inked(in, x + dx, y + dy, 240);
      unmatched += !near;
    }
  return unmatched;
}

// The PDF, turned back into pixels, is the PNG: every line, marker and label of one lies on
// ink of the other (antialiasing may shift an edge by a pixel).
TEST_F(PictureTest, PdfOfEverySampleLooksLikeThePng) {
  if (std::system("pdftoppm -v > /dev/null 2>&1") != 0) GTEST_SKIP() << "pdftoppm is missing";
  for (const fs::path& sample : Samples()) {
    SCOPED_TRACE(sample.filename().string());
    ASSERT_TRUE(Open(sample.string()));
    const std::string pdf = (folder / "out.pdf").string();
    std::string error;
    ASSERT_TRUE(ExportPicture(scene, kWidth, kHeight, pdf, PictureFormat::kPdf, error)) << error;
    const std::string command =
        "pdftoppm -png -r 96 -singlefile \"" + pdf + "\" \"" + (folder / "pdf").string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const QImage fromPdf = QImage(QString::fromStdString((folder / "pdf.png").string()))
                               .convertToFormat(QImage::Format_RGB32);
    const QImage png = ScenePicture(scene, kWidth, kHeight);
    ASSERT_EQ(fromPdf.size(), png.size());
    int pngInk = 0, pdfInk = 0;
    const int missingInPdf = UnmatchedInk(png, fromPdf, pngInk);
    const int extraInPdf = UnmatchedInk(fromPdf, png, pdfInk);
    EXPECT_GT(pngInk, 100);
    EXPECT_LT(missingInPdf, pngInk / 50 + 5) << "of " << pngInk;
    EXPECT_LT(extraInPdf, pdfInk / 50 + 5) << "of " << pdfInk;
  }
}

TEST_F(PictureTest, FailedWriteLeavesNoFileAndSaysWhy) {
  ASSERT_TRUE(Open((fs::path(KV_SOURCE_DIR) / "samples" / "circumcircle.kv4").string()));
  std::string error;
  const std::string missing = (folder / "no" / "such" / "x.png").string();
  EXPECT_FALSE(ExportPicture(scene, kWidth, kHeight, missing, PictureFormat::kPng, error));
  EXPECT_NE(error.find("cannot write"), std::string::npos);
  EXPECT_FALSE(ExportPicture(scene, kWidth, kHeight, (folder / "x.gif").string(),
                             PictureFormat::kUnknown, error));
  EXPECT_TRUE(fs::is_empty(folder));
  // A failed export keeps the picture that was there.
  const std::string kept = (folder / "kept.png").string();
  std::ofstream(kept) << "old";
  EXPECT_FALSE(ExportPicture(scene, 0, kHeight, kept, PictureFormat::kPng, error));
  EXPECT_EQ(fs::file_size(kept), 3u);
}

TEST(FolderBitmapPath, BaseIsTheNameUpToItsFirstDot) {
  EXPECT_EQ(FolderBitmapPath("f", "tri.kv4", false), (fs::path("f") / "bmp" / "tri.bmp").string());
  EXPECT_EQ(FolderBitmapPath("f", "a.b.kv4", false), (fs::path("f") / "bmp" / "a.bmp").string());
  EXPECT_EQ(FolderBitmapPath("f", "tri.kv4", true), (fs::path("f") / "bmp" / "t_tri.bmp").string());
}

TEST_F(PictureTest, FolderExportWritesOneBitmapPerFigure) {
  const fs::path samples = fs::path(KV_SOURCE_DIR) / "samples";
  fs::copy_file(samples / "circumcircle.kv4", folder / "one.kv4");
  fs::copy_file(samples / "euler_line.kv4", folder / "two.KV4");
  std::ofstream(folder / "broken.kv4") << "not a figure\r\n";
  std::ofstream(folder / "notes.txt") << "x";
  std::vector<std::string> opened;
  const auto open = [&](const std::string& path) {
    opened.push_back(fs::path(path).filename().string());
    return Open(path);
  };
  const auto picture = [&] { return ScenePicture(scene, 320, 240); };

  FolderBitmapsResult r = MakeFolderBitmaps(folder.string(), false, open, picture);
  EXPECT_EQ(opened, (std::vector<std::string>{"broken.kv4", "one.kv4", "two.KV4"}));
  EXPECT_EQ(r.written, 2);
  EXPECT_EQ(r.failed, std::vector<std::string>{"broken.kv4"});
  const QImage one(QString::fromStdString((folder / "bmp" / "one.bmp").string()));
  EXPECT_EQ(one.size(), QSize(320, 240));
  EXPECT_TRUE(fs::exists(folder / "bmp" / "two.bmp"));
  EXPECT_FALSE(fs::exists(folder / "bmp" / "broken.bmp"));

  // The thumbnail sizes name their bitmaps with "t_".
  r = MakeFolderBitmaps(folder.string(), true, open, picture);
  EXPECT_TRUE(fs::exists(folder / "bmp" / "t_one.bmp"));
  EXPECT_TRUE(fs::exists(folder / "bmp" / "t_two.bmp"));

  // A folder without figures gets no "bmp" folder.
  const fs::path empty = folder / "empty";
  fs::create_directories(empty);
  r = MakeFolderBitmaps(empty.string(), false, open, picture);
  EXPECT_EQ(r.written, 0);
  EXPECT_FALSE(fs::exists(empty / "bmp"));
}

}  // namespace
}  // namespace kv
