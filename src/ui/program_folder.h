// Where the desktop program finds the files it ships (help pages, samples, templates) and where
// it keeps the files it writes (settings, dictionaries, scratch files). A portable copy keeps
// everything beside the executable; an installed copy reads from the install's share folder and
// writes to a per-user data folder. Plain std::filesystem, so that every platform takes the same
// path through it.
#pragma once

#include <filesystem>
#include <string>

namespace kv {

// The folder name under the install prefix's share folder and the user's data folder.
inline constexpr const char* kInstallDataName = "korvane";

// Whether a file can be created in the folder (tried, not guessed from permission bits, so that
// read-only media, ACLs and administrators' folders all answer truthfully).
bool FolderWritable(const std::filesystem::path& folder);

// Whether the folder holds the shipped read-only files (a portable copy or a build folder).
bool HoldsShippedFiles(const std::filesystem::path& folder);

// The folder of the shipped read-only files: beside the executable when they are there, else
// the install's share folder (bin/../share/korvane). The executable's folder when neither has
// them, so that messages name a place the user can look at.
std::filesystem::path FindShippedFolder(const std::filesystem::path& executableFolder);

// The per-user data folder: $XDG_DATA_HOME/korvane or ~/.local/share/korvane, on Windows
// %APPDATA%\korvane. Empty when the environment names no home.
std::filesystem::path UserDataFolder();

// The program folder: the executable's folder when it holds the shipped files and is writable
// (a portable copy, or the build folder), otherwise the per-user data folder, created on
// demand and seeded with the shipped settings, dictionary and templates that it lacks.
std::string ResolveProgramFolder(const std::string& executableFolder);

}  // namespace kv
