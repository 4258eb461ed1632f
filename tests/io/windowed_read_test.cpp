// Reading a figure file through a window of whole lines must give exactly what reading its
// bytes at once gives: the same figure, the same encoding judgement, the same failure at the
// same line, whatever the window size and wherever its edges fall.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "io/kv4_file.h"
#include "io/line_window_file.h"
#include "io/text_encoding.h"
#include "io_test_util.h"

namespace kv {
namespace {

using testing::CrLfLines;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

// Windows that cut every line, cut CR LF pairs, and hold the whole file.
constexpr size_t kWindows[] = {1, 2, 3, 5, 16, 4096, LineWindowFile::kDefaultChunkBytes};

std::string WithLineEnds(const std::string& crlf, std::string_view end) {
  std::string out;
  for (size_t i = 0; i < crlf.size(); ++i) {
    if (crlf[i] == '\r' && i + 1 < crlf.size() && crlf[i + 1] == '\n') {
      out += end;
      ++i;
    } else {
      out += crlf[i];
    }
  }
  return out;
}

struct Outcome {
  FileStatus status;
  std::string reason;
  int line;
  std::string text;  // the figure read, or empty
  bool utf8, older;
  bool operator==(const Outcome&) const = default;
};

Outcome ReadThroughFile(const std::string& path, size_t window, bool merge) {
  FigureFileIO io;
  io.readWindowBytes = window;
  Figure fig;
  const FileResult r = merge ? io.Merge(fig, path) : io.Read(fig, path);
  return {r.status,      r.reason,          r.line, r.ok() ? FigureFileText(fig) : "",
          io.readAsUtf8, io.olderGeneration};
}

Outcome ReadInMemory(const std::string& bytes, bool merge) {
  FigureFileIO io;
  Figure fig;
  const FileResult r = merge ? io.MergeBytes(fig, bytes) : io.ReadBytes(fig, bytes);
  return {r.status,      r.reason,          r.line, r.ok() ? FigureFileText(fig) : "",
          io.readAsUtf8, io.olderGeneration};
}

// A figure with Japanese names and a swap line, in Shift_JIS as the program writes it.
std::string SampleFile() {
  std::string text = ReadBytes(KV_SOURCE_DIR "/samples/nine_point_circle.kv4");
  EXPECT_FALSE(text.empty());
  for (const auto& [from, to] : {std::pair{"\"B\"", "\"頂点\""}, {"\"AB\"", "\"底辺\""}}) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
      text.replace(at, std::string_view(from).size(), Utf8ToShiftJis(to));
  }
  return text + "\"REV=\",1\r\n";
}

TEST(WindowedRead, GivesTheFigureOfTheWholeBytesForEveryWindowAndLineEnd) {
  ScratchFolder dir;
  const std::string sample = SampleFile();
  // The same figure as UTF-8 (a file written by hand in another editor), and in the older
  // layout without the `independent` lines, which is read a second time.
  const std::string utf8 = *ShiftJisToUtf8(sample);
  ASSERT_NE(utf8, sample);  // it has names outside ASCII
  std::string older = CrLfLines({"0", "2", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});
  older += "1.5,-1,\"a@\"\r\n2,-1,\"b_@N1*2\"\r\n";
  const std::vector<std::string> files = {
      sample, WithLineEnds(sample, "\n"), WithLineEnds(sample, "\r"), utf8,
      older,  WithLineEnds(older, "\n")};
  for (size_t f = 0; f < files.size(); ++f) {
    WriteBytes(dir.File("figure.kv4"), files[f]);
    for (const bool merge : {false, true}) {
      const Outcome whole = ReadInMemory(files[f], merge);
      ASSERT_EQ(whole.status, FileStatus::kOk) << "file " << f;
      for (const size_t window : kWindows)
        EXPECT_EQ(ReadThroughFile(dir.File("figure.kv4"), window, merge), whole)
            << "file " << f << ", window " << window << (merge ? ", merge" : "");
    }
  }
  // The judgement of the encoding looks at the whole file, not at the first window.
  EXPECT_TRUE(ReadThroughFile(dir.File("figure.kv4"), 1, false).older);
  WriteBytes(dir.File("figure.kv4"), utf8);
  EXPECT_TRUE(ReadThroughFile(dir.File("figure.kv4"), 3, false).utf8);
}

TEST(WindowedRead, DamageIsReportedAtTheSameLineForEveryWindow) {
  ScratchFolder dir;
  const std::string sample = SampleFile();
  std::vector<std::string> damaged;
  // Every cut, at and inside line ends, in the head of the file and among the records.
  for (size_t n = 0; n < 400; n += 7) damaged.push_back(sample.substr(0, n));
  for (size_t n = sample.size() - 300; n < sample.size(); n += 5)
    damaged.push_back(sample.substr(0, n));
  auto replaced = [&](std::string_view from, std::string_view to) {
    std::string text = sample;
    const size_t at = text.rfind(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
  };
  damaged.push_back(replaced("\"A\"", "\"A"));  // an unclosed quote
  damaged.push_back(replaced("\"A\"", "A"));    // a text without quotes
  damaged.push_back(replaced("\"REV=\",1", "\"REV=\",x"));
  damaged.push_back(replaced("\r\n\"REV=\"", "\r\r\n\"REV=\""));
  damaged.push_back(sample + std::string(5000, '7') + ",\"\r\n");  // a long last line
  for (size_t i = 0; i < damaged.size(); ++i) {
    WriteBytes(dir.File("bad.kv4"), damaged[i]);
    const Outcome whole = ReadInMemory(damaged[i], false);
    for (const size_t window : {size_t{1}, size_t{2}, size_t{3}, size_t{64}})
      EXPECT_EQ(ReadThroughFile(dir.File("bad.kv4"), window, false), whole)
          << "case " << i << ", window " << window << ": " << whole.reason << " at line "
          << whole.line;
  }
}

TEST(LineWindowFile, HoldsWholeLinesAndGivesEveryByteOnce) {
  ScratchFolder dir;
  const std::string longLine(10000, 'x');
  const std::vector<std::string> contents = {"",
                                             "a",
                                             "\r\n",
                                             "one\r\ntwo\r\nthree",
                                             "a\rb\nc\r\n\r\nd\n",
                                             longLine + "\r\n" + longLine,
                                             "\r\n\r\n\r\n\r\n\r\n\r\n\r\n"};
  for (const std::string& content : contents) {
    WriteBytes(dir.File("lines.txt"), content);
    for (const size_t window : {size_t{1}, size_t{2}, size_t{7}, size_t{4096}}) {
      LineWindowFile file(window);
      ASSERT_TRUE(file.Open(dir.File("lines.txt")));
      EXPECT_EQ(file.size(), content.size());
      std::string seen;
      while (!file.view().empty()) {
        const std::string_view view = file.view();
        EXPECT_EQ(file.offset(), seen.size());
        if (!file.atEnd()) {
          // A line end that is not the window's last byte, so that CR LF is never split.
          const size_t end = view.find_first_of("\r\n");
          ASSERT_NE(end, std::string_view::npos);
          EXPECT_LT(end + 1, view.size());
        }
        // Take one line at a time, as a reader does.
        const size_t end = view.find_first_of("\r\n");
        const size_t take = end == std::string_view::npos ? view.size() : end + 1;
        seen += view.substr(0, take);
        file.Advance(take);
      }
      EXPECT_TRUE(file.atEnd());
      EXPECT_EQ(seen, content) << "window " << window;
    }
  }
  LineWindowFile missing;
  EXPECT_FALSE(missing.Open(dir.File("none.txt")));
}

}  // namespace
}  // namespace kv
