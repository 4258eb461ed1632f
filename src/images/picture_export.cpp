#include "images/picture_export.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>

#include "qtcanvas/qt_canvas.h"

namespace kv {
namespace {

constexpr double kScreenDpi = 96;

void PaintScene(const Scene& scene, QPainter& painter, int width, int height) {
  QtCanvas canvas(painter, width, height, kScreenDpi);
  Renderer renderer;
  renderer.Paint(scene, canvas);
}

QString PathOf(const std::string& path) { return QString::fromUtf8(path.c_str()); }

}  // namespace

PictureFormat PictureFormatOf(std::string_view path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return PictureFormat::kUnknown;
  std::string ext(path.substr(dot + 1));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == "png") return PictureFormat::kPng;
  if (ext == "bmp") return PictureFormat::kBmp;
  if (ext == "svg") return PictureFormat::kSvg;
  if (ext == "pdf") return PictureFormat::kPdf;
  return PictureFormat::kUnknown;
}

QImage ScenePicture(const Scene& scene, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintScene(scene, painter, width, height);
  return image;
}

bool ExportPicture(const Scene& scene, int width, int height, const std::string& path,
                   PictureFormat format, std::string& error) {
  if (width < 1 || height < 1) {
    error = "the picture has no area";
    return false;
  }
  // Written beside the target and renamed over it at the end, so that a failure never leaves
  // a half-written picture.
  QSaveFile file(PathOf(path));
  if (!file.open(QIODevice::WriteOnly)) {
    error = "cannot write " + path + ": " + file.errorString().toStdString();
    return false;
  }
  bool painted = true;
  switch (format) {
    case PictureFormat::kPng:
    case PictureFormat::kBmp:
      painted = ScenePicture(scene, width, height)
                    .save(&file, format == PictureFormat::kPng ? "PNG" : "BMP");
      break;
    case PictureFormat::kSvg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&file);
      svg.setSize(QSize(width, height));
      svg.setViewBox(QRect(0, 0, width, height));
      svg.setResolution(static_cast<int>(kScreenDpi));
      svg.setTitle("Korvane");
      QPainter painter;
      painted = painter.begin(&svg);
      if (painted) {
        PaintScene(scene, painter, width, height);
        painted = painter.end();
      }
      break;
    }
    case PictureFormat::kPdf: {
      QPdfWriter pdf(&file);
      pdf.setResolution(static_cast<int>(kScreenDpi));
      pdf.setCreator("Korvane");
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setPageSize(QPageSize(QSizeF(width * 72.0 / kScreenDpi, height * 72.0 / kScreenDpi),
                                QPageSize::Point, QString(), QPageSize::ExactMatch));
      QPainter painter;
      painted = painter.begin(&pdf);
      if (painted) {
        PaintScene(scene, painter, width, height);
        painted = painter.end();
      }
      break;
    }
    case PictureFormat::kUnknown:
      error = "the picture format is not known: use .png, .bmp, .svg or .pdf";
      file.cancelWriting();
      return false;
  }
  if (!painted) {
    file.cancelWriting();
    error = "cannot paint the picture " + path;
    return false;
  }
  if (!file.commit()) {
    error = "cannot write " + path + ": " + file.errorString().toStdString();
    return false;
  }
  return true;
}

}  // namespace kv
