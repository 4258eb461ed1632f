// File-name operations, delimited fields and atomic file writes.
#include "io/file_names.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "io/text_encoding.h"

namespace kv {

namespace fs = std::filesystem;

std::string FolderPart(std::string_view path) {
  const size_t pos = path.find_last_of(":\\/");
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

std::string WriteFileAtomically(const std::string& linkOrPath, std::string_view bytes) {
  std::error_code ec;
  // A link is followed, so that the file it names is replaced and the link stays.
  std::string path = linkOrPath;
  if (fs::is_symlink(linkOrPath, ec)) {
    const fs::path target = fs::weakly_canonical(linkOrPath, ec);
    if (!ec) path = target.string();
  }
  if (fs::is_directory(path, ec)) return "the target is a folder";
  const std::string folder = FolderPart(path);
  if (!folder.empty() && !fs::is_directory(folder, ec)) return "the folder does not exist";

  std::string tmpl = folder + "." + FileNamePart(path) + ".tmp-XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return std::string("cannot create a file: ") + std::strerror(errno);
  const std::string tmpPath(name.data());

  auto fail = [&](const char* what) {
    const std::string text = std::string(what) + ": " + std::strerror(errno);
    close(fd);
    unlink(tmpPath.c_str());
    return text;
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write");
    }
    done += static_cast<size_t>(n);
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
  if (close(fd) != 0) {
    unlink(tmpPath.c_str());
    return std::string("cannot write: ") + std::strerror(errno);
  }
  if (rename(tmpPath.c_str(), path.c_str()) != 0) {
    const std::string text = std::string("cannot replace the file: ") + std::strerror(errno);
    unlink(tmpPath.c_str());
    return text;
  }
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
