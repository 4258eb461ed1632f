// Settings file and data folder file.
#include "io/settings.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>
#include <variant>

#include "io/file_names.h"
#include "io/kv4_file.h"
#include "io/text_encoding.h"

namespace kv {

namespace {

enum class Type { kText, kInt16, kInt32, kDouble, kSingle, kBool };

using Member = std::variant<std::string Settings::*, int32_t Settings::*, double Settings::*,
                            float Settings::*, bool Settings::*>;

struct Row {
  std::string_view key;  // as written, with " ="
  Type type;
  Member member;
  bool read;  // false: written only
};

// The file order.
const Row kRows[] = {
    {"App =", Type::kText, &Settings::app, false},
    {"AppMajor =", Type::kInt16, &Settings::appMajor, false},
    {"AppMinor =", Type::kInt16, &Settings::appMinor, false},
    {"delta =", Type::kInt16, &Settings::delta, true},
    {"deltavar =", Type::kDouble, &Settings::deltaVar, true},
    {"ColorStrength =", Type::kInt16, &Settings::colorStrength, true},
    {"NotChrDisp =", Type::kInt16, &Settings::notChrDisp, true},
    {"axissw =", Type::kInt16, &Settings::axissw, true},
    {"AxisColor =", Type::kInt32, &Settings::axisColor, true},
    {"KVwin.DrawWidth =", Type::kInt16, &Settings::drawWidth, true},
    {"KVwin.FontSize =", Type::kSingle, &Settings::fontSize, true},
    {"KVwin.FontName =", Type::kText, &Settings::fontName, true},
    {"KetaDecimal =", Type::kInt16, &Settings::ketaDecimal, true},
    {"KVwin.BackColor =", Type::kInt32, &Settings::backColor, true},
    {"BrowserSW =", Type::kInt16, &Settings::browserSW, true},
    {"WWWurl =", Type::kText, &Settings::wwwUrl, true},
    {"KVwin.Width =", Type::kInt16, &Settings::width, true},
    {"KVwin.Height =", Type::kInt16, &Settings::height, true},
    {"KVwin.WindowState =", Type::kInt16, &Settings::windowState, true},
    {"KVwin_MenuMode =", Type::kInt16, &Settings::menuMode, true},
    {"KVwin_AutoRedraw =", Type::kBool, &Settings::autoRedraw, false},
    {"KVwin_Redraw_Slow =", Type::kInt32, &Settings::redrawSlow, true},
    {"KVwin_Language =", Type::kText, &Settings::language, true},
    {"SDeformKind =", Type::kInt16, &Settings::sDeformKind, true},
};

std::string_view TrimSettingBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// The key without its " =".
std::string_view KeyName(std::string_view key) {
  return TrimSettingBlanks(key.substr(0, key.find('=')));
}

// A number in the form the file writes, blanks anywhere ignored.
std::optional<double> ParseSettingNumber(std::string_view text) {
  std::string compact;
  for (char c : text)
    if (c != ' ' && c != '\t') compact += c;
  return ParseFileNumber(compact);
}

// Integers round half to even, as the conversion to an integer setting does.
bool ToInteger(std::string_view text, int64_t low, int64_t high, int32_t& out) {
  const std::optional<double> v = ParseSettingNumber(text);
  if (!v) return false;
  const double r = std::nearbyint(*v);
  if (r < static_cast<double>(low) || r > static_cast<double>(high)) return false;
  out = static_cast<int32_t>(r);
  return true;
}

// Sets one setting from its value text; a value that cannot be converted changes nothing.
void Assign(Settings& s, const Row& row, std::string_view value) {
  switch (row.type) {
    case Type::kText:
      s.*std::get<std::string Settings::*>(row.member) = value;
      break;
    case Type::kInt16: {
      int32_t v;
      if (ToInteger(value, -32768, 32767, v)) s.*std::get<int32_t Settings::*>(row.member) = v;
      break;
    }
    case Type::kInt32: {
      int32_t v;
      if (ToInteger(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                    v))
        s.*std::get<int32_t Settings::*>(row.member) = v;
      break;
    }
    case Type::kDouble:
      if (auto v = ParseSettingNumber(value)) s.*std::get<double Settings::*>(row.member) = *v;
      break;
    case Type::kSingle:
      if (auto v = ParseSettingNumber(value);
          v && std::abs(*v) <= std::numeric_limits<float>::max())
        s.*std::get<float Settings::*>(row.member) = static_cast<float>(*v);
      break;
    case Type::kBool:
      break;  // written only
  }
}

// A number with a leading blank when it is not negative.
std::string Signed(std::string text) {
  if (text.empty() || text[0] != '-') text.insert(text.begin(), ' ');
  return text;
}

std::string ValueText(const Settings& s, const Row& row) {
  switch (row.type) {
    // Texts follow the "=" directly, so that reading gives back exactly what was written.
    case Type::kText:
      return s.*std::get<std::string Settings::*>(row.member);
    case Type::kInt16:
    case Type::kInt32:
      return Signed(std::to_string(s.*std::get<int32_t Settings::*>(row.member)));
    case Type::kDouble:
      return Signed(FileNumber(s.*std::get<double Settings::*>(row.member)));
    case Type::kSingle: {
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%.7G",
                    static_cast<double>(s.*std::get<float Settings::*>(row.member)));
      return Signed(buffer);
    }
    case Type::kBool:
      return s.*std::get<bool Settings::*>(row.member) ? " True" : " False";
  }
  return {};
}

}  // namespace

void ApplyDefaultSettings(Settings& settings) {
  const Settings defaults;
  const std::string language = settings.language;
  const int32_t width = settings.width, height = settings.height;
  const int32_t windowState = settings.windowState, menuMode = settings.menuMode;
  const int32_t sDeformKind = settings.sDeformKind;
  const std::string app = settings.app;
  const int32_t major = settings.appMajor, minor = settings.appMinor;
  const bool autoRedraw = settings.autoRedraw;
  settings = defaults;
  settings.language = language;
  settings.width = width;
  settings.height = height;
  settings.windowState = windowState;
  settings.menuMode = menuMode;
  settings.sDeformKind = sDeformKind;
  settings.app = app;
  settings.appMajor = major;
  settings.appMinor = minor;
  settings.autoRedraw = autoRedraw;
}

bool ReadSettingsFile(Settings& settings, const std::string& path) {
  settings.wwwUrl = kDefaultWwwUrl;
  std::string bytes;
  if (!FileExists(path) || !ReadWholeFile(path, bytes, size_t{16} << 20)) return false;
  ReadSettingsText(settings, bytes);
  return true;
}

void ReadSettingsText(Settings& settings, std::string_view bytes) {
  settings.wwwUrl = kDefaultWwwUrl;
  ShiftJisDecoder decode;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view raw(bytes.data() + pos, end - pos);
    pos = end + 1;
    if (end < bytes.size() && bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
    const std::optional<std::string> line = decode(raw);
    if (!line) continue;  // a line that is not text is skipped
    const std::string key = Upper(TrimSettingBlanks(FieldOf(*line, "=", 1)));
    for (const Row& row : kRows) {
      if (!row.read || key != Upper(KeyName(row.key))) continue;
      if (row.type == Type::kText) {
        // A text keeps everything after the first "=", including further "=" of an
        // address with a query part.
        const size_t eq = line->find('=');
        Assign(
            settings, row,
            eq == std::string::npos ? std::string_view() : std::string_view(*line).substr(eq + 1));
      } else {
        Assign(settings, row, FieldOf(*line, "=", 2));
      }
      break;
    }
  }
  if (settings.browserSW != 0) settings.browserSW = 3;
}

std::string SettingsFileText(const Settings& settings) {
  std::string out;
  for (const Row& row : kRows) {
    out += row.key;
    out += ValueText(settings, row);
    out += "\r\n";
  }
  return out;
}

std::string WriteSettingsFile(const Settings& settings, const std::string& path) {
  return WriteFileAtomically(path, Utf8ToShiftJis(SettingsFileText(settings)));
}

std::optional<std::string> ReadDataPath(const std::string& path) {
  std::string bytes;
  if (!FileExists(path) || !ReadWholeFile(path, bytes, size_t{1} << 20)) return std::nullopt;
  const std::string_view first(bytes.data(), std::min(bytes.size(), bytes.find_first_of("\r\n")));
  std::optional<std::string> line = ShiftJisToUtf8(first);
  if (!line) return std::nullopt;
  // The whole line is the folder: a comma is part of a folder name.
  std::string_view folder = TrimSettingBlanks(*line);
  if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
    folder = folder.substr(1, folder.size() - 2);
  if (folder.empty()) return std::nullopt;
  return std::string(folder);
}

std::string WriteDataPath(const std::string& path, const std::string& folder) {
  return WriteFileAtomically(path, Utf8ToShiftJis(folder) + "\r\n");
}

}  // namespace kv
