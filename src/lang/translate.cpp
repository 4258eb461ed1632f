// Translator lookups; the table itself is in builtin_table.cpp.
#include "lang/translate.h"

namespace kv {

std::string_view Translator::operator()(std::string_view japanese) const {
  switch (language) {
    case Language::kJapanese: return japanese;
    case Language::kEnglish: {
      std::string_view en = BuiltinEnglish(japanese);
      return en.empty() ? japanese : en;
    }
    case Language::kManual: {
      auto it = userDictionary.find(japanese);
      if (it != userDictionary.end()) return it->second;
      std::string_view en = BuiltinEnglish(japanese);
      return en.empty() ? japanese : en;
    }
  }
  return japanese;
}

}  // namespace kv
