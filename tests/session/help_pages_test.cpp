// The help pages shipped in document/: they describe only commands that work, both languages
// describe the same ones, and every link leads to a page and anchor that exist.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "session/menu_tree.h"
#include "session/session.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

const fs::path kDocuments = fs::path(KV_SOURCE_DIR) / "document";
const char* const kPages[] = {"help.htm", "help_en.htm"};

// Every command the help describes, by its anchor (the control name). A submenu stands for all
// its items. The window itself carries out the language and font commands.
struct HelpTopic {
  MenuCommand command;
  bool window = false;
};
using M = MenuCommand;
const HelpTopic kTopics[] = {
    {M::mnuLoad},
    {M::mnuSave},
    {M::mnuMerge},
    {M::mnuFDataFolder},
    {M::mnuFDataFolderStandardSet},
    {M::mnuFDataFolderGet},
    {M::mnuFDataFolderSample},
    {M::mnufBMP},
    {M::mnuEasyMenu},
    {M::mnuExit},
    {M::mnuZoomIn},
    {M::mnuZoomOut},
    {M::mnuZoomDefault},
    {M::mnuZoomComplex},
    {M::mnuOAxis},
    {M::mnuOAxisKind},
    {M::mnuOAxisColor},
    {M::mnuOchrDisp},
    {M::mnuAngleSW},
    {M::mnuWidth},
    {M::mnuFont},
    {M::mnuKeta},
    {M::mnuOBackColor},
    {M::mnuOColorStrength},
    {M::mnuOFile},
    {M::mnuOWindow},
    {M::mnuOmenuModeSW},
    {M::mnuOSDeform},
    {M::mnuRedrawslowOption},
    {M::mnuOFont, true},
    {M::mnuLanguage, true},
    {M::mnuHmanual},
    {M::mnuFigData_Redraw},
    {M::mnuEcallHis},
    {M::mnuVersion},
};

std::string ReadPage(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::set<std::string> AttributeValues(const std::string& page, const char* attribute) {
  std::set<std::string> values;
  const std::regex pattern(std::string(attribute) + "=\"([^\"]*)\"");
  for (auto it = std::sregex_iterator(page.begin(), page.end(), pattern);
       it != std::sregex_iterator(); ++it)
    values.insert((*it)[1].str());
  return values;
}

TEST(HelpPagesTest, DescribedCommandsAllWork) {
  for (const HelpTopic& topic : kTopics) {
    if (topic.window) continue;
    const std::string_view name = MenuControlName(topic.command);
    if (!HasSubmenu(topic.command)) {
      EXPECT_TRUE(Session::Implements(topic.command)) << name;
      continue;
    }
    for (const MenuItemInfo& row : MenuTree()) {
      if (row.parent != topic.command) continue;
      EXPECT_TRUE(Session::Implements(row.id)) << name << " > " << row.name;
    }
  }
}

TEST(HelpPagesTest, EachPageAnchorsExactlyTheDescribedCommands) {
  std::set<std::string> expected;
  for (const HelpTopic& topic : kTopics)
    expected.insert(std::string(MenuControlName(topic.command)));
  for (const char* name : kPages) {
    std::set<std::string> anchored;
    for (const std::string& id : AttributeValues(ReadPage(kDocuments / name), "id"))
      if (id.rfind("mnu", 0) == 0) anchored.insert(id);
    EXPECT_EQ(anchored, expected) << name;
  }
}

TEST(HelpPagesTest, EveryLinkLeadsToAnExistingPageAndAnchor) {
  for (const char* name : kPages) {
    const std::string page = ReadPage(kDocuments / name);
    ASSERT_FALSE(page.empty()) << name;
    for (const std::string& href : AttributeValues(page, "href")) {
      if (href.rfind("http", 0) == 0) continue;
      const size_t hash = href.find('#');
      const std::string file = href.substr(0, hash);
      const fs::path target = file.empty() ? kDocuments / name : kDocuments / file;
      ASSERT_TRUE(fs::is_regular_file(target)) << name << ": " << href;
      if (hash == std::string::npos) continue;
      const std::set<std::string> ids = AttributeValues(ReadPage(target), "id");
      EXPECT_TRUE(ids.count(href.substr(hash + 1))) << name << ": " << href;
    }
  }
}

}  // namespace
}  // namespace kv
