// The repaint of a generated figure against a naive QPainter loop (printed; nothing without Qt).
#pragma once

namespace kv::bench {

void ReportRepaintRatio();

}  // namespace kv::bench
