// The state and logic of a dialog box, kept in the core so that the same dialog can be shown by
// the window, driven by a `kvtool play` script or filled in by a test. A dialog is addressed by
// its form name ("KVSelNum") and its controls by their control names ("NumList", "Text1",
// "NumSelectOK"); the window's widgets only show the model and forward the user's actions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

class DialogModel {
 public:
  virtual ~DialogModel() = default;

  // The form name, e.g. "KVSelNum", "KVExpress", "PtAttribute".
  virtual std::string_view FormName() const = 0;

  // A click on the button (or check box, option button) `control`. False when the form has
  // no such control or it is disabled now; nothing changes then.
  virtual bool Click(std::string_view control) = 0;
  // Types `text` into the text box `control`, replacing what it held.
  virtual bool Type(std::string_view control, std::string_view text) = 0;
  // Selects line `line` (1-based) of the list or combo box `control`.
  virtual bool SelectLine(std::string_view control, int line) = 0;
  // A key pressed while the dialog has the focus (virtual key codes of input_modes.h).
  virtual bool Key(int /*code*/, int /*shift*/) { return false; }

  // What the window shows: the text of a text box or label, the lines of a list.
  virtual std::string Text(std::string_view /*control*/) const { return {}; }
  virtual std::vector<std::string> Lines(std::string_view /*control*/) const { return {}; }
  virtual int SelectedLine(std::string_view /*control*/) const { return 0; }

  // True once the dialog has ended (OK, Cancel, end); the session then drops it.
  virtual bool Closed() const = 0;
};

}  // namespace kv
