#include "images/folder_bitmaps.h"

#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "io/file_names.h"

namespace kv {

namespace fs = std::filesystem;

std::string FolderBitmapPath(const std::string& folder, std::string_view fileName, bool thumbnail) {
  const std::string base = FieldOf(fileName, ".", 1);
  return (fs::path(folder) / "bmp" / ((thumbnail ? "t_" : "") + base + ".bmp")).string();
}

std::vector<std::string> FigureFilesOf(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(fs::path(folder), ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::string name = it->path().filename().string();
    std::string ext = name.size() >= 4 ? name.substr(name.size() - 4) : "";
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".kv4") names.push_back(std::move(name));
  }
  // A stable order, so that the same folder always leaves the same figure open at the end.
  std::sort(names.begin(), names.end());
  return names;
}

FolderBitmapsResult MakeFolderBitmaps(const std::string& folder, bool thumbnail,
                                      const std::function<bool(const std::string&)>& open,
                                      const std::function<QImage()>& picture) {
  FolderBitmapsResult result;
  const std::vector<std::string> files = FigureFilesOf(folder);
  if (files.empty()) return result;
  std::error_code ec;
  fs::create_directories(fs::path(folder) / "bmp", ec);
  for (const std::string& name : files) {
    const std::string path = (fs::path(folder) / name).string();
    if (!open(path)) {
      result.failed.push_back(name);
      continue;
    }
    QSaveFile file(QString::fromStdString(FolderBitmapPath(folder, name, thumbnail)));
    if (file.open(QIODevice::WriteOnly) && picture().save(&file, "BMP") && file.commit())
      ++result.written;
    else
      result.failed.push_back(name);
  }
  return result;
}

}  // namespace kv
