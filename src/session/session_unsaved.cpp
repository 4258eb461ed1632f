// Never losing a figure: the session knows whether the figure differs from what was last saved
// or loaded, shows it in the caption and asks before new figure, load or close would drop it.
#include "io/kv4_file.h"
#include "session/session.h"

namespace kv {

// The question asked before unsaved work would be dropped.
inline constexpr std::string_view kUnsavedChangesText =
    "この図は保存されていません。保存しますか。";

// Comparing the file text rather than keeping a flag that every command must remember to set:
// whatever changes what a save would write (a construction, a drag, an attribute, an undo)
// counts, and undoing a change by hand counts as no change.
bool Session::Modified() const { return FigureFileText(figure) != savedText_; }

void Session::MarkSaved() { savedText_ = FigureFileText(figure); }

bool Session::ConfirmDiscardChanges() {
  if (!Modified()) return true;
  // Yes saves, No discards, Cancel (or Esc) keeps the figure.
  switch (ui_.AskYesNoCancel(Tr(kUnsavedChangesText), kProgramTitle, Tr("保存"), Tr("保存しない"),
                             Tr("キャンセル"))) {
    case Answer::kNo:
      return true;
    case Answer::kYes:
      // A save dialog cancelled or a write that failed keeps the figure.
      return SaveFigureCommand();
    case Answer::kCancel:
      break;
  }
  statusDirty_ = true;
  return false;
}

bool Session::RequestClose() {
  if (!ConfirmDiscardChanges()) return false;
  Shutdown();
  return true;
}

}  // namespace kv
