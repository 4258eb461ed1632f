// The menu tree table: names, nesting, shortcuts, menu modes and check marks.
#include "session/menu_tree.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kv {
namespace {

using M = MenuCommand;

TEST(MenuTree, EveryCommandHasOneRowFoundByItsName) {
  std::set<std::string_view> names;
  for (std::size_t i = 1; i < kMenuCommandCount; ++i) {
    auto cmd = static_cast<MenuCommand>(i);
    const MenuItemInfo& info = MenuInfo(cmd);
    ASSERT_EQ(info.id, cmd) << i;
    EXPECT_TRUE(info.name.starts_with("mnu") || info.name.starts_with("mnl")) << info.name;
    EXPECT_TRUE(names.insert(info.name).second) << "duplicate " << info.name;
    EXPECT_EQ(FindMenuCommand(info.name), cmd) << info.name;
    EXPECT_FALSE(info.caption.empty()) << info.name;
  }
  EXPECT_EQ(MenuTree().size(), kMenuCommandCount - 1);
  EXPECT_FALSE(FindMenuCommand("mnuNoSuchItem").has_value());
  EXPECT_FALSE(FindMenuCommand("").has_value());
  EXPECT_EQ(MenuInfo(static_cast<MenuCommand>(30000)).id, M::kNone);
  EXPECT_EQ(MenuInfo(static_cast<MenuCommand>(-3)).id, M::kNone);
}

TEST(MenuTree, ParentsPrecedeChildrenAndAreSubmenus) {
  std::set<MenuCommand> seen;
  int topLevel = 0;
  for (const auto& row : MenuTree()) {
    if (row.parent == M::kNone) {
      ++topLevel;
    } else {
      EXPECT_TRUE(seen.count(row.parent)) << row.name << " before its parent";
      EXPECT_TRUE(HasSubmenu(row.parent));
    }
    seen.insert(row.id);
  }
  // File, Deform, easy Construct, Construction, easy Measure, Measure, Zoom, Locus, Option,
  // Edit, Help, Language.
  EXPECT_EQ(topLevel, 12);
  EXPECT_EQ(MenuInfo(M::mnuPcrossLL).parent, M::mnuPcross);
  EXPECT_EQ(MenuInfo(M::mnuPcross).parent, M::mnuConstPoint);
  EXPECT_EQ(MenuInfo(M::mnuConstPoint).parent, M::mnuConstruction);
  EXPECT_EQ(MenuInfo(M::mnuEdit2_point_Deform).parent, M::mnuEdit2_point);
  EXPECT_FALSE(HasSubmenu(M::mnuZoomIn));
}

TEST(MenuTree, CaptionsAndShortcutsAsDocumented) {
  struct Case {
    M cmd;
    std::string_view caption, shortcut;
  } cases[] = {
      {M::mnuFile, "ﾌｧｲﾙ", ""},
      {M::mnuNew, "新規作成", "Ctrl+N"},
      {M::mnuOcopyWindow, "画面複写", "F4"},
      {M::mnuPcrossLL, "2直線の交点", ""},
      {M::mnuPboundC, "円上に新しい点", "Ctrl+C"},
      {M::mnuCMPpower, "  ＾  （べき）", ""},
      {M::mnuCundo, "最後抹消(undo)", "Ctrl+U"},
      {M::mnuMundo, "最後抹消(Undo)", ""},
      {M::mnuZoomOut, "/ 2", "Shift+F3"},
      {M::mnuLocusNumCSV, "測定記録を見る", "Ctrl+Shift+F9"},
      {M::mnuOdeformVarManual, "任意設定", "Ctrl+Shift+F11"},
      {M::mnuEbasicNum, "個別に設定", "Ctrl+Shift+F2"},
      {M::mnuHmanual, "ヘルプ(マニュアル)", "F1"},
      {M::mnuFigData_Redraw, "作図手続きの再生", "Ctrl+F1"},
      {M::mnuEasy_L02, "直線:直線に平行,1点を通る", ""},
      {M::mnuLanguage, "Language", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MenuInfo(c.cmd).caption, c.caption) << MenuControlName(c.cmd);
    EXPECT_EQ(MenuInfo(c.cmd).shortcut, c.shortcut) << MenuControlName(c.cmd);
  }
  // A shortcut that appears twice would make one of its items unreachable by key.
  std::set<std::string_view> keys;
  for (const auto& row : MenuTree())
    if (!row.shortcut.empty()) {
      EXPECT_TRUE(keys.insert(row.shortcut).second) << row.shortcut;
    }
}

TEST(MenuTree, EasyItemsStartFullMenuCommands) {
  struct Case {
    M easy, full;
  } cases[] = {
      {M::mnuEasy_P01, M::mnuPnewFreeP},
      {M::mnuEasy_P03, M::mnuPcrossLL},
      {M::mnuEasy_L01, M::mnlL2P},
      {M::mnuEasy_L04, M::mnuLperpendicular},
      {M::mnuEasy_S02, M::mnuSPLperpendicular},
      {M::mnuEasy_H02, M::mnuHbisector},
      {M::mnuEasy_C01, M::mnuC2P},
      {M::mnuEasy_N02, M::mnuMangle1},
      {M::mnuEasy_N04, M::mnuMarea4P},
  };
  for (const auto& c : cases) EXPECT_EQ(ForwardedCommand(c.easy), c.full);
  EXPECT_EQ(ForwardedCommand(M::mnuZoomIn), M::mnuZoomIn);
  for (const auto& row : MenuTree()) {
    if (row.parent != M::mnuEasyConst && row.parent != M::mnuEasy_Measure) continue;
    M target = ForwardedCommand(row.id);
    EXPECT_NE(target, row.id) << row.name << " forwards nowhere";
    EXPECT_FALSE(HasSubmenu(target));
    EXPECT_FALSE(MenuInfo(MenuInfo(target).parent).name.starts_with("mnuEasy"));
  }
}

TEST(MenuTree, EasyAndFullModesShowTheirMenus) {
  const M hiddenInEasy[] = {M::mnuFDataFolder,   M::mnuFprint,          M::mnuMerge,
                            M::mnuDeform,        M::mnuConstruction,    M::mnuMeasure,
                            M::mnuEdit,          M::mnuOption,          M::mnuLocusSet,
                            M::mnuLocusNumClear, M::mnuEditFigDataView, M::mnuZoomComplex,
                            M::mnuSaveOnLine};
  const M onlyInEasy[] = {M::mnuEasyConst, M::mnuEasy_Measure};
  const M inBoth[] = {M::mnuFile, M::mnuHelp, M::mnuLocus,    M::mnuZoom,   M::mnuEasyMenu,
                      M::mnufB,   M::mnuExit, M::mnuLanguage, M::mnuLocusSW};
  for (int round = 0; round < 2; ++round) {  // easy -> full -> easy -> full
    for (M m : hiddenInEasy) {
      EXPECT_FALSE(MenuVisibleInMode(m, kMenuModeEasy)) << MenuControlName(m);
      EXPECT_TRUE(MenuVisibleInMode(m, kMenuModeFull)) << MenuControlName(m);
    }
    for (M m : onlyInEasy) {
      EXPECT_TRUE(MenuVisibleInMode(m, kMenuModeEasy));
      EXPECT_FALSE(MenuVisibleInMode(m, kMenuModeFull));
    }
    for (M m : inBoth) {
      EXPECT_TRUE(MenuVisibleInMode(m, kMenuModeEasy)) << MenuControlName(m);
      EXPECT_TRUE(MenuVisibleInMode(m, kMenuModeFull)) << MenuControlName(m);
    }
  }
  EXPECT_FALSE(MenuVisibleInMode(M::mnuEdit2_point, kMenuModeFull));
  EXPECT_FALSE(MenuVisibleInMode(M::mnuEdit2_point, kMenuModeEasy));
  // The switch item names the mode it leads to; other captions do not depend on the mode.
  EXPECT_EQ(MenuJapaneseCaption(M::mnuEasyMenu, kMenuModeEasy), "フルメニューに");
  EXPECT_EQ(MenuJapaneseCaption(M::mnuEasyMenu, kMenuModeFull), "簡易メニューに");
  EXPECT_EQ(MenuJapaneseCaption(M::mnuZoomIn, kMenuModeEasy), "* 2");
}

TEST(MenuTree, CheckMarksFollowTheSettings) {
  MenuCheckState s;  // defaults: delta 10, DeltaVar 0.5, replay 500 ms, full menu at start
  auto checked = [&](M m) { return MenuChecked(m, s); };
  EXPECT_TRUE(checked(M::mnuOdeformStandard));
  EXPECT_FALSE(checked(M::mnuOdeformNarrow) || checked(M::mnuOdeformManual));
  EXPECT_TRUE(checked(M::mnuOdeformVarStandard));
  EXPECT_TRUE(checked(M::mnuRedrawslowOption_03));
  EXPECT_TRUE(checked(M::mnuOmenu_full));
  EXPECT_FALSE(checked(M::mnuOMenu_easy));

  struct DeltaCase {
    int delta;
    M item;
  } deltas[] = {{1, M::mnuOdeformNarrow}, {10, M::mnuOdeformStandard}, {5, M::mnuOdeformManual}};
  for (auto c : deltas) {
    s.delta = c.delta;
    for (M m : {M::mnuOdeformNarrow, M::mnuOdeformStandard, M::mnuOdeformManual})
      EXPECT_EQ(checked(m), m == c.item) << c.delta << " " << MenuControlName(m);
  }
  struct VarCase {
    double v;
    M item;
  } vars[] = {{0.5, M::mnuOdeformVarStandard},
              {1, M::mnuOdeformVarWide},
              {0.1, M::mnuOdeformVarNarrow},
              {0.25, M::mnuOdeformVarManual},
              {2, M::mnuOdeformVarManual}};
  for (auto c : vars) {
    s.deltaVar = c.v;
    for (M m : {M::mnuOdeformVarStandard, M::mnuOdeformVarWide, M::mnuOdeformVarNarrow,
                M::mnuOdeformVarManual})
      EXPECT_EQ(checked(m), m == c.item) << c.v << " " << MenuControlName(m);
  }
  struct ReplayCase {
    int ms;
    M item;
  } replays[] = {{200, M::mnuRedrawslowOption_01},
                 {500, M::mnuRedrawslowOption_03},
                 {1000, M::mnuRedrawslowOption_05},
                 {300, M::kNone}};
  for (auto c : replays) {
    s.replayIntervalMs = c.ms;
    for (M m : {M::mnuRedrawslowOption_01, M::mnuRedrawslowOption_03, M::mnuRedrawslowOption_05})
      EXPECT_EQ(checked(m), m == c.item) << c.ms;
  }
  for (int kind = 0; kind < 3; ++kind) {
    s.sDeformKind = kind;
    EXPECT_EQ(checked(M::mnuOSDeformLC), kind == 0);
    EXPECT_EQ(checked(M::mnuOSDeformL), kind == 1);
    EXPECT_EQ(checked(M::mnuOSDeformCross), kind == 2);
  }
  s.startupMenuMode = kMenuModeEasy;
  s.axisKind = 1;
  s.labelsShown = false;
  s.locusOn = true;
  EXPECT_TRUE(checked(M::mnuOMenu_easy) && !checked(M::mnuOmenu_full));
  EXPECT_TRUE(checked(M::mnuOAxis02) && !checked(M::mnuOAxis01));
  EXPECT_FALSE(checked(M::mnuOchrDisp));
  EXPECT_TRUE(checked(M::mnuLocusSW));
  EXPECT_FALSE(checked(M::mnuZoomIn));

  // MenuCheckSet covers exactly the checkable items.
  for (auto [cmd, mark] : MenuCheckSet(s)) {
    EXPECT_TRUE(MenuInfo(cmd).flags & kMenuCheckable);
    EXPECT_EQ(mark, MenuChecked(cmd, s));
  }
}

TEST(MenuTree, StartupWindowChoice) {
  // Standard 800x600 and VGA 640x480 in the caller's units.
  EXPECT_EQ(StartupWindowChoice(1000, 700, 2, 800, 600, 640, 480), kStartupWindowMax);
  EXPECT_EQ(StartupWindowChoice(640, 480, 0, 800, 600, 640, 480), kStartupWindowVGA);
  EXPECT_EQ(StartupWindowChoice(800, 600, 0, 800, 600, 640, 480), kStartupWindowStandard);
  EXPECT_EQ(StartupWindowChoice(0, 0, 0, 800, 600, 640, 480), kStartupWindowStandard);
  EXPECT_EQ(StartupWindowChoice(1000, 700, 0, 800, 600, 640, 480), kStartupWindowSaved);
}

}  // namespace
}  // namespace kv
