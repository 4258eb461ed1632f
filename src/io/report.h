// The text report of the construction data viewer: every construction step with its inputs and
// outputs, the object counts and every field of every object, in the interface language.
#pragma once

#include <string>
#include <string_view>

#include "lang/translate.h"
#include "model/figure.h"

namespace kv {

// The report text with CR LF line ends. Names are written as the labels stand; callers run
// RelabelAll first. figureFileName is shown on the first line.
std::string FigureReport(const Figure& fig, std::string_view figureFileName, const Translator& tr);

}  // namespace kv
