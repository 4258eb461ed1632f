#include "io/html_export.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "io/file_names.h"

namespace kv {

namespace {

namespace fs = std::filesystem;

// Template and viewer are small; a larger file is not ours.
constexpr size_t kMaxTemplateBytes = size_t{4} << 20;
constexpr size_t kMaxViewerBytes = size_t{64} << 20;
constexpr size_t kMaxFigureBytes = size_t{256} << 20;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  if (tail.size() > text.size()) return false;
  text = text.substr(text.size() - tail.size());
  for (size_t i = 0; i < tail.size(); ++i)
    if (Lower(text[i]) != Lower(tail[i])) return false;
  return true;
}

size_t FindNoCase(std::string_view text, std::string_view what) {
  if (what.size() > text.size()) return std::string_view::npos;
  for (size_t i = text.size() - what.size() + 1; i-- > 0;) {
    size_t k = 0;
    while (k < what.size() && Lower(text[i + k]) == Lower(what[k])) ++k;
    if (k == what.size()) return i;
  }
  return std::string_view::npos;
}

// True when the text before a placeholder opens a link attribute (href="..., src='...).
bool InLinkAttribute(std::string_view before) {
  for (std::string_view attr : {"href=\"", "href='", "src=\"", "src='", "href=", "src="})
    if (EndsWithNoCase(before, attr)) return true;
  return false;
}

std::string ColourValue(uint32_t v) { return std::to_string(v); }

std::string NumberValue(double v) {
  // The shortest of 15 to 17 digits that reads back as the same double.
  char text[40];
  for (int digits = 15; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, v);
    if (std::strtod(text, nullptr) == v) break;
  }
  return text;
}

std::string FigureElement(std::string_view figureFileName, std::string_view figureBytes,
                          const HtmlViewOptions& view) {
  std::string out = "<script type=\"";
  out += kFigureScriptType;
  out += "\" class=\"kv-figure\" data-name=\"" + HtmlEscape(figureFileName) + "\"";
  auto attr = [&](const char* name, const std::string& value) {
    out += std::string(" data-") + name + "=\"" + value + "\"";
  };
  attr("width", std::to_string(view.width));
  attr("height", std::to_string(view.height));
  attr("scale", NumberValue(view.scaleUnit));
  attr("axes", view.axes ? "1" : "0");
  attr("axis-kind", std::to_string(view.axisKind));
  attr("axis-color", ColourValue(view.axisColor));
  attr("background", ColourValue(view.background));
  attr("strength", std::to_string(view.colorStrength));
  attr("pen-width", std::to_string(view.drawWidth));
  attr("font-size", NumberValue(view.fontSize));
  attr("labels-hidden", view.labelsHidden ? "1" : "0");
  attr("decimals", std::to_string(view.ketaDecimal));
  out += ">\n";
  // Base64 holds no character that could end the element, whatever the figure's names hold.
  const std::string encoded = Base64Encode(figureBytes);
  for (size_t i = 0; i < encoded.size(); i += 76) {
    out.append(encoded, i, 76);
    out += '\n';
  }
  out += "</script>\n";
  return out;
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string UrlPathEscape(std::string_view name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : name) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const bool escape = c <= 0x20 || c == 0x7F || c == '%' || c == '#' || c == '?' || c == '"' ||
                        c == '\'' || c == '<' || c == '>' || c == '\\' || c == '`';
    if (escape) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string Base64Encode(std::string_view bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const uint32_t v = uint32_t(uint8_t(bytes[i])) << 16 | uint32_t(uint8_t(bytes[i + 1])) << 8 |
                       uint8_t(bytes[i + 2]);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += kDigits[v & 63];
  }
  if (i < bytes.size()) {
    const bool two = i + 1 < bytes.size();
    const uint32_t v =
        uint32_t(uint8_t(bytes[i])) << 16 | (two ? uint32_t(uint8_t(bytes[i + 1])) << 8 : 0);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += two ? kDigits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string HtmlPagePath(std::string_view figureFileName) {
  return FolderPart(figureFileName) + StripExtension(FileNamePart(figureFileName)) + ".htm";
}

std::string HtmlPageText(std::string_view templateText, std::string_view figureFileName,
                         std::string_view figureBytes, const HtmlViewOptions& view) {
  const std::string asText = HtmlEscape(figureFileName);
  const std::string asLink = HtmlEscape(UrlPathEscape(figureFileName));
  std::string page;
  page.reserve(templateText.size() + figureBytes.size() * 4 / 3 + 1024);
  size_t from = 0;
  for (;;) {
    const size_t at = templateText.find(kHtmlFilePlaceholder, from);
    if (at == std::string_view::npos) break;
    page.append(templateText.substr(from, at - from));
    page += InLinkAttribute(page) ? asLink : asText;
    from = at + kHtmlFilePlaceholder.size();
  }
  page.append(templateText.substr(from));

  const std::string element = FigureElement(figureFileName, figureBytes, view);
  const size_t bodyEnd = FindNoCase(page, "</body");
  if (bodyEnd == std::string::npos) {
    if (!page.empty() && page.back() != '\n') page += '\n';
    page += element;
  } else {
    page.insert(bodyEnd, element);
  }
  return page;
}

HtmlExportResult ExportHtml(const std::string& figurePath, const std::string& pagePath,
                            const std::string& programFolder, const HtmlViewOptions& view) {
  HtmlExportResult result;
  result.pagePath = pagePath;
  result.viewerPath = (fs::path(programFolder) / kViewerFileName).string();
  result.templatePath = (fs::path(programFolder) / kHtmlTemplateFileName).string();
  if (!FileExists(result.viewerPath) || !FileExists(result.templatePath)) {
    result.status = HtmlExportStatus::kMissingFiles;
    return result;
  }
  auto fail = [&](std::string detail) {
    result.status = HtmlExportStatus::kFailed;
    result.detail = std::move(detail);
    return result;
  };
  std::string templateText, figureBytes, viewer;
  if (!ReadWholeFile(result.templatePath, templateText, kMaxTemplateBytes))
    return fail("cannot read " + result.templatePath);
  if (!ReadWholeFile(figurePath, figureBytes, kMaxFigureBytes))
    return fail("cannot read " + figurePath);

  // A viewer already beside the page is kept: other pages in the folder may rely on it.
  const std::string folder = FolderPart(pagePath);
  const std::string viewerBeside = folder + std::string(kViewerFileName);
  if (!FileExists(viewerBeside)) {
    if (!ReadWholeFile(result.viewerPath, viewer, kMaxViewerBytes))
      return fail("cannot read " + result.viewerPath);
    const std::string error = WriteFileAtomically(viewerBeside, viewer);
    if (!error.empty()) return fail(error);
    result.viewerCopied = true;
  }
  const std::string page = HtmlPageText(templateText, FileNamePart(figurePath), figureBytes, view);
  const std::string error = WriteFileAtomically(pagePath, page);
  if (!error.empty()) return fail(error);
  return result;
}

}  // namespace kv
