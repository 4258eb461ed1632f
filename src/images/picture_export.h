// Pictures of the canvas outside the window: a bitmap for the clipboard and the bitmap files,
// and the PNG, SVG and PDF files a teacher puts into a worksheet. Each paints the same Scene
// the window paints, so a file shows what the screen shows.
#pragma once

#include <QImage>
#include <string>
#include <string_view>

#include "draw/renderer.h"

namespace kv {

enum class PictureFormat { kUnknown, kPng, kBmp, kSvg, kPdf };

// The format a file name asks for by its extension (case ignored).
PictureFormat PictureFormatOf(std::string_view path);

// The scene painted at width x height pixels, as the canvas shows it.
QImage ScenePicture(const Scene& scene, int width, int height);

// Writes the scene at width x height pixels to `path` in `format`: raster PNG or BMP, or vector
// SVG (texts as text with their font named) and PDF (fonts embedded), both sized to the
// canvas at 96 dots per inch. False with a reason (English) when the file could not be
// written; a failed write leaves no partial file behind.
bool ExportPicture(const Scene& scene, int width, int height, const std::string& path,
                   PictureFormat format, std::string& error);

}  // namespace kv
