// The display text of a number with a fixed count of decimals, aligned so that values below
// 1000 line up on their decimal points. Used by the number list on the canvas, the
// measurement records and the number lists of the dialogs.
#pragma once

#include <string>

namespace kv {

// Blanks (4 - position of the point, when positive), a sign character (blank or "-"), the
// integer digits and exactly `decimals` digits after the point. The value is rounded half away
// from zero at its shown decimal, as its 15-digit decimal form reads.
std::string NumberText(double value, int decimals);
// The same text appended to `out`, for callers that reuse one buffer.
void AppendNumberText(std::string& out, double value, int decimals);

}  // namespace kv
