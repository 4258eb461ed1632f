// Opening and ending the expression dialog.
#include "construct/expression_mode.h"

#include "expr/expression_dialog.h"
#include "model/names.h"
#include "session/input_modes.h"

namespace kv {

ExpressionMode::ExpressionMode() : Mode(kModeExpression) {}

void ExpressionMode::Start(ModeHost& host) {
  auto mode = std::make_unique<ExpressionMode>();
  Mode* expression = mode.get();
  host.PushMode(std::move(mode));
  if (host.TopMode() != expression) return;
  host.OpenDialog(std::make_unique<ExpressionDialog>(host.Fig(), host.Decimals(), host.Texts()));
}

void ExpressionMode::DialogClosed(ModeHost& host, DialogModel& /*dialog*/) {
  RelabelAll(host.Fig(), host.Texts());
  host.PopMode();
  host.RedrawAll();
}

}  // namespace kv
