// About box texts and the help page path.
#include "session/about_text.h"

#include <filesystem>

#include "session/session.h"

namespace kv {

std::string ProgramTitleAndVersion() {
  return std::string(kProgramTitle) + " " + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

AboutTexts AboutBoxTexts(const Translator& tr) {
  AboutTexts t;
  t.windowTitle = tr("Korvane Winのﾊﾞｰｼﾞｮﾝ情報");
  t.heading = ProgramTitleAndVersion();
  t.body = tr("点・直線・円・数値で図形を作図し,点を動かして図形の性質を調べる作図ソフトです。");
  t.okCaption = tr("OK");
  t.systemInfoCaption = tr("システム情報");
  t.systemInfoUnavailable = tr("現時点ではｼｽﾃﾑ情報を使用できません");
  return t;
}

std::string HelpPagePath(const std::string& programFolder) {
  return (std::filesystem::path(programFolder) / "document" / "help.htm").string();
}

}  // namespace kv
