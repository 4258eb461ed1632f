// The data viewer window "TextViewer" as the session keeps it: the text of its box Text1, its
// caption, whether it is shown and how matrix blocks are written into it. The window shows
// this state and sends the viewer's own menu commands back.
#pragma once

#include <string>
#include <string_view>

#include "io/report.h"

namespace kv {

// The viewer's own menu (a window of its own, apart from the main menu tree).
enum class ViewerCommand {
  mnuExit,              // hide the viewer
  mnuClear,             // empty Text1
  mnuModeOverwrite,     // matrix blocks replace the text
  mnuModeAppend,        // ... are added at the end
  mnuModeFowardAppend,  // ... are put in front
  mnuDispMatrixSWOff,   // matrix display off, viewer hidden
};

struct TextViewerState {
  std::string text;     // Text1, CR LF line ends
  std::string caption;  // translated
  bool visible = false;
  // The mode menu belongs to the matrix display; the report hides it.
  bool modeMenuVisible = false;
  ViewerWriteMode writeMode = ViewerWriteMode::kOverwrite;

  // The construction report under its caption.
  void ShowReport(std::string_view reportCaption, std::string report) {
    caption = reportCaption;
    text = std::move(report);
    modeMenuVisible = false;
    visible = true;
  }
  // The caption of the matrix display; the mode menu shows with it.
  void UseMatrixCaption(std::string_view matrixCaption) {
    caption = matrixCaption;
    modeMenuVisible = true;
  }
  // A matrix block written by the present mode; the viewer shows.
  void AddBlock(std::string_view block) {
    text = ViewerTextWithBlock(text, block, writeMode);
    visible = true;
  }
};

}  // namespace kv
