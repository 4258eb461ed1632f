// The online-save page: a local HTML form that carries the whole figure file in a hidden
// field, for the reader to add a title, a name, a school and a comment and post it to the
// online-save server.
#pragma once

#include <string>
#include <string_view>

#include "lang/translate.h"
#include "model/figure.h"

namespace kv {

inline constexpr std::string_view kOnlineSavePageName = "temp_kvwin.htm";
inline constexpr std::string_view kWwwServerPrompt =
    "データ保存に使うWWWサーバのURLを入力してください。";
inline constexpr std::string_view kWwwServerTitle = "WWWサーバの設定";

// The page's text (CR LF line ends, UTF-8) for a figure whose file text is `figureFileText`
// (as the figure file holds it, decoded), posting to `url`. Texts are shown through `tr`.
// The figure text and the address are escaped, so that a name holding "<" or "&" stays data:
// the browser gives the hidden field back exactly as the file's lines.
std::string OnlineSavePageText(std::string_view figureFileText, std::string_view url,
                               const Translator& tr);

// Writes the page for `fig` into `programFolder` in the figure file's encoding; returns an
// empty text on success, else what failed.
std::string WriteOnlineSavePage(const Figure& fig, std::string_view url,
                                const std::string& programFolder, const Translator& tr,
                                std::string& pagePath);

}  // namespace kv
