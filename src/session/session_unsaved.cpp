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
  switch (ui_.AskUnsavedChanges(Tr(kUnsavedChangesText), kProgramTitle)) {
    case UnsavedChoice::kDiscard:
      return true;
    case UnsavedChoice::kSave:
      // A save dialog cancelled or a write that failed keeps the figure.
      return SaveFigureCommand();
    case UnsavedChoice::kCancel:
      break;
  }
  RefreshStatus();
  return false;
}

bool Session::RequestClose() {
  if (!ConfirmDiscardChanges()) return false;
  Shutdown();
  return true;
}

void Session::StartNewFigure() {
  StopReplayTimer();
  replay_ = ReplayState{};
  figureFileName_ = "untitled";
  figureCapacity_ = kInitialCapacity;
  figure.NewFigure(figureCapacity_);
  loci.Reset();
  drag_ = DragState{};
  ClearCandidates();
  RedrawAll();
  MarkSaved();
  panels_[2].text = ShortFileName();
  RefreshStatus();
}

}  // namespace kv
