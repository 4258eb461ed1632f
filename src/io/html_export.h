// Publishing a figure as a web page: the page made from the shipped template, with the figure
// written into it for the viewer script that is placed beside it, and the exporting steps
// (page name, viewer copied when missing, page written).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::string_view kViewerFileName = "kvview.js";
inline constexpr std::string_view kHtmlTemplateFileName = "kv_html_org.htm";
inline constexpr std::string_view kHtmlFilePlaceholder = "%KVFILE%";
// Shown, followed by the two paths, when the viewer or the template is missing.
inline constexpr std::string_view kHtmlMissingFilesMessage =
    "Jarファイル等がないので, Html生成ができません";
// The type of the script element that carries a figure; the viewer looks for it.
inline constexpr std::string_view kFigureScriptType = "application/x-kv4";

// How the page shows the figure: the view and drawing settings of the window it came from.
struct HtmlViewOptions {
  int width = 640, height = 480;  // canvas size in pixels
  double scaleUnit = 0.05;        // world units per pixel
  bool axes = false;
  int axisKind = 0;
  uint32_t axisColor = 0xAAAAAA;   // stored colour value (red + 256 green + 65536 blue)
  uint32_t background = 0xFFFFFF;  // the same
  int colorStrength = 255;
  int drawWidth = 1;
  double fontSize = 9;
  bool labelsHidden = false;
  int ketaDecimal = 2;
};

// Text escaped for HTML content and attribute values (& < > " ').
std::string HtmlEscape(std::string_view text);
// A file name as a relative link: characters that would end or change the path (%, #, ?,
// blanks, quotes, controls) percent-encoded; letters of any script are kept.
std::string UrlPathEscape(std::string_view name);
// Standard base64 with padding.
std::string Base64Encode(std::string_view bytes);

// The page name for a figure file: its folder, its name without the extension, ".htm". Only
// the file-name part loses its extension, so a dot in a folder name is kept.
std::string HtmlPagePath(std::string_view figureFileName);

// The page text: every placeholder in `templateText` replaced by the figure's file name
// (percent-encoded where it stands as a link, HTML-escaped everywhere), and the figure file's
// bytes written into the page as a script element of kFigureScriptType before the closing
// body tag (at the end when there is none).
std::string HtmlPageText(std::string_view templateText, std::string_view figureFileName,
                         std::string_view figureBytes, const HtmlViewOptions& view);

enum class HtmlExportStatus { kOk, kMissingFiles, kFailed };

struct HtmlExportResult {
  HtmlExportStatus status = HtmlExportStatus::kOk;
  std::string pagePath;
  std::string viewerPath, templatePath;  // in the program folder
  bool viewerCopied = false;
  std::string detail;  // what failed, for kFailed
  bool ok() const { return status == HtmlExportStatus::kOk; }
};

// Writes the page for the saved figure file `figurePath` at `pagePath`, placing the viewer
// beside it when that folder has none yet. The figure file must exist: its bytes go into the
// page. Nothing is written when the viewer or the template is missing from `programFolder`.
HtmlExportResult ExportHtml(const std::string& figurePath, const std::string& pagePath,
                            const std::string& programFolder, const HtmlViewOptions& view);

// The message for a failed export, built from Japanese texts passed through `translate`.
template <class Translate>
std::string HtmlExportMessage(const HtmlExportResult& result, const Translate& translate) {
  if (result.status == HtmlExportStatus::kMissingFiles)
    return std::string(translate(kHtmlMissingFilesMessage)) + "\r\n" + result.viewerPath + "\r\n" +
           result.templatePath;
  return result.pagePath + ": " + result.detail;
}

}  // namespace kv
