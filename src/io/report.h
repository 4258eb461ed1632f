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

// How the viewer takes a new matrix block: replace its text, append it, or put it in front.
enum class ViewerWriteMode { kOverwrite = 0, kAppend = 1, kInsertFront = 2 };

// The text of a matrix shown by a matrix map: the title, then one line per row with every
// entry followed by " , ". entries holds rows x cols values in row order.
std::string MatrixBlock(std::string_view title, int rows, int cols, const double* entries);
// The viewer's text after a new block arrives in the given mode.
std::string ViewerTextWithBlock(std::string_view oldText, std::string_view block,
                                ViewerWriteMode mode);

}  // namespace kv
