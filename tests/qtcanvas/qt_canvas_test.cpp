// The QPainter canvas checked pixel by pixel on an image: device coordinates name pixel
// centres, far-reaching lines and huge circles still show their visible part, and the font
// names of the settings map to installed Japanese fonts.
#include "qtcanvas/qt_canvas.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>

namespace kv {
namespace {

class QtCanvasTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QGuiApplication::instance()) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
      static int argc = 1;
      static char name[] = "qt_canvas_test";
      static char* argv[] = {name, nullptr};
      new QGuiApplication(argc, argv);  // lives until the process ends
    }
  }

  QtCanvasTest() : image(100, 60, QImage::Format_RGB32) { image.fill(Qt::white); }

  template <class Draw>
  void Paint(Draw draw) {
    QPainter painter(&image);
    QtCanvas canvas(painter, image.width(), image.height());
    draw(canvas);
  }
  bool Dark(int x, int y) const { return qGray(image.pixel(x, y)) < 128; }
  bool White(int x, int y) const { return image.pixel(x, y) == qRgb(255, 255, 255); }
  int DarkPixels() const {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 200;
    return n;
  }

  QImage image;
  const Pen black{kBlack, 1, LineStyle::kSolid};
};

TEST_F(QtCanvasTest, OnePixelShapesCoverWholePixels) {
  Paint([&](QtCanvas& c) {
    c.Line({5, 10}, {20, 10}, black);
    c.FillRect({40, 3}, {43, 6}, kBlack);
    c.Dot({70, 30}, kBlack, 1);
  });
  for (int x = 6; x <= 19; ++x) EXPECT_TRUE(Dark(x, 10)) << x;
  EXPECT_TRUE(White(10, 9));
  EXPECT_TRUE(White(10, 11));
  for (int x = 40; x <= 43; ++x) {
    EXPECT_TRUE(Dark(x, 3)) << x;
    EXPECT_TRUE(Dark(x, 6)) << x;
  }
  EXPECT_TRUE(White(39, 4));
  EXPECT_TRUE(White(44, 4));
  EXPECT_TRUE(White(41, 7));
  EXPECT_TRUE(Dark(70, 30));
  EXPECT_TRUE(White(71, 30));
  EXPECT_TRUE(White(70, 29));
}

TEST_F(QtCanvasTest, OnePixelDotsCoverTwoDevicePixelsOnDenseScreens) {
  // {device pixel ratio, dots per inch, device pixels the dot must cover at least in a row}
  const struct {
    double ratio, dpi;
    int atLeast, atMost;
  } cases[] = {{1, 96, 1, 1}, {1.5, 96, 2, 3}, {2, 96, 2, 2}, {3, 96, 3, 3}, {1, 192, 2, 2}};
  for (const auto& c : cases) {
    image.fill(Qt::white);
    image.setDevicePixelRatio(c.ratio);
    {
      QPainter painter(&image);
      QtCanvas canvas(painter, 20, 20, c.dpi);
      canvas.Dot({5, 5}, kBlack, 1);
    }
    int widest = 0;
    for (int y = 0; y < image.height(); ++y) {
      int row = 0;
      for (int x = 0; x < image.width(); ++x) row += qGray(image.pixel(x, y)) < 200;
      widest = std::max(widest, row);
    }
    EXPECT_GE(widest, c.atLeast) << "ratio " << c.ratio << " dpi " << c.dpi;
    EXPECT_LE(widest, c.atMost) << "ratio " << c.ratio << " dpi " << c.dpi;
  }
}

TEST_F(QtCanvasTest, FarLinesAndHugeCirclesShowTheirVisiblePart) {
  Paint([&](QtCanvas& c) {
    c.Line({-1e9, 20}, {1e9, 20}, black);
    c.Line({-1e9, -5}, {1e9, -5}, black);  // entirely above the image
    // Radius a million pixels, touching the image at (50, 40) from below.
    c.Circle({50, 40 + 1e6}, 1e6, black);
    c.Circle({500, 500}, 10, black);  // misses the image
    c.Circle({50, 30}, 1e6, black);   // encloses the image without crossing it
  });
  for (int x : {0, 37, 99}) EXPECT_TRUE(Dark(x, 20)) << x;
  for (int x : {45, 50, 55}) EXPECT_TRUE(Dark(x, 40)) << x;
  int dark = DarkPixels();
  EXPECT_LT(dark, 100 + 100 + 20);  // the two rows only, give or take antialiasing
}

TEST_F(QtCanvasTest, DottedLinesLeaveGaps) {
  Paint([&](QtCanvas& c) { c.Line({0, 30}, {99, 30}, Pen{kBlack, 1, LineStyle::kDotted}); });
  int dark = 0;
  for (int x = 0; x < 100; ++x) dark += Dark(x, 30);
  EXPECT_GT(dark, 20);
  EXPECT_LT(dark, 50);
}

TEST_F(QtCanvasTest, SettingsFontNamesMapToJapaneseFonts) {
  const QStringList families = QFontDatabase::families();
  if (!families.contains("Noto Sans CJK JP") || !families.contains("Noto Sans Mono CJK JP"))
    GTEST_SKIP() << "the Japanese fonts are not installed";
  EXPECT_EQ(CanvasFontFamily(QString::fromUtf8("ＭＳ Ｐゴシック")), "Noto Sans CJK JP");
  EXPECT_EQ(CanvasFontFamily("FixedSys"), "Noto Sans Mono CJK JP");
  EXPECT_EQ(CanvasFontFamily("Noto Sans Mono CJK JP"), "Noto Sans Mono CJK JP");

  // Labels draw below their top-left corner, and a kanji is about twice as wide as a
  // letter in the fixed-pitch font.
  const TextStyle style{kBlack, "FixedSys", 9};
  double letter = 0, kanji = 0;
  Paint([&](QtCanvas& c) {
    c.Text({10, 20},
           "\xE5\x86\x86"
           "A",
           style);
    letter = c.TextWidth("A", style);
    kanji = c.TextWidth("\xE5\x86\x86", style);
  });
  EXPECT_NEAR(kanji, 2 * letter, 1.0);
  int inside = 0, above = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x) {
      if (qGray(image.pixel(x, y)) >= 200) continue;
      (y >= 20 && y < 40 && x >= 10 && x < 40 ? inside : above)++;
    }
  EXPECT_GT(inside, 10);
  EXPECT_EQ(above, 0);
}

// Thick solid lines end square (half the width past each end point, corners included);
// freehand strokes keep round ends, and a pen set for one object is not carried into the next
// object of another colour.
TEST_F(QtCanvasTest, ThickLinesEndSquareAndStrokesEndRound) {
  const Pen thick{kBlack, 5, LineStyle::kSolid};
  const Pen red{Rgb{255, 0, 0}, 5, LineStyle::kSolid};
  Paint([&](QtCanvas& c) {
    c.Line({10, 10}, {30, 10}, thick);
    c.Line({40, 10}, {60, 10}, thick);  // the same pen again
    c.Line({70, 10}, {90, 10}, red);
    const DevicePoint stroke[] = {{10, 40}, {30, 40}};
    c.Polyline(stroke, thick);
  });
  EXPECT_TRUE(Dark(8, 8));    // the corner of the square end (2.8 px from the end point)
  EXPECT_TRUE(Dark(38, 12));  // the second line has it too
  EXPECT_EQ(image.pixel(68, 10), qRgb(255, 0, 0));  // red, from its own pen
  EXPECT_TRUE(Dark(8, 40));   // the round end of the stroke reaches past its end point
  EXPECT_FALSE(Dark(8, 38));  // but not into the corner
}

}  // namespace
}  // namespace kv
