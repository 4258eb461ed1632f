// The built-in Japanese -> English table.
#include <algorithm>
#include <array>
#include <utility>

#include "lang/translate.h"

namespace kv {
namespace {

constexpr std::pair<std::string_view, std::string_view> kTable[] = {
    {"円", "circle"},
    {"の円周", "'s circumference"},
    {"の半径", "radius"},
    {"Δ", "/]"},
    {"□", "[]"},
    {"変数", "variable"},
    {"点", "point"},
    {"線", "line"},
};

}  // namespace

std::string_view BuiltinEnglish(std::string_view japanese) {
  for (const auto& [ja, en] : kTable)
    if (ja == japanese) return en;
  return {};
}

}  // namespace kv
