// Menu commands as the session carries them out, and the check marks of the menu tree.
#include <cstdio>
#include <filesystem>

#include "session/session.h"

namespace kv {

bool Session::Implements(MenuCommand cmd) {
  using M = MenuCommand;
  switch (ForwardedCommand(cmd)) {
    case M::mnuEasyMenu:
    case M::mnuLoad:
    case M::mnuSave:
    case M::mnuMerge:
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
    case M::mnuRakugaki:
    case M::mnuZoomDefault:
    case M::mnuZoomIn:
    case M::mnuZoomOut:
    case M::mnuZoomComplex:
    case M::mnuOAxis:
    case M::mnuOAxis01:
    case M::mnuOAxis02:
    case M::mnuOAxisColor1:
    case M::mnuOAxisColor2:
    case M::mnuOAxisColor3:
    case M::mnuOAxisColorManual:
    case M::mnuOBackCWhite:
    case M::mnuOBackCStandard:
    case M::mnuOBackCmanual:
    case M::mnuOColorStrength:
    case M::mnuWidth:
    case M::mnuFont:
    case M::mnuKeta:
    case M::mnuOchrDisp:
    case M::mnuAngleSW:
    case M::mnuOFileSave:
    case M::mnuOFileLoad:
    case M::mnuOFileInit:
    case M::mnuOWindowStandard:
    case M::mnuOWindowVGA:
    case M::mnuOWindowMax:
    case M::mnuOWindowSave:
    case M::mnuFDataFolderGet:
    case M::mnuFDataFolderSample:
    case M::mnuFDataFolderStandardSet:
    case M::mnufBMP:
      return true;
    default:
      return ImplementsWeb(ForwardedCommand(cmd));
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
    case M::mnuLoad:
      LoadFigureCommand();
      break;
    case M::mnuSave:
      SaveFigureCommand();
      break;
    case M::mnuMerge:
      MergeFigureCommand();
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
      settings.menuMode = kMenuModeEasy;
      RefreshStatus();
      break;
    case M::mnuOmenu_full:
      settings.menuMode = kMenuModeFull;
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
    case M::mnuRakugaki:
      PushInputMode(kModeScribble);
      RefreshStatus();
      break;
    case M::mnufBMP:
      // The same copy as status panel 6.
      ui_.CopyCanvasToClipboard();
      break;
    default:
      if (!SettingsCommand(cmd) && !WebCommand(ForwardedCommand(cmd))) ViewCommand(cmd);
      break;
  }
}

bool Session::SettingsCommand(MenuCommand cmd) {
  using M = MenuCommand;
  switch (cmd) {
    case M::mnuOFileSave:
      SaveSettings();
      break;
    case M::mnuOFileLoad:
      LoadSettings();
      UpdateFixedPanels();
      RedrawAll();
      break;
    case M::mnuOFileInit:
      StateToSettings();
      ApplyDefaultSettings(settings);
      SettingsToState();
      RedrawAll();
      break;
    case M::mnuOWindowStandard:
      StoreStartupWindow(kStandardWindowWidthTwips, kStandardWindowHeightTwips, 0);
      break;
    case M::mnuOWindowVGA:
      StoreStartupWindow(kVgaWidthTwips, kVgaHeightTwips, 0);
      break;
    case M::mnuOWindowMax:
      StoreStartupWindow(settings.width, settings.height, 2);
      break;
    case M::mnuOWindowSave: {
      auto [width, height] = ui_.WindowSizeTwips();
      StoreStartupWindow(width, height, 0);
      break;
    }
    case M::mnuFDataFolderGet:
      ReadDataPath();
      break;
    case M::mnuFDataFolderSample:
      figureDialogFolder_ = SamplesFolder();
      break;
    case M::mnuFDataFolderStandardSet: {
      // The folder the user last chose a file in; before any choice, where the figure
      // dialog would open.
      if (!lastUsedFolder_.empty()) figureDialogFolder_ = lastUsedFolder_;
      std::string failure =
          WriteDataPath((std::filesystem::path(programFolder_) / kDataPathFileName).string(),
                        figureDialogFolder_);
      if (!failure.empty()) ui_.MessageWarning(failure, kProgramTitle);
      break;
    }
    default:
      return false;
  }
  RefreshStatus();
  return true;
}

namespace {

// A number as an input box shows it by default: no trailing zeros.
std::string DefaultEntry(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", v);
  return text;
}

}  // namespace

std::optional<std::string> Session::AskEntry(std::string_view prompt, std::string_view title,
                                             double current) {
  return ui_.InputBox(Tr(prompt), Tr(title), DefaultEntry(current));
}

void Session::ViewCommand(MenuCommand cmd) {
  using M = MenuCommand;
  switch (cmd) {
    case M::mnuZoomDefault:
      view.ZoomDefault();
      break;
    case M::mnuZoomIn:
      view.ZoomIn([this](std::string_view text) { ui_.MessageOk(Tr(text), kProgramTitle); });
      break;
    case M::mnuZoomOut:
      view.ZoomOut();
      break;
    case M::mnuZoomComplex:
      view.ZoomComplex();
      break;
    case M::mnuOAxis:
      view.ToggleAxes();
      break;
    case M::mnuOAxis01:
      view.ShowAxes(kAxisOrthogonal);
      break;
    case M::mnuOAxis02:
      view.ShowAxes(kAxisPolar);
      break;
    case M::mnuOAxisColor1:
      view.SetAxisColorPreset(1);
      break;
    case M::mnuOAxisColor2:
      view.SetAxisColorPreset(2);
      break;
    case M::mnuOAxisColor3:
      view.SetAxisColorPreset(3);
      break;
    case M::mnuOAxisColorManual:
      if (auto c = ui_.ChooseColour(view.AxisColor)) view.AxisColor = *c;
      break;
    case M::mnuOBackCWhite:
      draw.background = kWhite;
      break;
    case M::mnuOBackCStandard:
      draw.background = ui_.ButtonFaceColour();
      break;
    case M::mnuOBackCmanual:
      if (auto c = ui_.ChooseColour(draw.background)) draw.background = *c;
      break;
    // A cancelled input box changes nothing; any entry is turned into a valid value.
    case M::mnuOColorStrength:
      if (auto e = AskEntry("1から255までの数を入力してください", "色の濃さ", draw.ColorStrength))
        draw.ColorStrength = ColorStrengthFromEntry(*e);
      break;
    case M::mnuWidth:
      if (auto e =
              AskEntry("1から10までの数値を入力してください", "線の太さの設定", draw.drawWidth))
        draw.drawWidth = DrawWidthFromEntry(*e);
      break;
    case M::mnuFont:
      if (auto e =
              AskEntry("フォントの大きさを入力してください", "フォントサイズの設定", draw.fontSize))
        draw.fontSize = FontSizeFromEntry(*e);
      break;
    case M::mnuKeta:
      if (auto e = AskEntry("測定値の小数点以下の表示桁数を入力してください", "表示桁数の設定",
                            draw.KetaDecimal))
        draw.KetaDecimal = KetaDecimalFromEntry(*e);
      break;
    case M::mnuOchrDisp:
      // Only the check mark follows now; the labels change at the next full redraw.
      draw.NotChrDisp = !draw.NotChrDisp;
      RefreshStatus();
      return;
    case M::mnuAngleSW:
      // Marks are recorded while the angles are measured, so turning them on needs a recompute.
      figure.angleMarksOn = !figure.angleMarksOn;
      RedrawAll();
      return;
    default:
      return;
  }
  RedrawAll();
  RefreshStatus();
}

MenuCheckState Session::CheckState() const {
  MenuCheckState s;
  s.labelsShown = !draw.NotChrDisp;
  s.axisOn = view.axissw;
  s.delta = settings.delta;
  s.deltaVar = settings.deltaVar;
  s.axisKind = view.AxisKind;
  s.startupWindow = StartupWindowChoice(settings.width, settings.height, settings.windowState,
                                        kStandardWindowWidthTwips, kStandardWindowHeightTwips,
                                        kVgaWidthTwips, kVgaHeightTwips);
  s.startupMenuMode = settings.menuMode;
  s.replayIntervalMs = settings.redrawSlow;
  s.sDeformKind = settings.sDeformKind;
  s.locusOn = locusSw_;
  s.angleMarksOn = figure.angleMarksOn;
  s.matrixDisplayOn = figure.matrixDisplayOn;
  return s;
}

}  // namespace kv
