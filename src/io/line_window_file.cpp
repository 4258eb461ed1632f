// Reading a file through a window of whole lines.
#include "io/line_window_file.h"

#include <algorithm>
#include <cstring>

namespace kv {

LineWindowFile::~LineWindowFile() {
  if (file_) std::fclose(file_);
}

bool LineWindowFile::Open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) return false;
  // The size bounds what a reader expects; the data read decides where the file ends.
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    const long size = std::ftell(file_);
    size_ = size > 0 ? static_cast<uint64_t>(size) : 0;
  }
  std::rewind(file_);
  Advance(0);
  return true;
}

bool LineWindowFile::HoldsWholeLine() {
  const std::string_view window = view();
  const size_t at = window.find_first_of("\r\n", searched_);
  if (at != std::string_view::npos && at + 1 < window.size()) return true;
  searched_ = at == std::string_view::npos ? window.size() : at;
  return false;
}

void LineWindowFile::ReadChunk() {
  // Keep only the window: move it to the front before the buffer has to grow.
  if (start_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
    end_ -= start_;
    start_ = 0;
  }
  if (buffer_.size() < end_ + chunkBytes_)
    buffer_.resize(std::max(end_ + chunkBytes_, buffer_.size() + buffer_.size() / 2));
  const size_t wanted = buffer_.size() - end_;
  const size_t got = std::fread(buffer_.data() + end_, 1, wanted, file_);
  end_ += got;
  // A short read is the end of the file or a read error; either way nothing more comes.
  if (got < wanted) atEnd_ = true;
}

void LineWindowFile::Advance(size_t consumed) {
  consumed = std::min(consumed, end_ - start_);
  start_ += consumed;
  offset_ += consumed;
  searched_ = searched_ > consumed ? searched_ - consumed : 0;
  while (!atEnd_ && !HoldsWholeLine()) ReadChunk();
}

}  // namespace kv
