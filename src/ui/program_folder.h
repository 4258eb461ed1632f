// Where the desktop program keeps its settings, dictionaries and scratch files: the folder of
// the executable when it is writable, otherwise a per-user data folder.
#pragma once

#include <string>

namespace kv {

std::string ResolveProgramFolder(const std::string& executableFolder);

}  // namespace kv
