// The texts of the About box (mnuVersion) and the help page path (mnuHmanual), kept out of the
// window so that both languages can be checked headless.
#pragma once

#include <string>

#include "lang/translate.h"

namespace kv {

struct AboutTexts {
  std::string windowTitle;            // "Korvane Winのﾊﾞｰｼﾞｮﾝ情報"
  std::string heading;                // program title and version, "Korvane Win 1.0.0"
  std::string body;                   // what the program is, one short paragraph
  std::string okCaption;              // "OK"
  std::string systemInfoCaption;      // the button that would start the system information tool
  std::string systemInfoUnavailable;  // shown when no such tool can be started
};

AboutTexts AboutBoxTexts(const Translator& tr);

// "Korvane Win 1.0.0".
std::string ProgramTitleAndVersion();

// The help page under the program folder, as the Help menu opens it.
std::string HelpPagePath(const std::string& programFolder);

}  // namespace kv
