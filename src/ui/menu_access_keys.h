// Access keys of the menu bar: each top-level menu has a letter that Alt+letter opens, marked in
// its caption the way desktop programs show it ("&file", "ﾌｧｲﾙ(&F)"), in every language.
#pragma once

#include <QString>

#include "session/menu_tree.h"

namespace kv {

// The access key letter of a top-level menu (upper case), or 0 for any other item.
char AccessKeyOf(MenuCommand cmd);

// A caption as a Qt menu text: any "&" of the caption itself doubled, then the access key
// marked before the first occurrence of its letter in a Latin caption, or appended as "(&K)"
// to a caption without that letter (Japanese captions).
QString MenuText(const QString& caption, char accessKey);

}  // namespace kv
