// Bodies of the fuzz targets: each takes one input, runs it through a reader (and what
// follows a read in the program) and checks the properties every input must keep. A broken
// property throws FuzzFailure; libFuzzer reports it as a crash, and the regression test of
// the normal suite runs every kept reproducer through the same bodies.
#pragma once

#include <stdexcept>
#include <string_view>

namespace kv::fuzz {

struct FuzzFailure : std::logic_error {
  using std::logic_error::logic_error;
};

// Figure file: read into a held figure (from its bytes, and from a file through a small window
// of lines, which must agree); a failed read leaves it as it was; a figure that was
// read is recomputed and written, the written bytes read back, and writing again gives the
// same bytes.
void FigureReaderTarget(std::string_view bytes);
// The same for a merge behind a small figure held, and behind the figure itself.
void FigureMergeTarget(std::string_view bytes);
// Settings file: read, written and read again gives back the same settings file text.
void SettingsReaderTarget(std::string_view bytes);
// Expression numbers: the first line is a stored expression, the next fields the values of
// the numbers it may name; the result is defined and finite or undefined.
void EvaluatorTarget(std::string_view bytes);

// The scripts of `kvtool play` get a target of their own once that command exists.

// The targets by name, for the regression runner and scripts.
struct NamedTarget {
  const char* name;
  void (*run)(std::string_view);
};
inline constexpr NamedTarget kTargets[] = {
    {"figure_reader", FigureReaderTarget},
    {"figure_merge", FigureMergeTarget},
    {"settings_reader", SettingsReaderTarget},
    {"evaluator", EvaluatorTarget},
};

}  // namespace kv::fuzz
