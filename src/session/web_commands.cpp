// The web commands of the session: HTML export of the saved figure with its viewer, the
// online-save page, and the address that page posts to.
#include "io/file_names.h"
#include "io/html_export.h"
#include "io/online_save.h"
#include "model/names.h"
#include "session/session.h"

namespace kv {

bool Session::ImplementsWeb(MenuCommand cmd) {
  using M = MenuCommand;
  return cmd == M::mnuf_html || cmd == M::mnuSaveOnLine || cmd == M::mnuOwwwDefault ||
         cmd == M::mnuOwwwManual;
}

bool Session::WebCommand(MenuCommand cmd) {
  using M = MenuCommand;
  switch (cmd) {
    case M::mnuf_html:
      HtmlExportCommand();
      return true;
    case M::mnuSaveOnLine:
      OnlineSaveCommand();
      return true;
    case M::mnuOwwwDefault:
      settings.wwwUrl = kDefaultWwwUrl;
      return true;
    case M::mnuOwwwManual: {
      const std::optional<std::string> answer =
          ui_.InputBox(Tr(kWwwServerPrompt), Tr(kWwwServerTitle), settings.wwwUrl);
      if (answer) {
        const std::string_view url = TrimBlanks(*answer);
        if (!url.empty()) settings.wwwUrl = std::string(url);
      }
      return true;
    }
    default:
      return false;
  }
}

void Session::HtmlExportCommand() {
  SaveFigureCommand();
  // A figure that was never saved (the dialog cancelled) has no file for the page to show
  // or link; a failed save has already said why.
  if (!FileExists(figureFileName_)) return;

  HtmlViewOptions options;
  options.width = view.widthPx;
  options.height = view.heightPx;
  options.scaleUnit = view.ScaleUnit;
  options.axes = view.axissw;
  options.axisKind = view.AxisKind;
  options.axisColor = ToColorRef(view.AxisColor);
  options.background = ToColorRef(draw.background);
  options.colorStrength = draw.ColorStrength;
  options.drawWidth = draw.drawWidth;
  options.fontSize = draw.fontSize;
  options.labelsHidden = draw.NotChrDisp;
  options.ketaDecimal = draw.KetaDecimal;
  const HtmlExportResult result =
      ExportHtml(figureFileName_, HtmlPagePath(figureFileName_), programFolder_, options);
  if (!result.ok()) {
    ui_.MessageOk(HtmlExportMessage(result, translator), kProgramTitle);
    return;
  }
  ui_.OpenWithSystem(result.pagePath);
}

void Session::OnlineSaveCommand() {
  if (TrimBlanks(settings.wwwUrl).empty()) settings.wwwUrl = kDefaultWwwUrl;
  // The field holds what saving would write, labels included.
  RelabelAll(figure, translator);
  std::string page;
  const std::string failure =
      WriteOnlineSavePage(figure, settings.wwwUrl, programFolder_, translator, page);
  if (!failure.empty()) {
    ui_.MessageOk(page + ": " + failure, kProgramTitle);
    return;
  }
  ui_.OpenWithSystem(page);
}

}  // namespace kv
