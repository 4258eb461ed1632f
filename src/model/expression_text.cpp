#include "model/expression_text.h"

namespace kv {

int32_t ParseIndexDigits(std::string_view text) {
  size_t pos = 0;
  int32_t value = 0;
  int digits = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    if (++digits > 9) return -1;
    value = value * 10 + (text[pos] - '0');
    ++pos;
  }
  if (digits == 0) return -1;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  return pos == text.size() ? value : -1;
}

int32_t ParseOperandIndex(std::string_view operand) {
  while (!operand.empty() && operand.front() == ' ') operand.remove_prefix(1);
  if (operand.empty()) return -1;
  return ParseIndexDigits(operand.substr(1));
}

}  // namespace kv
