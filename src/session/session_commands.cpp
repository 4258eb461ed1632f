// Menu commands as the session carries them out, and the check marks of the menu tree.
#include <cstdio>
#include <filesystem>

#include "geometry/recompute.h"
#include "session/session.h"

namespace kv {

bool Session::Implements(MenuCommand cmd) {
  using M = MenuCommand;
  if (IsConstructionCommand(ForwardedCommand(cmd))) return true;
  if (ImplementsDeform(ForwardedCommand(cmd))) return true;
  switch (ForwardedCommand(cmd)) {
    case M::mnuNew:
    case M::mnuLanguage:
    case M::mnuOFont:
    case M::mnuEasyMenu:
    case M::mnuLoad:
    case M::mnuSave:
    case M::mnuMerge:
    case M::mnuExit:
    case M::mnuEditFigDataView:
    case M::mnuPTmatrixSW:
    case M::mnuEbasicPt:
    case M::mnuEbasicLine:
    case M::mnuEbasicCircle:
    case M::mnuEbasicNum:
    case M::mnuEboundedPt:
    case M::mnuEdit2_point_Edit:
    case M::mnuEdit2_point_Bounded:
    case M::mnuEVarDispAllOn:
    case M::mnuEVarDispAllOff:
    case M::mnufBMP:
    case M::mnuOWindowMini:
    case M::mnuHmakeAllBmp:
    case M::mnuFprint:
    case M::mnuOcopyWindow:
    case M::mnuFexportPicture:
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
    case M::mnuLocusSW:
    case M::mnuLocusReset:
    case M::mnuLocusNumCSV:
    case M::mnuLocusSetP:
    case M::mnuLocusSetL:
    case M::mnuLocusSetC:
    case M::mnuLocusSetN:
    case M::mnuLocusNumClear:
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
      return true;
    default:
      return ImplementsWeb(ForwardedCommand(cmd));
  }
}

void Session::Command(MenuCommand cmd) {
  EventScope scope(*this);
  using M = MenuCommand;
  if (construction_.Command(*this, ForwardedCommand(cmd))) return;
  switch (ForwardedCommand(cmd)) {
    case M::mnuNew:
      NewFigureCommand();
      break;
    case M::mnuLanguage:
      LanguageCommand();
      break;
    case M::mnuOFont:
      FontCommand();
      break;
    case M::mnuEasyMenu:
      ToggleMenuMode();
      break;
    case M::mnuExit:
      RequestClose();
      break;
    case M::mnuEditFigDataView:
      DataViewCommand();
      break;
    case M::mnuPTmatrixSW:
      MatrixSwitchCommand();
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
      break;
    default:
      if (!FileCommand(ForwardedCommand(cmd)) && !DeformCommand(ForwardedCommand(cmd)) &&
          !AttributeCommand(ForwardedCommand(cmd)) && !LocusCommand(ForwardedCommand(cmd)) &&
          !OptionCommand(cmd) && !SettingsCommand(cmd) && !WebCommand(ForwardedCommand(cmd)))
        ViewCommand(cmd);
      break;
  }
}

bool Session::FileCommand(MenuCommand cmd) {
  using M = MenuCommand;
  switch (cmd) {
    case M::mnufBMP:
      CopyImageCommand();
      return true;
    case M::mnuOWindowMini:
      ThumbnailStep();
      return true;
    case M::mnuHmakeAllBmp:
      FolderBitmapsCommand();
      return true;
    case M::mnuFprint:
      PrintCommand();
      return true;
    case M::mnuOcopyWindow:
      CopyWindowCommand();
      return true;
    case M::mnuFexportPicture:
      ExportPictureCommand();
      return true;
    case M::mnuLoad:
      LoadFigureCommand();
      return true;
    case M::mnuSave:
      SaveFigureCommand();
      return true;
    case M::mnuMerge:
      MergeFigureCommand();
      return true;
    default:
      return false;
  }
}

bool Session::OptionCommand(MenuCommand cmd) {
  using M = MenuCommand;
  switch (cmd) {
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
      statusDirty_ = true;
      break;
    case M::mnuOmenu_full:
      settings.menuMode = kMenuModeFull;
      statusDirty_ = true;
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
    default:
      return false;
  }
  return true;
}

void Session::NewFigureCommand() {
  if (figure.classCount[kClassPoint] < 1) {
    construction_.StartNewPoint(*this);
    return;
  }
  switch (ui_.AskYesNoCancel(Tr("現在の図は失われますが,新しい図を作図しますか。"),
                             Tr("新規作図の確認"), Tr("はい(Y)"), Tr("保存しておく(S)"),
                             Tr("キャンセル(Esc)"))) {
    case Answer::kYes:
      figureFileName_ = "untitled";
      panels_[2].text = ShortFileName();
      figureCapacity_ = kInitialCapacity;
      figure.NewFigure(figureCapacity_);
      NewLoci();
      Standard().ClearCandidates();
      Standard().ForgetIndication();
      MarkSaved();
      construction_.StartNewPoint(*this);
      repaintDirty_ = true;
      break;
    case Answer::kNo:
      // The middle button keeps the figure and saves it first.
      SaveFigureCommand();
      break;
    case Answer::kCancel:
      RecomputeAll(figure);
      repaintDirty_ = true;
      break;
  }
  statusDirty_ = true;
}

void Session::LanguageCommand() {
  const LanguageChoice choice = ui_.ChooseLanguage(translator.language, draw.fontName);
  if (choice.fontFamily) SetFont(*choice.fontFamily);
  if (choice.language) SetLanguage(*choice.language);
}

void Session::FontCommand() {
  if (auto family = ui_.ChooseFont(draw.fontName)) SetFont(*family);
}

void Session::SetFont(const std::string& family) {
  // The canvas labels and the number list take the font as well as every interface text, and
  // the settings file keeps it as the window's font.
  draw.fontName = family;
  ui_.ApplyInterfaceFont(family);
  repaintDirty_ = true;
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
  statusDirty_ = true;
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
      statusDirty_ = true;
      return;
    case M::mnuAngleSW:
      // Marks are recorded while the angles are measured, so turning them on needs a recompute.
      figure.angleMarksOn = !figure.angleMarksOn;
      RedrawAll();
      return;
    default:
      if (!ColourCommand(cmd)) return;
      break;
  }
  RedrawAll();
  statusDirty_ = true;
}

bool Session::ColourCommand(MenuCommand cmd) {
  using M = MenuCommand;
  switch (cmd) {
    case M::mnuOAxisColor1:
      view.SetAxisColorPreset(1);
      return true;
    case M::mnuOAxisColor2:
      view.SetAxisColorPreset(2);
      return true;
    case M::mnuOAxisColor3:
      view.SetAxisColorPreset(3);
      return true;
    case M::mnuOAxisColorManual:
      if (auto c = ui_.ChooseColour(view.AxisColor)) view.AxisColor = *c;
      return true;
    case M::mnuOBackCWhite:
      draw.background = kWhite;
      return true;
    case M::mnuOBackCStandard:
      draw.background = ui_.ButtonFaceColour();
      return true;
    case M::mnuOBackCmanual:
      if (auto c = ui_.ChooseColour(draw.background)) draw.background = *c;
      return true;
    default:
      return false;
  }
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
  s.matrixDisplayOn = matrixDisplayOn_;
  return s;
}

}  // namespace kv
