// File-name operations, delimited fields and atomic file writes.
#include "io/file_names.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "io/text_encoding.h"

namespace kv {

namespace fs = std::filesystem;

std::string FolderPart(std::string_view path) {
  const size_t pos = path.find_last_of(kFolderSeparators);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string FileNamePart(std::string_view path) {
  return std::string(path.substr(FolderPart(path).size()));
}

std::string StripExtension(std::string_view name) {
  const size_t pos = name.rfind('.');
  return std::string(pos == std::string_view::npos ? name : name.substr(0, pos));
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

std::string FieldOf(std::string_view text, std::string_view delimiters, int n) {
  constexpr size_t kLastCountedPosition = 99;  // 1-based character positions below 100
  while (true) {
    // Find the first delimiter among the first 99 characters.
    size_t byte = 0, chars = 0, found = std::string_view::npos;
    while (byte < text.size() && chars < kLastCountedPosition) {
      if (delimiters.find(text[byte]) != std::string_view::npos) {
        found = byte;
        break;
      }
      const unsigned char lead = static_cast<unsigned char>(text[byte]);
      byte += lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
      ++chars;
    }
    if (n <= 1) return std::string(found == std::string_view::npos ? text : text.substr(0, found));
    if (found == std::string_view::npos) return {};
    text.remove_prefix(found + 1);
    --n;
  }
}

bool ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  const auto size = fs::file_size(path, ec);
  if (ec || size > maxBytes) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(static_cast<size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return true;
}

bool IsReadOnlyFile(const std::string& path) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (ec || !fs::exists(st)) return false;
  // The mode bits decide even for a user whom the system would let write anyway.
  return (st.permissions() & fs::perms::owner_write) == fs::perms::none ||
         access(path.c_str(), W_OK) != 0;
}

namespace {

constexpr int kMaxLinkHops = 40;  // as the system's own limit for path resolution
constexpr std::string_view kTempMark = "~";
constexpr size_t kTempRandomChars = 6;  // the XXXXXX of mkstemp

// The file a path finally names: symbolic links are followed one hop at a time, so that a
// link whose target does not exist yet still yields that target. Empty when the links loop.
std::string ResolveLinks(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 2);
    const ssize_t n = readlink(current.c_str(), target.data(), target.size() - 1);
    if (n < 0) return current;
    const std::string link(target.data(), static_cast<size_t>(n));
    if (!link.empty() && link[0] == '/') {
      current = link;
    } else {
      current = FolderPart(current);
      current += link;
    }
  }
  return {};
}

size_t MaxNameLength(const std::string& folder) {
  const long max = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return max > 0 ? static_cast<size_t>(max) : 255;
}

// The part of a temporary file's name that ties it to its target: "." + the target's name,
// or, when that would make the temporary name too long for the folder, a cut name and a hash
// of the whole name, so that any name the folder accepts can be saved.
std::string TempTag(const std::string& name, size_t maxLength) {
  const size_t fixed = 1 + kTempMark.size() + kTempRandomChars;
  if (name.size() + fixed <= maxLength) return "." + name;
  uint32_t hash = 2166136261u;  // FNV-1a
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  char hex[10];
  std::snprintf(hex, sizeof hex, "#%08x", hash);
  size_t keep = maxLength > fixed + 9 ? maxLength - fixed - 9 : 0;
  while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  return "." + name.substr(0, keep) + hex;
}

// Temporaries of the same target left by a save that was killed or lost power. A save under
// way holds a lock on its temporary, so only abandoned ones are removed.
void RemoveStaleTemporaries(const std::string& folder, const std::string& tag) {
  const std::string dir = folder.empty() ? "." : folder;
  std::error_code ec;
  std::vector<std::string> stale;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() != tag.size() + kTempMark.size() + kTempRandomChars) continue;
    if (name.compare(0, tag.size(), tag) != 0) continue;
    if (name.compare(tag.size(), kTempMark.size(), kTempMark) != 0) continue;
    stale.push_back(folder + name);
  }
  for (const std::string& path : stale) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
        flock(fd, LOCK_EX | LOCK_NB) == 0)
      unlink(path.c_str());
    close(fd);
  }
}

// Makes the rename itself durable: the new directory entry survives a power loss.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::string WriteFileAtomically(const std::string& linkOrPath, std::string_view bytes) {
  return WriteFileAtomically(linkOrPath, [&](const ByteSink& sink) { sink(bytes); });
}

std::string WriteFileAtomically(const std::string& linkOrPath,
                                const std::function<void(const ByteSink&)>& produce) {
  std::error_code ec;
  // A link is followed, so that the file it names is replaced (or created, for a link whose
  // target is missing) and the link stays a link.
  const std::string path = ResolveLinks(linkOrPath);
  if (path.empty()) return "the symbolic link loops";
  if (fs::is_directory(path, ec)) return "the target is a folder";
  const std::string folder = FolderPart(path);
  if (!folder.empty() && !fs::is_directory(folder, ec)) return "the folder does not exist";

  const std::string tag = TempTag(FileNamePart(path), MaxNameLength(folder));
  RemoveStaleTemporaries(folder, tag);
  std::string tmpl = folder + tag + std::string(kTempMark) + std::string(kTempRandomChars, 'X');
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return std::string("cannot create a file: ") + std::strerror(errno);
  const std::string tmpPath(name.data());
  // Held until the descriptor closes, also by the system when the process is killed.
  flock(fd, LOCK_EX | LOCK_NB);

  auto fail = [&](const char* what) {
    std::string text = std::string(what) + ": " + std::strerror(errno);
    unlink(tmpPath.c_str());
    close(fd);
    return text;
  };
  int writeError = 0;
  produce([&](std::string_view bytes) {
    size_t done = 0;
    while (writeError == 0 && done < bytes.size()) {
      const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno != EINTR) writeError = errno;
        continue;
      }
      done += static_cast<size_t>(n);
    }
    return writeError == 0;
  });
  if (writeError != 0) {
    errno = writeError;
    return fail("cannot write");
  }
  if (fsync(fd) != 0) return fail("cannot write");
  // mkstemp makes the file private; give it the permissions of the file it replaces, or the
  // usual ones of a new file.
  struct stat old {};
  mode_t mode;
  if (stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  if (fchmod(fd, mode) != 0) return fail("cannot set permissions");
  if (rename(tmpPath.c_str(), path.c_str()) != 0) return fail("cannot replace the file");
  if (close(fd) != 0) return std::string("cannot write: ") + std::strerror(errno);
  SyncFolder(folder);
  return {};
}

bool ReplaceInFile(const std::string& path, std::string_view find, std::string_view replacement) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, size_t{1} << 30) || bytes.empty()) return false;
  // Lines end at CR LF, CR or LF; each is written back with CR LF.
  std::string text;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", pos);
    text.append(bytes, pos, end == std::string::npos ? std::string::npos : end - pos);
    text += "\r\n";
    if (end == std::string::npos) break;
    pos = end + 1;
    if (bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  const std::string from = Utf8ToShiftJis(find);
  const std::string to = Utf8ToShiftJis(replacement);
  if (!from.empty()) {
    std::string out;
    size_t start = 0, hit;
    while ((hit = text.find(from, start)) != std::string::npos) {
      out.append(text, start, hit - start);
      out += to;
      start = hit + from.size();
    }
    out.append(text, start, std::string::npos);
    text = std::move(out);
  }
  text += "\r\n";
  return WriteFileAtomically(path, text).empty();
}

}  // namespace kv
