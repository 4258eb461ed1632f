// The user's settings and the settings file "config_kvwin.txt" (one "key = value" line per
// setting, Shift_JIS text), and the data folder file "datapath.txt" naming the initial folder
// of the figure file dialog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

constexpr int32_t ColorRefOf(int r, int g, int b) { return r + 256 * g + 65536 * b; }

inline constexpr const char* kSettingsFileName = "config_kvwin.txt";
inline constexpr const char* kDataPathFileName = "datapath.txt";
// The address the online save posts to when none is set.
inline constexpr const char* kDefaultWwwUrl = "http://localhost/asp/kv/kv_save.asp";

// Every setting, in the order of the settings file. Defaults are those of "標準値に戻す"; the
// rows marked "not reset" keep their value there and start with the values below.
struct Settings {
  // Written only.
  std::string app = "kvwin";
  int32_t appMajor = 1;
  int32_t appMinor = 0;

  int32_t delta = 10;     // drag and key step in pixels
  double deltaVar = 0.5;  // step of a number change
  int32_t colorStrength = 255;
  int32_t notChrDisp = 0;  // object labels hidden
  int32_t axissw = 0;      // axes shown
  int32_t axisColor = ColorRefOf(170, 170, 170);
  int32_t drawWidth = 1;  // canvas pen width in pixels
  float fontSize = 9;
  std::string fontName = "FixedSys";
  int32_t ketaDecimal = 2;  // digits after the point of measurements
  int32_t backColor = ColorRefOf(255, 255, 255);
  int32_t browserSW = 2;  // kept and written back; nothing else reads it
  std::string wwwUrl = kDefaultWwwUrl;

  // Not reset by the defaults.
  // Start-up window size in twips; 0 (nothing saved) keeps the window's design size.
  int32_t width = 0;
  int32_t height = 0;
  int32_t windowState = 0;  // 2 = maximised
  int32_t menuMode = 0;     // -1 easy menu, 0 full menu at start (full until one is saved)

  bool autoRedraw = true;    // written only
  int32_t redrawSlow = 500;  // interval of the construction replay in milliseconds

  // Not reset by the defaults.
  std::string language = "Japanese";
  int32_t sDeformKind = 0;  // snapping kind of a Shift drag
};

// "標準値に戻す": the defaults of every resettable setting; the rest is left alone.
void ApplyDefaultSettings(Settings& settings);

// Reads a settings file over `settings` (start-up and "起動時の設定に戻す" apply the defaults
// first). The online-save address is set to its default before reading. Returns false when
// the file does not exist (settings then keep their values, apart from the address). A value
// that cannot be converted to its setting's type leaves that setting as it was.
bool ReadSettingsFile(Settings& settings, const std::string& path);
// The same on the bytes of a settings file already in memory.
void ReadSettingsText(Settings& settings, std::string_view bytes);
// The settings file text (UTF-8, CR LF line ends).
std::string SettingsFileText(const Settings& settings);
// "ファイルに保存": writes the settings file atomically. Returns an empty text on success,
// otherwise a short description of the failure.
std::string WriteSettingsFile(const Settings& settings, const std::string& path);

// The folder named by the data folder file; nullopt when the file is missing or empty.
std::optional<std::string> ReadDataPath(const std::string& path);
// Writes folder as the only line of the data folder file. Empty text on success.
std::string WriteDataPath(const std::string& path, const std::string& folder);

}  // namespace kv
