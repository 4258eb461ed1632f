// The Japanese captions of the re-captioned controls, captured once per run, so that any
// number of language switches always translates from the original Japanese text and switching
// back to Japanese restores every caption exactly.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "lang/translate.h"

namespace kv {

class CaptionStore {
 public:
  // Remembers the Japanese caption of a control (key: "form.control", e.g. "KVLanguage.OKButton")
  // the first time it is seen; later calls for the same key change nothing, because by then
  // the control may already show a translation. Returns true when the caption was stored.
  bool Capture(std::string_view key, std::string_view japaneseCaption);
  std::optional<std::string_view> Japanese(std::string_view key) const;
  // The caption to show: the translation of the stored Japanese caption, or nullopt when the
  // key was never captured.
  std::optional<std::string> Caption(std::string_view key, const Translator& tr) const;
  std::size_t size() const { return captions_.size(); }

 private:
  std::map<std::string, std::string, std::less<>> captions_;
};

}  // namespace kv
