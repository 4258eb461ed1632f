// Translator lookups; the table itself is in builtin_table.cpp, the user dictionary files in
// user_dictionary.cpp.
#include "lang/translate.h"

#include <cctype>

#include "lang/user_dictionary.h"

namespace kv {

std::string_view TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

Language ParseLanguageSetting(std::string_view setting) {
  std::string lower(TrimBlanks(setting));
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "english") return Language::kEnglish;
  if (lower == "manual") return Language::kManual;
  return Language::kJapanese;
}

std::string_view LanguageSettingText(Language language) {
  switch (language) {
    case Language::kEnglish:
      return "English";
    case Language::kManual:
      return "Manual";
    case Language::kJapanese:
      break;
  }
  return "Japanese";
}

std::string_view Translator::operator()(std::string_view japanese) const {
  switch (language) {
    case Language::kJapanese:
      return japanese;
    case Language::kEnglish: {
      std::string_view text = TrimBlanks(japanese);
      std::string_view en = BuiltinEnglish(text);
      return en.empty() ? text : en;
    }
    case Language::kManual: {
      if (!dictionaryLoaded) {
        dictionaryLoaded = true;
        if (!dictionaryPath.empty()) LoadUserDictionary(dictionaryPath, userDictionary);
      }
      std::string_view text = TrimBlanks(japanese);
      auto it = userDictionary.find(text);
      if (it != userDictionary.end()) return it->second;
      if (!neededListPath.empty()) AppendNeededText(neededListPath, text);
      return japanese;
    }
  }
  return japanese;
}

}  // namespace kv
