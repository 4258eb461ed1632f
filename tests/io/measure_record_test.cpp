// The measurement record controller: its states and commands, the header and rows it writes,
// and how it stops on a file failure.
#include "io/measure_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "figure_builder.h"
#include "io/text_encoding.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using namespace kv::testing;

class MeasureRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("kv_record_" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    record.Reset(folder.string());
    // A measured value, an independent variable, a hidden value and an auxiliary value.
    Number(" a*b ", 2.5, 0, 0);
    Number("v", 1, -1, 0);
    Number("hid", 3, 0, 7);
    Number("aux", 4, 7, 0);
    Number("say \"hi\"", -0.125, 0, 0);
    head.openLink = "open";
    head.title = "T";
    head.versionMajor = 2;
    head.versionMinor = 3;
    head.versionRevision = 4;
    head.figureFileName = "f.kv4";
    head.date = "D";
    head.time = "H";
  }
  void TearDown() override { fs::remove_all(folder); }

  void Number(std::string name, double value, int16_t independent, int16_t hidden) {
    const int32_t n = fig.AllocObject(kClassNumber);
    fig.numbers[n] = {value, kTrue, independent, hidden, ShortText(name), ShortText("")};
  }
  bool Send(RecordCommand cmd, bool locusOn = true) {
    return record.Command(cmd, locusOn, fig, head);
  }
  std::string Read(std::string_view name) const {
    std::ifstream in(folder / std::string(name), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return ShiftJisToUtf8(bytes.str()).value_or("(not Shift_JIS)");
  }

  fs::path folder;
  Figure fig;
  RecordHead head;
  MeasureRecord record;
};

TEST_F(MeasureRecordTest, OpenWritesHeadAndHeaderRowsFollowAndTheEndAddsTheTail) {
  EXPECT_EQ(record.State(), RecordState::kUnused);
  EXPECT_FALSE(Send(RecordCommand::kOpen));
  EXPECT_EQ(record.State(), RecordState::kOpen);
  EXPECT_FALSE(record.AppendRow(fig, 2));
  fig.numbers[1].value = -12.345;
  EXPECT_FALSE(record.AppendRow(fig, 1));
  EXPECT_FALSE(Send(RecordCommand::kEnd));
  EXPECT_EQ(record.State(), RecordState::kClosed);
  EXPECT_EQ(Read("temp.csv"),
            "\"a×b\",\"say \"\"hi\"\"\",\"\"\r\n"
            "2.50,-0.13,\"\"\r\n"
            "-12.3,-0.1,\"\"\r\n");
  EXPECT_EQ(Read("temp.htm"),
            "<html><body>\r\n<small>\r\n<a href=temp.csv>[open]</a>\r\n</small>\r\n"
            "<h2>T by KV/Win 2.3.4\r\n</h2>\r\n<div align = center>\r\n<small>\r\n"
            "file : f.kv4,\r\n( D : H )\r\n</small>\r\n</div>\r\n<hr>\r\n"
            "<table border=1>\r\n"
            "<tr><th>a×b<th>say \"hi\"\r\n"
            "<tr><td>2.50<td>-0.13\r\n"
            "<tr><td>-12.3<td>-0.1\r\n"
            "</table>\r\n</body>\r\n</html>\r\n");
}

TEST_F(MeasureRecordTest, CommandsActByState) {
  const std::string header = "\"a×b\",\"say \"\"hi\"\"\",\"\"\r\n";
  const std::string row = "3,-0,\"\"\r\n";
  // Closed: "append" reopens to add rows; open: "open" and "append" change nothing.
  Send(RecordCommand::kOpen);
  record.AppendRow(fig, 0);
  Send(RecordCommand::kOpen);  // ignored while open: the files are not replaced
  Send(RecordCommand::kAppend);
  Send(RecordCommand::kShow);
  EXPECT_EQ(record.State(), RecordState::kOpen);
  Send(RecordCommand::kClose);
  EXPECT_EQ(record.State(), RecordState::kClosed);
  record.AppendRow(fig, 0);  // closed: nothing written
  Send(RecordCommand::kClose);
  EXPECT_EQ(record.State(), RecordState::kClosed);
  EXPECT_EQ(Read("temp.csv"), header + row);
  Send(RecordCommand::kAppend);
  EXPECT_EQ(record.State(), RecordState::kOpen);
  record.AppendRow(fig, 0);  // the figure as at the last row: no row
  fig.numbers[2].value = 2;  // the variable moved: the figure is in a new state
  record.AppendRow(fig, 0);
  Send(RecordCommand::kClose);
  EXPECT_EQ(Read("temp.csv"), header + row + row);

  // "new" starts afresh while loci are on, closing first when open, and only closes while
  // they are off.
  Send(RecordCommand::kAppend);
  Send(RecordCommand::kNew, true);
  EXPECT_EQ(record.State(), RecordState::kOpen);
  record.AppendRow(fig, 0);
  Send(RecordCommand::kNew, false);
  EXPECT_EQ(record.State(), RecordState::kClosed);
  EXPECT_EQ(Read("temp.csv"), header + row);
  Send(RecordCommand::kNew, false);
  EXPECT_EQ(record.State(), RecordState::kClosed);
  EXPECT_EQ(Read("temp.csv"), header + row);
  EXPECT_EQ(fs::path(record.PagePath()), folder / "temp.htm");
}

TEST_F(MeasureRecordTest, AFailureStopsEveryLaterCommand) {
  record.Reset((folder / "missing").string());
  EXPECT_TRUE(Send(RecordCommand::kOpen));
  EXPECT_TRUE(record.Failed());
  EXPECT_TRUE(record.Off());
  // Reported once: later commands neither act nor report again, even once the folder exists.
  fs::create_directories(folder / "missing");
  EXPECT_FALSE(Send(RecordCommand::kNew));
  EXPECT_FALSE(Send(RecordCommand::kAppend));
  EXPECT_FALSE(record.AppendRow(fig, 2));
  EXPECT_FALSE(fs::exists(folder / "missing" / "temp.csv"));
}

TEST_F(MeasureRecordTest, ADisabledRecordTouchesNoFile) {
  record.Disable();
  for (RecordCommand cmd : {RecordCommand::kOpen, RecordCommand::kNew, RecordCommand::kAppend})
    EXPECT_FALSE(Send(cmd));
  EXPECT_FALSE(record.AppendRow(fig, 2));
  EXPECT_EQ(record.State(), RecordState::kUnused);
  EXPECT_FALSE(fs::exists(folder / "temp.csv"));
  EXPECT_FALSE(fs::exists(folder / "temp.htm"));
}

TEST(RecordedName, TrimsAndWritesStarsAsTimes) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"  AB  ", "AB"}, {"a*b*c", "a×b×c"}, {"*", "×"}, {"", ""}, {"角ABC", "角ABC"}};
  for (const auto& [name, heading] : cases) EXPECT_EQ(RecordedName(name), heading) << name;
}

}  // namespace
}  // namespace kv
