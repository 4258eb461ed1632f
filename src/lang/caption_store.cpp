// Stored Japanese captions and their translation.
#include "lang/caption_store.h"

namespace kv {

bool CaptionStore::Capture(std::string_view key, std::string_view japaneseCaption) {
  return captions_.try_emplace(std::string(key), std::string(japaneseCaption)).second;
}

std::optional<std::string_view> CaptionStore::Japanese(std::string_view key) const {
  auto it = captions_.find(key);
  if (it == captions_.end()) return std::nullopt;
  return std::string_view(it->second);
}

std::optional<std::string> CaptionStore::Caption(std::string_view key, const Translator& tr) const {
  auto it = captions_.find(key);
  if (it == captions_.end()) return std::nullopt;
  return std::string(tr(it->second));
}

}  // namespace kv
