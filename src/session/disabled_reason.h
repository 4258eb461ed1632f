// Why the menus are disabled while a task is in progress: a short Japanese text (passed through
// the translator before it is shown) that the window puts on every disabled top-level menu, so
// that a user who finds a menu grey learns what to finish or cancel first.
#pragma once

#include <cstdint>
#include <string_view>

namespace kv {

// The reason for the mode on top of the stack, or empty for the standard mode (which disables
// nothing).
std::string_view DisabledReasonOf(int16_t mode);

}  // namespace kv
