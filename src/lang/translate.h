// Translation of the interface texts. Every user-visible text is written in Japanese and passed
// through a Translator: in Japanese mode it comes back unchanged, in English mode as its entry
// in the built-in table, in manual mode as the user dictionary's entry.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace kv {

enum class Language { kJapanese, kEnglish, kManual };

class Translator {
 public:
  Language language = Language::kJapanese;
  // The user dictionary of manual mode: Japanese text -> shown text.
  std::map<std::string, std::string, std::less<>> userDictionary;

  // The text to show for a Japanese text. A text without an entry is shown as it is.
  std::string_view operator()(std::string_view japanese) const;
  bool IsEnglish() const { return language != Language::kJapanese; }
};

// The built-in Japanese -> English entry of a text, or empty when there is none.
std::string_view BuiltinEnglish(std::string_view japanese);

}  // namespace kv
