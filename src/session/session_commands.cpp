// Menu commands as the session carries them out, and the check marks of the menu tree.
#include "session/session.h"

namespace kv {

bool Session::Implements(MenuCommand cmd) {
  using M = MenuCommand;
  switch (ForwardedCommand(cmd)) {
    case M::mnuEasyMenu:
    case M::mnuExit:
    case M::mnuOSDeformLC:
    case M::mnuOSDeformL:
    case M::mnuOSDeformCross:
    case M::mnuOMenu_easy:
    case M::mnuOmenu_full:
    case M::mnuRedrawslowOption_01:
    case M::mnuRedrawslowOption_03:
    case M::mnuRedrawslowOption_05:
    case M::mnuEdit2_point_Set_Free:
    case M::mnuHmanual:
    case M::mnuFigData_Redraw:
    case M::mnuEcallHis:
    case M::mnuVersion:
      return true;
    default:
      return false;
  }
}

void Session::Command(MenuCommand cmd) {
  using M = MenuCommand;
  switch (ForwardedCommand(cmd)) {
    case M::mnuEasyMenu:
      ToggleMenuMode();
      break;
    case M::mnuExit:
      Shutdown();
      break;
    case M::mnuOSDeformLC:
      ChooseShiftDragKind(1);
      break;
    case M::mnuOSDeformL:
      ChooseShiftDragKind(2);
      break;
    case M::mnuOSDeformCross:
      ChooseShiftDragKind(3);
      break;
    case M::mnuOMenu_easy:
      prefs.menuMode = kMenuModeEasy;
      RefreshStatus();
      break;
    case M::mnuOmenu_full:
      prefs.menuMode = kMenuModeFull;
      RefreshStatus();
      break;
    case M::mnuRedrawslowOption_01:
      SetReplayInterval(200);
      break;
    case M::mnuRedrawslowOption_03:
      SetReplayInterval(500);
      break;
    case M::mnuRedrawslowOption_05:
      SetReplayInterval(1000);
      break;
    case M::mnuEdit2_point_Set_Free: {
      const PickResult& t = objectMenu_.target;
      if (t.cls == kClassPoint && figure.InTable({kClassPoint, t.index})) {
        figure.points[t.index].boundIndex = 0;
        figure.points[t.index].boundClass = 0;
      }
      break;
    }
    case M::mnuHmanual:
      OpenHelp();
      break;
    case M::mnuFigData_Redraw:
      StartReplay();
      break;
    case M::mnuEcallHis:
      ShowCallHistory();
      break;
    case M::mnuVersion:
      ui_.ShowAbout();
      break;
    default:
      break;
  }
}

MenuCheckState Session::CheckState() const {
  MenuCheckState s;
  s.labelsShown = prefs.notChrDisp == 0;
  s.axisOn = prefs.axisSw != 0;
  s.delta = prefs.delta;
  s.deltaVar = prefs.deltaVar;
  s.axisKind = axisKind_;
  s.startupWindow =
      StartupWindowChoice(prefs.windowWidth, prefs.windowHeight, prefs.windowState,
                          kStandardWindowWidthTwips, kStandardWindowHeightTwips, 9600, 7200);
  s.startupMenuMode = prefs.menuMode;
  s.replayIntervalMs = prefs.replayInterval;
  s.sDeformKind = prefs.sDeformKind;
  s.locusOn = locusSw_;
  s.angleMarksOn = figure.angleMarksOn;
  s.matrixDisplayOn = figure.matrixDisplayOn;
  return s;
}

}  // namespace kv
