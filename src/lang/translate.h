// Translation of the interface texts. Every user-visible text is written in Japanese and passed
// through a Translator: in Japanese mode it comes back unchanged, in English mode as its entry
// in the built-in table, in manual mode as the user dictionary's entry.
#pragma once

#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace kv {

enum class Language { kJapanese, kEnglish, kManual };

// The language setting as stored ("KVwin_Language"): compared trimmed and lower-cased,
// "english" and "manual" choose those languages, anything else Japanese.
Language ParseLanguageSetting(std::string_view setting);
// The text the language dialog stores for a language: "Japanese", "English", "Manual".
std::string_view LanguageSettingText(Language language);

class Translator {
 public:
  Translator() = default;
  explicit Translator(Language lang, std::map<std::string, std::string, std::less<>> dict = {})
      : language(lang), userDictionary(std::move(dict)) {}

  Language language = Language::kJapanese;
  // The user dictionary of manual mode: Japanese text -> shown text. Entries given here take
  // precedence over those read from the dictionary file.
  mutable std::map<std::string, std::string, std::less<>> userDictionary;
  // The dictionary file read on the first manual-mode translation, and the list that collects
  // the texts the dictionary lacks. The caller resolves both in the program folder; an empty
  // path means no file is read or written.
  std::filesystem::path dictionaryPath;
  std::filesystem::path neededListPath;
  mutable bool dictionaryLoaded = false;

  // The text to show for a Japanese text. The result views either the argument, the built-in
  // table or the user dictionary, so it lives as long as the argument does.
  //  - Japanese: the text itself.
  //  - English: the text trimmed of blanks; its built-in English entry when there is one.
  //  - Manual: the trimmed text's dictionary entry; otherwise the text is listed in the
  //    needed list (each time it is asked for) and comes back unchanged.
  std::string_view operator()(std::string_view japanese) const;
  bool IsEnglish() const { return language != Language::kJapanese; }
};

// The built-in Japanese -> English entry of a text, or empty when there is none.
std::string_view BuiltinEnglish(std::string_view japanese);
// The whole built-in table in search order.
std::span<const std::pair<std::string_view, std::string_view>> BuiltinTable();

// The text without blanks (spaces and tabs) at both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace kv
