// Runs every script in tests/cli/*.play through the script player and checks the figure it
// wrote against the values its "#>" lines give. Those lines are comments to the player:
//
//   #> in FILE               input figure, relative to the source folder
//   #> exit N                exit status (0 when not given)
//   #> error TEXT            the error contains TEXT
//   #> out TEXT              printed lines, in order; with any of them the output is whole
//   #> quiet                 nothing printed
//   #> written yes|no        whether the output figure exists (yes when the exit is 0)
//   #> mode N                input mode at the end
//   #> figure FILE           the checks below apply to FILE, written by the script
//   #> count point|line|circle|number N      #> steps N      #> step K KIND
//   #> point K X Y | point K undefined       #> marker K M    #> linetype K T
//   #> line K through X1 Y1 X2 Y2            #> circle K CX CY R      #> number K V
//   #> disabled REASON       the script waits for work still to be done
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "geometry/recompute.h"
#include "io/kv4_file.h"
#include "session/script_player.h"
#include "session/session.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

// Values in the scripts are written by hand with ten or more digits.
constexpr double kTolerance = 1e-6;

const fs::path kScriptFolder = fs::path(KV_SOURCE_DIR) / "tests" / "cli";

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Split(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

struct Check {
  int line = 0;
  std::vector<std::string> words;
};

struct Expectations {
  std::string inputFigure;
  int exit = 0;
  std::string errorText;
  std::vector<std::string> out;
  bool quiet = false;
  std::optional<bool> written;
  std::optional<int> mode;
  std::string disabled;
  // Checks per figure file; "" is the output figure.
  std::vector<std::pair<std::string, std::vector<Check>>> figures{{"", {}}};
};

Expectations ReadExpectations(const std::string& script) {
  Expectations e;
  std::istringstream in(script);
  int lineNo = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.starts_with("#> ")) continue;
    const std::string body = line.substr(3);
    const std::vector<std::string> w = Split(body);
    if (w.empty()) continue;
    const std::string rest = body.size() > w[0].size() ? body.substr(w[0].size() + 1) : "";
    if (w[0] == "in") {
      e.inputFigure = (fs::path(KV_SOURCE_DIR) / rest).string();
    } else if (w[0] == "exit") {
      e.exit = std::stoi(rest);
    } else if (w[0] == "error") {
      e.errorText = rest;
    } else if (w[0] == "out") {
      e.out.push_back(rest);
    } else if (w[0] == "quiet") {
      e.quiet = true;
    } else if (w[0] == "written") {
      e.written = rest == "yes";
    } else if (w[0] == "mode") {
      e.mode = std::stoi(rest);
    } else if (w[0] == "disabled") {
      e.disabled = rest;
    } else if (w[0] == "figure") {
      e.figures.push_back({rest, {}});
    } else {
      e.figures.back().second.push_back({lineNo, w});
    }
  }
  return e;
}

int ClassOf(const std::string& word) {
  if (word == "number") return kClassNumber;
  if (word == "point") return kClassPoint;
  if (word == "line") return kClassLine;
  if (word == "circle") return kClassCircle;
  return -1;
}

double Num(const std::string& word) { return std::stod(word); }

// Distance of (x, y) from the line through the line record's two defining points.
double DistanceFromLine(const LineRec& l, double x, double y) {
  const double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
  const double len = std::hypot(dx, dy);
  if (len == 0) return std::hypot(x - l.x1, y - l.y1);
  return std::abs((x - l.x1) * dy - (y - l.y1) * dx) / len;
}

void CheckFigure(const Figure& f, const Check& c) {
  SCOPED_TRACE("expectation on line " + std::to_string(c.line));
  const auto& w = c.words;
  auto index = [&](size_t at) { return std::stoi(w.at(at)); };
  auto inTable = [&](int cls, int k) {
    const bool ok = k >= 1 && k <= f.classCount[cls];
    EXPECT_TRUE(ok) << "object " << k << " of class " << cls << " does not exist";
    return ok;
  };
  const std::string& what = w[0];
  if (what == "count") {
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(f.classCount[ClassOf(w[1])], index(2)) << w[1] << " count";
  } else if (what == "steps") {
    EXPECT_EQ(f.StepCount(), index(1));
  } else if (what == "step") {
    ASSERT_EQ(w.size(), 3u);
    ASSERT_LE(index(1), f.StepCount());
    EXPECT_EQ(f.KindCode(index(1)), w[2]) << "kind of step " << w[1];
  } else if (what == "point") {
    if (!inTable(kClassPoint, index(1))) return;
    const PointRec& p = f.points[index(1)];
    if (w.size() == 3 && w[2] == "undefined") {
      EXPECT_EQ(p.valid, 0);
      return;
    }
    ASSERT_EQ(w.size(), 4u);
    EXPECT_NE(p.valid, 0) << "point " << w[1] << " is undefined";
    EXPECT_NEAR(p.x, Num(w[2]), kTolerance) << "x of point " << w[1];
    EXPECT_NEAR(p.y, Num(w[3]), kTolerance) << "y of point " << w[1];
  } else if (what == "marker") {
    if (inTable(kClassPoint, index(1))) {
      EXPECT_EQ(f.points[index(1)].marker, index(2));
    }
  } else if (what == "linetype") {
    if (inTable(kClassLine, index(1))) {
      EXPECT_EQ(f.lines[index(1)].lineType, index(2));
    }
  } else if (what == "line") {
    ASSERT_EQ(w.size(), 7u);
    ASSERT_EQ(w[2], "through");
    if (!inTable(kClassLine, index(1))) return;
    const LineRec& l = f.lines[index(1)];
    EXPECT_NE(l.valid, 0) << "line " << w[1] << " is undefined";
    EXPECT_NEAR(DistanceFromLine(l, Num(w[3]), Num(w[4])), 0, kTolerance);
    EXPECT_NEAR(DistanceFromLine(l, Num(w[5]), Num(w[6])), 0, kTolerance);
  } else if (what == "circle") {
    ASSERT_EQ(w.size(), 5u);
    if (!inTable(kClassCircle, index(1))) return;
    const CircleRec& ci = f.circles[index(1)];
    EXPECT_NE(ci.valid, 0) << "circle " << w[1] << " is undefined";
    EXPECT_NEAR(ci.cx, Num(w[2]), kTolerance);
    EXPECT_NEAR(ci.cy, Num(w[3]), kTolerance);
    EXPECT_NEAR(ci.radius, Num(w[4]), kTolerance);
  } else if (what == "number") {
    ASSERT_EQ(w.size(), 3u);
    if (inTable(kClassNumber, index(1))) {
      EXPECT_NEAR(f.numbers[index(1)].value, Num(w[2]), kTolerance);
    }
  } else {
    ADD_FAILURE() << "unknown expectation \"" << what << "\"";
  }
}

// The scripts to run now (`waiting` false) or those that wait for unfinished work.
std::vector<fs::path> Scripts(bool waiting) {
  std::vector<fs::path> scripts;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(kScriptFolder, ec)) {
    if (entry.path().extension() != ".play") continue;
    const bool disabled = !ReadExpectations(ReadText(entry.path())).disabled.empty();
    if (disabled == waiting) scripts.push_back(entry.path());
  }
  std::sort(scripts.begin(), scripts.end());
  return scripts;
}

class PlayScriptTest : public ::testing::TestWithParam<fs::path> {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("kv_playscript_" + GetParam().stem().string() + "_" +
                                          std::to_string(std::random_device{}()));
    fs::remove_all(folder);
    fs::create_directories(folder / "program");
    // Files a script saves and opens by relative name live beside its output.
    previous = fs::current_path();
    fs::current_path(folder);
  }
  void TearDown() override {
    fs::current_path(previous);
    fs::remove_all(folder);
  }

  fs::path folder, previous;
};

TEST_P(PlayScriptTest, WritesTheExpectedFigure) {
  const std::string script = ReadText(GetParam());
  const Expectations e = ReadExpectations(script);

  PlayOptions options;
  options.programFolder = (folder / "program").string();
  options.inputFigure = e.inputFigure;
  options.outputFigure = (folder / "out.kv4").string();
  std::ostringstream out;
  HeadlessPort port(out);
  Session session(port);
  const PlayResult result = ScriptPlayer(session, port).Play(ParseScript(script), options);

  EXPECT_EQ(result.status, e.exit) << result.error;
  if (!e.errorText.empty()) {
    EXPECT_NE(result.error.find(e.errorText), std::string::npos) << result.error;
  }
  if (e.quiet) {
    EXPECT_EQ(out.str(), "");
  }
  if (!e.out.empty()) {
    std::string expected;
    for (const std::string& line : e.out) expected += line + "\n";
    EXPECT_EQ(out.str(), expected);
  }
  if (e.mode) {
    EXPECT_EQ(session.CurrentInputMode(), *e.mode);
  }
  const bool written = fs::exists(options.outputFigure);
  EXPECT_EQ(written, e.written.value_or(e.exit == 0));

  for (const auto& [file, checks] : e.figures) {
    if (checks.empty()) continue;
    SCOPED_TRACE("figure " + (file.empty() ? std::string("out.kv4") : file));
    const std::string path = file.empty() ? options.outputFigure : (folder / file).string();
    Figure figure;
    // Read as the window opens a figure: the reader, then one recompute.
    FigureFileIO io;
    const FileResult read = io.Read(figure, path);
    ASSERT_TRUE(read.ok()) << path << ": " << read.reason;
    RecomputeAll(figure);
    for (const Check& c : checks) CheckFigure(figure, c);
  }
}

std::string ScriptTestName(const ::testing::TestParamInfo<fs::path>& info) {
  std::string name;
  for (char c : info.param.stem().string())
    name += (std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Scripts, PlayScriptTest, ::testing::ValuesIn(Scripts(false)),
                         ScriptTestName);
// Listed (and marked disabled for gtest and ctest alike) but not run.
INSTANTIATE_TEST_SUITE_P(DISABLED_Waiting, PlayScriptTest, ::testing::ValuesIn(Scripts(true)),
                         ScriptTestName);

}  // namespace
}  // namespace kv
