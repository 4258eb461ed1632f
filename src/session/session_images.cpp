// Canvas images as the session sees them: the clipboard copy, the thumbnail cycle that shrinks
// the window in steps for pictures of figures and restores it at the end, the bitmaps of a
// folder, printing, picture export and the window copy. The window does the painting.
#include <filesystem>

#include "io/file_names.h"
#include "io/kv4_file.h"
#include "session/session.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

// The menus the two smallest thumbnail sizes hide, besides those of the full menu.
constexpr MenuCommand kThumbnailHiddenMenus[] = {
    MenuCommand::mnuDeform, MenuCommand::mnuEasyConst, MenuCommand::mnuEasy_Measure,
    MenuCommand::mnuLocus,  MenuCommand::mnuZoom,      MenuCommand::mnuHelp};

constexpr std::string_view kThumbnailRefusedMessage =
    "最大化あるいは最小化されているのでできません。";
constexpr std::string_view kPrintFailedMessage = "フォームの印刷ができません。";
constexpr std::string_view kThumbnailFontName = "ＭＳ Ｐゴシック";

// Window sizes of the thumbnail states in twips (width, height).
constexpr int kHalfWidth = 7000, kHalfHeight = 4900;
constexpr int kThumbWidth = 3500, kThumbHeight = 4300;
constexpr int kSmallWidth = 1305, kSmallHeight = 1985;  // 1984.5 twips, rounded
constexpr int kIconWidth = 1631, kIconHeight = 2646;    // 1631.25 twips, rounded

}  // namespace

// The same copy as status panel 6.
void Session::CopyImageCommand() { ui_.CopyCanvasToClipboard(); }

std::string Session::ThumbnailMenuCaption() const {
  switch (thumbnailState_) {
    case 1:
      return Tr("1/2縮小表示");
    case 2:
      return Tr("サムネイル表示");
    case 3:
      return Tr("小さいサムネイル表示");
    case 4:
      return Tr("標準に戻す");
    default:
      return Tr("縮小/サムネイル(クリップボード)");
  }
}

void Session::ShowThumbnailMenus(bool easy, bool hideMenus) {
  menuMode_ = easy ? -1 : 0;
  ui_.ApplyMenuMode(easy);
  if (hideMenus)
    for (MenuCommand menu : kThumbnailHiddenMenus) ui_.SetMenuVisible(menu, false);
}

void Session::ThumbnailStep() {
  if (ui_.WindowState() != 0) {
    ui_.MessageOk(Tr(kThumbnailRefusedMessage), kProgramTitle);
    return;
  }
  thumbnailState_ = (thumbnailState_ + 1) % 5;
  switch (thumbnailState_) {
    case 1: {
      const auto [width, height] = ui_.WindowSizeTwips();
      thumbnailSaved_ = {width,         height,         ui_.WindowState(), draw.fontSize,
                         draw.fontName, view.ScaleUnit, menuMode_};
      ui_.ApplyWindowSize(kHalfWidth, kHalfHeight, 0);
      break;
    }
    case 2:
      ui_.ApplyWindowSize(kThumbWidth, kThumbHeight, 0);
      draw.fontSize = 10;
      statusBarShown_ = true;
      ui_.SetStatusBarVisible(true);
      ShowThumbnailMenus(false, false);
      view.ZoomOut();
      break;
    case 3:
      ShowThumbnailMenus(true, true);
      ui_.ApplyWindowSize(kSmallWidth, kSmallHeight, 0);
      statusBarShown_ = false;
      ui_.SetStatusBarVisible(false);
      draw.fontSize = 8;
      draw.fontName = kThumbnailFontName;
      view.ZoomOut();
      break;
    case 4:
      ShowThumbnailMenus(true, true);
      ui_.SetMenuVisible(MenuCommand::mnuLanguage, false);
      ui_.ApplyWindowSize(kIconWidth, kIconHeight, 0);
      statusBarShown_ = false;
      ui_.SetStatusBarVisible(false);
      draw.fontSize = 8;
      draw.fontName = kThumbnailFontName;
      break;
    default: {
      // Everything back as it was before the cycle, the menu mode included.
      const ThumbnailRecord& r = thumbnailSaved_;
      ui_.SetMenuVisible(MenuCommand::mnuLanguage, true);
      ui_.ApplyWindowSize(r.widthTwips, r.heightTwips, r.windowState);
      draw.fontName = r.fontName;
      draw.fontSize = r.fontSize;
      statusBarShown_ = true;
      ui_.SetStatusBarVisible(true);
      ShowThumbnailMenus(r.menuMode == -1, false);
      view.ScaleUnit = r.scaleUnit;
      view.SetScreen();
      break;
    }
  }
  RedrawAll();
  RefreshStatus();
  if (thumbnailState_ != 0) CopyImageCommand();
}

std::string Session::CurrentFolder() const {
  std::string folder = FolderPart(figureFileName_);
  std::error_code ec;
  if (!folder.empty() && fs::is_directory(fs::path(folder), ec)) return folder;
  const fs::path cwd = fs::current_path(ec);
  return ec ? std::string(".") : cwd.string();
}

void Session::FolderBitmapsCommand() {
  // Every figure of the folder is opened in turn, so the one held now must be safe first.
  if (!ConfirmDiscardChanges()) return;
  const std::string folder = CurrentFolder();
  const auto [written, failed] =
      ui_.MakeFolderBitmaps(folder, thumbnailState_ == 2 || thumbnailState_ == 3);
  RefreshStatus();
  std::string text = Tr("ビットマップを作りました") + ": " + std::to_string(written) + "\n" +
                     (fs::path(folder) / "bmp").string();
  if (failed > 0) text += "\n" + Tr("読めなかった図") + ": " + std::to_string(failed);
  ui_.MessageOk(text, kProgramTitle);
}

void Session::PrintCommand() {
  RedrawAll();
  // The failure message is the same in every interface language.
  if (!ui_.PrintWindow()) ui_.MessageOk(kPrintFailedMessage, kProgramTitle);
  RedrawAll();
}

void Session::ExportPictureCommand() {
  const std::string filter = "PNG(*.png)|*.png|SVG(*.svg)|*.svg|PDF(*.pdf)|*.pdf|";
  std::string preset = StripExtension(ShortFileName());
  if (preset.empty()) preset = "untitled";
  auto path = ui_.SaveFileDialog(FolderPart(figureFileName_), filter, preset + ".png");
  if (!path || TrimSpaces(*path).empty()) return;
  std::string target = *path;
  // A name without a picture extension becomes a PNG file.
  const std::string ext = fs::path(target).extension().string();
  if (ext.empty()) target += ".png";
  const std::string failure = ui_.ExportPicture(target);
  if (!failure.empty())
    ui_.MessageOk(Tr("図を画像として保存できませんでした。") + "\n" + failure, kProgramTitle);
}

void Session::CopyWindowCommand() {
  const std::string scratch = (fs::path(programFolder_) / "temp_kvwin.kv4").string();
  FigureFileIO io(&translator);
  const FileResult result = io.Write(figure, scratch, false);
  if (!result.ok()) {
    ui_.MessageOk(FileResultMessage(result, translator), kProgramTitle);
    return;
  }
  ui_.PlaceWindowCopy(kThumbWidth, kThumbHeight);
  view.ZoomDefault();
  view.ZoomOut();
  draw.fontSize = 10;
  RedrawAll();
  ui_.StartProgramCopy(scratch);
}

}  // namespace kv
