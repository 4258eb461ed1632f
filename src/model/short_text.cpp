// Printing of short texts (test failure messages, reports).
#include "model/short_text.h"

#include <ostream>

namespace kv {

std::ostream& operator<<(std::ostream& out, const ShortText& text) { return out << text.view(); }

}  // namespace kv
