// The menu tree of the main window as data: every item with its control name, parent, Japanese
// caption, shortcut and the menu modes that show it, plus the check marks computed from the
// settings. The window builds its menu bar from this table; no Qt here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lang/translate.h"
#include "model/menu_command.h"

namespace kv {

inline constexpr std::size_t kMenuCommandCount = static_cast<std::size_t>(MenuCommand::kCount);

// Flags of a menu row.
inline constexpr uint8_t kMenuSeparatorBefore = 1;  // a separator line above the item
inline constexpr uint8_t kMenuEasyOnly = 2;         // shown only in the easy menu mode
inline constexpr uint8_t kMenuFullOnly = 4;         // hidden in the easy menu mode
inline constexpr uint8_t kMenuCheckable = 8;        // carries a check mark
inline constexpr uint8_t kMenuPopupOnly = 16;       // the object menu: never in the menu bar

struct MenuItemInfo {
  MenuCommand id;
  std::string_view name;      // control name, e.g. "mnuPcrossLL"
  MenuCommand parent;         // kNone for a top-level menu
  std::string_view caption;   // Japanese caption as stored before any translation
  std::string_view shortcut;  // portable key text ("Ctrl+Shift+F9"), empty when none
  uint8_t flags;
};

// Every item in display order; a parent always comes before its children.
std::span<const MenuItemInfo> MenuTree();
// The row of a command (a row with id kNone and empty texts for kNone or an invalid value).
const MenuItemInfo& MenuInfo(MenuCommand cmd);
std::optional<MenuCommand> FindMenuCommand(std::string_view controlName);
std::string_view MenuControlName(MenuCommand cmd);
bool IsTopLevelMenu(MenuCommand cmd);
bool HasSubmenu(MenuCommand cmd);

// The full-menu command an easy-menu item starts (mnuEasy_P03 -> mnuPcrossLL); any other
// command is returned as it is.
MenuCommand ForwardedCommand(MenuCommand cmd);

// Menu mode: -1 easy, 0 full (any nonzero value counts as easy).
inline constexpr int kMenuModeEasy = -1;
inline constexpr int kMenuModeFull = 0;
// Whether the item is shown in the menu bar in the given menu mode. Items that depend on other
// state (mnuLocusNumCSV on a read-only install) are the window's business.
bool MenuVisibleInMode(MenuCommand cmd, int menuMode);
// The Japanese caption of an item in a menu mode: the mode switch item names the mode it
// leads to; every other item has its stored caption.
std::string_view MenuJapaneseCaption(MenuCommand cmd, int menuMode);
// The caption to show: the translation of the Japanese caption. Menu captions are always
// translated from the table, so any sequence of language switches ends in the same captions
// as a fresh start in that language.
std::string MenuCaption(MenuCommand cmd, int menuMode, const Translator& tr);

// Which start-up window size item is checked.
inline constexpr int kStartupWindowStandard = 0;
inline constexpr int kStartupWindowVGA = 1;
inline constexpr int kStartupWindowMax = 2;
inline constexpr int kStartupWindowSaved = 3;
// Classifies the saved start-up window (state 2 = maximised; sizes in the units the caller
// stores them in). Sizes below 301 are ignored at start-up, so they count as standard.
int StartupWindowChoice(int width, int height, int windowState, int standardWidth,
                        int standardHeight, int vgaWidth, int vgaHeight);

// The state the check marks follow.
struct MenuCheckState {
  bool labelsShown = true;  // not NotChrDisp
  bool axisOn = false;      // axissw
  int delta = 10;
  double deltaVar = 0.5;
  int axisKind = 0;  // 0 orthogonal, 1 polar
  int startupWindow = kStartupWindowStandard;
  int startupMenuMode = kMenuModeFull;
  int replayIntervalMs = 500;
  int sDeformKind = 0;  // 0 line or circle, 1 line, 2 lattice point
  bool locusOn = false;
  bool angleMarksOn = false;
  bool matrixDisplayOn = false;  // mnuPTmatrixSW toggles its own mark
};

bool MenuChecked(MenuCommand cmd, const MenuCheckState& state);
// Every checkable item with its mark.
std::vector<std::pair<MenuCommand, bool>> MenuCheckSet(const MenuCheckState& state);

}  // namespace kv
