// Bitmaps of every figure of a folder: each figure file is opened in turn, painted, and saved
// as a bitmap in the folder's "bmp" subfolder, named after the figure.
#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The bitmap of figure file `fileName` of `folder`: folder/bmp/<base>.bmp, or
// folder/bmp/t_<base>.bmp for the thumbnail sizes; base is the file name up to its first ".".
std::string FolderBitmapPath(const std::string& folder, std::string_view fileName, bool thumbnail);

// The names of the figure files (ending in ".kv4", case ignored) of a folder, in name order.
std::vector<std::string> FigureFilesOf(const std::string& folder);

struct FolderBitmapsResult {
  int written = 0;
  std::vector<std::string> failed;  // figure files that could not be read or whose bitmap
                                    // could not be written
};

// For each figure file of `folder`: `open` reads it into the figure shown (false when it
// cannot), `picture` paints the canvas, and the picture is saved as the file's bitmap,
// replacing an older one. The "bmp" subfolder is created when missing; a folder without figure
// files writes nothing.
FolderBitmapsResult MakeFolderBitmaps(const std::string& folder, bool thumbnail,
                                      const std::function<bool(const std::string&)>& open,
                                      const std::function<QImage()>& picture);

}  // namespace kv
