// Writing, reading and merging KV4 figure files.
#include "io/kv4_file.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <optional>

#include "geometry/recompute.h"
#include "io/file_names.h"
#include "io/line_window_file.h"
#include "io/text_encoding.h"
#include "model/names.h"

namespace kv {

// What a read parses: the bytes of a file already in memory, or a file read through a window
// of whole lines so that a large figure is never held twice (as text and as tables).
struct ReadSource {
  std::string_view bytes;
  const std::string* path = nullptr;
  size_t windowBytes = LineWindowFile::kDefaultChunkBytes;
};

namespace {

// Reasons shown to the user (Japanese; the translator gives the English texts).
constexpr std::string_view kReadLead = "図形ファイルを読み込めませんでした";
constexpr std::string_view kWriteLead = "図形ファイルを書き込めませんでした";
constexpr std::string_view kNotFoundText = "ファイルが見つかりません";
constexpr std::string_view kEndTooEarly = "ファイルが途中で終わっています";
constexpr std::string_view kNotNumber = "数値の欄に数値以外のものがあります";
constexpr std::string_view kBadText = "文字列の欄が正しくありません";
constexpr std::string_view kBadCount = "個数が正しくありません";
constexpr std::string_view kBadReference = "表の外の対象を指しています";
constexpr std::string_view kBadClass = "対象の種類が 0 から 10 の外です";
constexpr std::string_view kBadEncoding = "Shift_JIS の文字として読めません";
constexpr std::string_view kTooLarge = "ファイルが大きすぎます";
constexpr std::string_view kExpressionTooLong = "番号を付け替えた数式が70文字を超えます";
constexpr std::string_view kUnclosedQuote = "引用符が閉じていません";
constexpr std::string_view kNotQuoted = "文字列の欄が引用符で囲まれていません";
constexpr std::string_view kFolderGiven = "ファイルではなくフォルダです";

constexpr int kKindWidth = 5;
constexpr int kMaxClass = 10;

struct ReadFailure {
  std::string_view reason;
  int line;
};

std::string_view RightTrim(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

size_t CharCount(std::string_view utf8) {
  size_t n = 0;
  for (char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

// A text field: no escaping exists, so a double quote inside a name would end the field early
// and shift every field after it; it is written as a single quote instead.
void AppendText(std::string& out, std::string_view text) {
  out += '"';
  for (char c : RightTrim(text)) out += c == '"' ? '\'' : c;
  out += '"';
}

void EndLine(std::string& out) { out += "\r\n"; }

// A number's name shares its text field with the hidden mark "_" and the expression after
// "@". Written as they are, an "_" in a name would read back as the hidden mark (a
// measurement of a point named P_1 would come back hidden and cut) and an "@" would hand the
// rest of the name to the expression (replacing the formula of an expression number). The
// names keep their look with the full-width forms instead.
std::string NumberNameField(std::string_view name) {
  std::string out;
  for (char c : RightTrim(name)) {
    if (c == '_') {
      out += "\xEF\xBC\xBF";  // U+FF3F FULLWIDTH LOW LINE
    } else if (c == '@') {
      out += "\xEF\xBC\xA0";  // U+FF20 FULLWIDTH COMMERCIAL AT
    } else {
      out += c;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------
// Field reader: fields are separated by commas, and a line end counts as a comma.

struct Field {
  std::string_view text;
  bool quoted = false;
};

// It reads bytes already in memory, or a file through a window of whole lines; a field's text
// stays valid until the next field is read.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}
  explicit FieldReader(LineWindowFile& file)
      : text_(file.view()), file_(&file), whole_(file.atEnd()) {}

  int line() const { return line_; }
  // Bytes still to come (of the file's size when it was opened).
  uint64_t remaining() const {
    if (!file_) return text_.size() - pos_;
    const uint64_t at = file_->offset() + pos_;
    return at < file_->size() ? file_->size() - at : 0;
  }

  // The next line without its line end; false at the end of the data.
  bool NextLine(std::string_view& current) {
    Fill();
    if (pos_ >= text_.size()) return false;
    const size_t end = std::min(text_.find_first_of("\r\n", pos_), text_.size());
    current = text_.substr(pos_, end - pos_);
    pos_ = end;
    SkipSeparator();
    return true;
  }

  Field Next() {
    Fill();
    SkipBlanks();
    if (pos_ >= text_.size()) throw ReadFailure{kEndTooEarly, line_};
    Field field;
    if (text_[pos_] == '"') {
      // No escaping exists and no text holds a line end, so a quote still open at the end of
      // its line is damage, reported where it opened rather than at some later quote.
      const size_t close = text_.find_first_of("\"\r\n", pos_ + 1);
      if (close == std::string_view::npos || text_[close] != '"')
        throw ReadFailure{kUnclosedQuote, line_};
      field.text = text_.substr(pos_ + 1, close - pos_ - 1);
      field.quoted = true;
      pos_ = close + 1;
      SkipBlanks();
      if (pos_ < text_.size() && !IsSeparator(text_[pos_])) throw ReadFailure{kBadText, line_};
    } else {
      const size_t start = pos_;
      while (pos_ < text_.size() && !IsSeparator(text_[pos_])) ++pos_;
      field.text = RightTrim(text_.substr(start, pos_ - start));
    }
    SkipSeparator();
    return field;
  }

  double Double() {
    const int at = line_;
    const Field f = Next();
    const std::optional<double> v = f.quoted ? std::nullopt : ParseNumber(f.text);
    if (!v) throw ReadFailure{kNotNumber, at};
    return *v;
  }

  int32_t Int() {
    const int at = line_;
    const double v = Double();
    if (v != std::floor(v) || v < std::numeric_limits<int32_t>::min() ||
        v > std::numeric_limits<int32_t>::max())
      throw ReadFailure{kNotNumber, at};
    return static_cast<int32_t>(v);
  }

  // A text field: quoted, and decoded from the file's encoding to UTF-8. Accepting a bare
  // field here would let a damaged or shifted file load with numbers taken as names.
  std::string Text() {
    const int at = line_;
    const Field f = Next();
    if (!f.quoted) throw ReadFailure{kNotQuoted, at};
    if (utf8_) return std::string(f.text);
    std::optional<std::string> text = (*decoder_)(f.text);
    if (!text) throw ReadFailure{kBadEncoding, at};
    return std::move(*text);
  }

  // Text fields are UTF-8 already (utf8) or go through the decoder.
  void SetEncoding(bool utf8, ShiftJisDecoder* decoder) {
    utf8_ = utf8;
    decoder_ = decoder;
  }

  // The value of a well-formed decimal with at most 15 significant digits and a power of ten
  // within 10^22 either way, which is how the file writes its numbers. Both the digits and the
  // power are exact doubles then, so one multiplication or division rounds exactly as strtod
  // does, without its slow general path (software long double on some targets).
  static std::optional<double> ExactShortDecimal(std::string_view s) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    size_t i = 0;
    const bool negative = s[0] == '-';
    if (s[0] == '+' || s[0] == '-') ++i;
    uint64_t mantissa = 0;
    int significant = 0, exponent = 0;
    bool fraction = false;
    for (; i < s.size() && s[i] != 'E' && s[i] != 'e'; ++i) {
      if (s[i] == '.') {
        fraction = true;
        continue;
      }
      if (mantissa == 0 && s[i] == '0') {
        if (fraction) --exponent;
        continue;
      }
      if (++significant > 15) return std::nullopt;
      mantissa = mantissa * 10 + uint64_t(s[i] - '0');
      if (fraction) --exponent;
    }
    if (i < s.size()) {
      ++i;
      const bool expNegative = s[i] == '-';
      if (s[i] == '+' || s[i] == '-') ++i;
      int e = 0;
      for (; i < s.size(); ++i) {
        e = e * 10 + (s[i] - '0');
        if (e > 1000) return std::nullopt;
      }
      exponent += expNegative ? -e : e;
    }
    double v = double(mantissa);
    if (mantissa != 0) {
      if (exponent < -22 || exponent > 22) return std::nullopt;
      v = exponent < 0 ? v / kPowers[-exponent] : v * kPowers[exponent];
    }
    return negative ? -v : v;
  }

  // Decimal number with an optional sign, point and exponent: 2, -3.5, .5, 1E-05.
  static std::optional<double> ParseNumber(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
      ++i;
      while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
      ++i;
      if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
      size_t expDigits = 0;
      while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++expDigits;
      if (expDigits == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    if (const std::optional<double> exact = ExactShortDecimal(s)) return exact;
    const std::string copy(s);
    const double v = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
  }

 private:
  static bool IsSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }
  // Makes the window hold the whole line the next field lies on (with the byte after its
  // line end), moving on through the file when it does not.
  void Fill() {
    if (whole_ || (lineEnd_ != std::string_view::npos && pos_ <= lineEnd_)) return;
    lineEnd_ = text_.find_first_of("\r\n", pos_);
    if (lineEnd_ != std::string_view::npos && lineEnd_ + 1 < text_.size()) return;
    file_->Advance(pos_);
    text_ = file_->view();
    pos_ = 0;
    whole_ = file_->atEnd();
    lineEnd_ = text_.find_first_of("\r\n");
  }
  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  void SkipSeparator() {
    if (pos_ >= text_.size()) return;
    if (text_[pos_] == ',') {
      ++pos_;
    } else if (text_[pos_] == '\r') {
      ++pos_;
      if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
      ++line_;
    } else if (text_[pos_] == '\n') {
      ++pos_;
      ++line_;
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  LineWindowFile* file_ = nullptr;
  bool whole_ = true;  // text_ holds the rest of the data
  size_t lineEnd_ = std::string_view::npos;
  int line_ = 1;
  bool utf8_ = true;
  ShiftJisDecoder* decoder_ = nullptr;
};

// ---------------------------------------------------------------------------------------
// Reading into a fresh figure.

// Grows an object table by steps of 10, as object allocation does, until it holds `count`
// records. The previous-pass twin is left alone: the first recompute fills it, and until then
// nothing reads it, so a large file does not hold both while it is being read.
template <typename Rec>
void GrowToHold(std::vector<Rec>& table, int32_t count) {
  const size_t upper = table.size() - 1;
  if (static_cast<size_t>(count) <= upper) return;
  const size_t tens = (static_cast<size_t>(count) - upper + 9) / 10;
  table.resize(table.size() + 10 * tens);
}

void GrowObjectTables(Figure& fig) {
  GrowToHold(fig.numbers, fig.classCount[kClassNumber]);
  GrowToHold(fig.points, fig.classCount[kClassPoint]);
  GrowToHold(fig.lines, fig.classCount[kClassLine]);
  GrowToHold(fig.circles, fig.classCount[kClassCircle]);
}

ObjRef ReadObjRef(FieldReader& in) {
  ObjRef ref;
  ref.cls = in.Int();
  ref.index = in.Int();
  return ref;
}

void ReadNumber(FieldReader& in, NumberRec& rec, bool older, bool& pastLayoutFork) {
  rec.value = in.Double();
  rec.valid = in.Int();
  const std::string t = in.Text();
  pastLayoutFork = true;
  const std::string head = FieldOf(t, "@", 1);
  rec.name = CutToWidth(FieldOf(head, "_", 1), kNumberNameWidth);
  rec.hidden = head.find('_') != std::string::npos ? kNumberHidden : kNumberShown;
  rec.expression = CutToWidth(FieldOf(t, "@", 2), kExpressionWidth);
  if (!older) {
    const int32_t independent = in.Int();
    rec.independent = static_cast<int16_t>(std::clamp<int32_t>(independent, INT16_MIN, INT16_MAX));
  }
}

void ReadPoint(FieldReader& in, PointRec& rec) {
  rec.x = in.Double();
  rec.y = in.Double();
  rec.colour = in.Int();
  rec.locusColour = in.Int();
  rec.valid = in.Int();
  rec.marker = in.Int();
  rec.free = in.Int();
  rec.boundClass = in.Int();
  rec.boundIndex = in.Int();
  rec.boundParam = in.Double();
  rec.name = CutToWidth(in.Text(), kNameWidth);
}

void ReadLine(FieldReader& in, LineRec& rec) {
  rec.x1 = in.Double();
  rec.y1 = in.Double();
  rec.x2 = in.Double();
  rec.y2 = in.Double();
  rec.valid = in.Int();
  rec.lineType = in.Int();
  rec.dx = in.Double();
  rec.dy = in.Double();
  rec.colour = in.Int();
  rec.locusColour = in.Int();
  rec.name = CutToWidth(in.Text(), kNameWidth);
}

void ReadCircle(FieldReader& in, CircleRec& rec) {
  rec.cx = in.Double();
  rec.cy = in.Double();
  rec.radius = in.Double();
  rec.valid = in.Int();
  rec.colour = in.Int();
  rec.locusColour = in.Int();
  rec.name = CutToWidth(in.Text(), kNameWidth);
}

// Every reference must name an object the file itself holds (or be empty), so that no later
// operation meets an index outside the tables.
void CheckReference(const Figure& fig, ObjRef ref, int line) {
  if (ref.cls < 0 || ref.cls > kMaxClass) throw ReadFailure{kBadClass, line};
  if (ref.index < 0 || ref.index > fig.classCount[ref.cls]) throw ReadFailure{kBadReference, line};
}

struct ParsedFile {
  Figure fig;
  bool hasComplexSteps = false;
  // The read went past the first number's text field, where the two layouts part.
  bool pastLayoutFork = false;
};

// Parses the file into `out`, whose tables were set up with NewFigure(capacity).
// Text fields are UTF-8 when `utf8`, otherwise Shift_JIS converted through `decoder`; the
// structure (digits, commas, quotes, line ends) is plain ASCII in both, since no byte of a
// Shift_JIS character is below 0x40. Throws ReadFailure.
void ParseFigure(FieldReader& in, bool older, int capacity, bool utf8, ShiftJisDecoder& decoder,
                 ParsedFile& out) {
  Figure& fig = out.fig;
  in.SetEncoding(utf8, &decoder);
  // Every field takes at least one character and a separator, which bounds every count by the
  // size of the file before anything is allocated.
  auto fieldsLeft = [&] { return static_cast<int64_t>(in.remaining() + 1) / 2; };

  const int countLine = in.line();
  const int32_t n = in.Int();
  if (n < 0 || int64_t{21} * n > fieldsLeft()) throw ReadFailure{kBadCount, countLine};
  if (n > capacity) fig.NewFigure(n + 10);
  fig.ReserveSteps(n);
  for (int32_t s = 1; s <= n; ++s) fig.AppendStep();

  for (int32_t s = 1; s <= n; ++s) {
    const std::string code = CutToWidth(in.Text(), kKindWidth);
    fig.SetStepKind(s, code);
    if (code.rfind("PO", 0) == 0) out.hasComplexSteps = true;
  }
  std::vector<int> refLines(static_cast<size_t>(n) + 1);
  for (int32_t s = 1; s <= n; ++s) {
    refLines[s] = in.line();
    for (int k = 1; k <= 5; ++k) fig.SetStepParent(s, k, ReadObjRef(in));
  }
  for (int32_t s = 1; s <= n; ++s)
    for (int k = 1; k <= 5; ++k) fig.SetStepOutput(s, k, ReadObjRef(in));

  const int classLine = in.line();
  for (int k = 0; k <= kMaxClass; ++k) {
    fig.classCount[k] = in.Int();
    if (fig.classCount[k] < 0) throw ReadFailure{kBadCount, classLine + k};
  }
  // A lower bound on the fields still to come, the same in both layouts, so that an older
  // file fails here only when it is too short for either.
  const int64_t fieldsNeeded =
      int64_t{3} * fig.classCount[kClassNumber] + int64_t{11} * fig.classCount[kClassPoint] +
      int64_t{10} * fig.classCount[kClassLine] + int64_t{7} * fig.classCount[kClassCircle];
  if (fieldsNeeded > fieldsLeft() + 1) throw ReadFailure{kBadCount, classLine};
  GrowObjectTables(fig);

  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i) {
    ReadNumber(in, fig.numbers[i], older, out.pastLayoutFork);
  }
  std::vector<int> pointLines(static_cast<size_t>(fig.classCount[kClassPoint]) + 1);
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) {
    pointLines[i] = in.line();
    ReadPoint(in, fig.points[i]);
  }
  for (int32_t i = 1; i <= fig.classCount[kClassLine]; ++i) ReadLine(in, fig.lines[i]);
  for (int32_t i = 1; i <= fig.classCount[kClassCircle]; ++i) ReadCircle(in, fig.circles[i]);

  // References are checked once the counts are known.
  for (int32_t s = 1; s <= n; ++s)
    for (int k = 1; k <= 5; ++k) {
      CheckReference(fig, fig.Parent(s, k), refLines[s]);
      CheckReference(fig, fig.Output(s, k), refLines[s]);
    }
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) {
    const PointRec& p = fig.points[i];
    if (p.boundClass < 0 || p.boundClass > 3) throw ReadFailure{kBadClass, pointLines[i]};
    if (p.boundClass != 0 && (p.boundIndex < 0 || p.boundIndex > fig.classCount[p.boundClass]))
      throw ReadFailure{kBadReference, pointLines[i]};
  }

  // Swap lines: the rest of the file, line by line.
  std::string_view current;
  for (int line = in.line(); in.NextLine(current); line = in.line()) {
    FieldReader fields(current);
    std::optional<Field> first;
    try {
      first = fields.Next();
    } catch (const ReadFailure&) {
      first.reset();  // a blank or malformed line other than a swap line is ignored
    }
    if (first && first->text == "REV=") {
      int32_t s = 0;
      try {
        s = fields.Int();
      } catch (const ReadFailure&) {
        throw ReadFailure{kNotNumber, line};
      }
      if (s < 1 || s > n) throw ReadFailure{kBadReference, line};
      fig.SetStepSwap(s, kTrue);
    }
  }
}

// The reasons a file cannot be read at all, before any of it is parsed.
FileResult CheckReadable(const std::string& path) {
  if (FolderExists(path)) return {FileStatus::kFailed, std::string(kFolderGiven), 0, {}};
  if (!FileExists(path)) return {FileStatus::kNotFound, std::string(kNotFoundText), 0, {}};
  return {};
}

// Whether a file's text fields are UTF-8, judged over the whole file as LooksLikeUtf8 does.
bool FileLooksLikeUtf8(LineWindowFile& file) {
  Utf8Judgement judgement;
  while (!file.view().empty()) {
    const std::string_view window = file.view();
    // Up to the last line end, so that no character is cut; all of it at the file's end.
    const size_t last = window.find_last_of("\r\n");
    const size_t piece = file.atEnd() || last == std::string_view::npos ? window.size() : last + 1;
    judgement.Add(window.substr(0, piece));
    file.Advance(piece);
  }
  return judgement.LooksLikeUtf8();
}

// Reads a file into `out` in the current layout. When that fails after the point where the
// layouts part (an older file read in the current layout runs out of data or meets a record
// field out of step), it is read once more in the older layout without the `independent`
// lines. A failure before that point is the file's own and is reported as it is. When both
// attempts fail, the one that got further names the real damage: a current file fails at
// its damage and an older one misread as current fails soon after the first number.
FileResult ParseSource(const ReadSource& source, int capacity, ParsedFile& out, bool& older,
                       bool& utf8) {
  auto open = [&](LineWindowFile& file) -> std::optional<FileResult> {
    if (!file.Open(*source.path))
      return FileResult{FileStatus::kNotFound, std::string(kNotFoundText), 0, {}};
    if (file.size() > kMaxFigureFileBytes)
      return FileResult{FileStatus::kFailed, std::string(kTooLarge), 0, {}};
    return std::nullopt;
  };
  if (source.path) {
    LineWindowFile file(source.windowBytes);
    if (std::optional<FileResult> failed = open(file)) return *failed;
    utf8 = FileLooksLikeUtf8(file);
  } else {
    if (source.bytes.size() > kMaxFigureFileBytes)
      return {FileStatus::kFailed, std::string(kTooLarge), 0, {}};
    utf8 = LooksLikeUtf8(source.bytes);
  }
  ShiftJisDecoder decoder;

  std::optional<ReadFailure> first;
  for (int attempt = 0; attempt < 2; ++attempt) {
    older = attempt == 1;
    out.fig = Figure(capacity);
    out.hasComplexSteps = false;
    out.pastLayoutFork = false;
    LineWindowFile file(source.windowBytes);
    if (source.path)
      if (std::optional<FileResult> failed = open(file)) return *failed;
    FieldReader in = source.path ? FieldReader(file) : FieldReader(source.bytes);
    try {
      ParseFigure(in, older, capacity, utf8, decoder, out);
      return {};
    } catch (const ReadFailure& failure) {
      if (attempt == 0) {
        first = failure;
        if (!out.pastLayoutFork) break;
      } else if (failure.line > first->line) {
        first = failure;
      }
    }
  }
  out.fig = Figure(capacity);  // give back the tables of the failed attempt at once
  return {FileStatus::kFailed, std::string(first->reason), first->line, {}};
}

// Moves the operand indices of a stored expression (N3 -> N<3 + by>), keeping the operators
// and any text that is not an operand as it is.
std::string ShiftOperands(std::string_view expression, int32_t by) {
  std::string out;
  size_t start = 0;
  while (start <= expression.size()) {
    size_t end = expression.find_first_of("+-*/^", start);
    if (end == std::string_view::npos) end = expression.size();
    std::string_view operand = expression.substr(start, end - start);
    size_t lead = 0;
    while (lead < operand.size() && operand[lead] == ' ') ++lead;
    std::string_view digits = operand.substr(std::min(operand.size(), lead + 1));
    const bool numbered =
        lead < operand.size() && !digits.empty() && digits.size() < 10 &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (numbered) {
      out.append(operand.substr(0, lead + 1));
      out += std::to_string(std::stoll(std::string(digits)) + by);
    } else {
      out.append(operand);
    }
    if (end == expression.size()) break;
    out += expression[end];
    start = end + 1;
  }
  return out;
}

// Object tables grow one record at a time while a merge appends; reserving the
// combined size first keeps them from doubling past it (a merge of a large file would
// otherwise hold up to twice the tables it needs).
void ReserveForMerge(Figure& fig, const Figure& add) {
  constexpr size_t kSlack = 11;  // element 0 and one growth step of ten
  auto reserve = [](auto& table, auto* previous, size_t count) {
    table.reserve(count + kSlack);
    if (previous) previous->reserve(count + kSlack);
  };
  auto objects = [&](int cls) {
    return static_cast<size_t>(fig.classCount[cls]) + static_cast<size_t>(add.classCount[cls]);
  };
  // The numbers have no previous-pass twin.
  reserve(fig.numbers, static_cast<std::vector<NumberRec>*>(nullptr), objects(kClassNumber));
  reserve(fig.points, &fig.prevPoints, objects(kClassPoint));
  reserve(fig.lines, &fig.prevLines, objects(kClassLine));
  reserve(fig.circles, &fig.prevCircles, objects(kClassCircle));
  fig.ReserveSteps(add.StepCount());
}

}  // namespace

std::optional<double> ParseFileNumber(std::string_view text) {
  return FieldReader::ParseNumber(text);
}

std::string FileNumber(double value) {
  if (!std::isfinite(value) || value == 0) return "0";
  char buffer[40];
  // %G gives the exponent below 1E-04 and from 1E+15 on (with 15 digits), drops trailing
  // zeros and writes at least two exponent digits.
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  return buffer;
}

void ForEachFigureTextPiece(const Figure& fig, const std::function<void(std::string_view)>& piece) {
  // Pieces end at line ends, so that no character is cut in two.
  constexpr size_t kPieceSize = 1 << 16;
  std::string out;
  out.reserve(kPieceSize + 1024);
  auto spill = [&] {
    if (out.size() < kPieceSize) return;
    piece(out);
    out.clear();
  };
  const int32_t n = std::clamp(fig.StepCount(), 0, fig.UpperBound(-1));
  std::array<int32_t, kClassCountEntries> counts = fig.classCount;
  for (int c = 0; c <= 3; ++c) counts[c] = std::clamp(counts[c], 0, fig.UpperBound(c));

  out += std::to_string(n);
  EndLine(out);
  for (int32_t s = 1; s <= n; ++s) AppendText(out, fig.KindCode(s)), EndLine(out), spill();
  auto writeRef = [&](ObjRef ref, int32_t cls) {
    out += std::to_string(cls) + "," + std::to_string(ref.index);
    EndLine(out);
    spill();
  };
  for (int32_t s = 1; s <= n; ++s)
    for (int k = 1; k <= 5; ++k) writeRef(fig.Parent(s, k), fig.Parent(s, k).cls % 100);
  for (int32_t s = 1; s <= n; ++s)
    for (int k = 1; k <= 5; ++k) writeRef(fig.Output(s, k), fig.Output(s, k).cls);
  for (int32_t c : counts) out += std::to_string(c), EndLine(out);

  auto num = [](double v) { return FileNumber(v); };
  auto integer = [](int32_t v) { return std::to_string(v); };
  for (int32_t i = 1; i <= counts[kClassNumber]; ++i) {
    const NumberRec& r = fig.numbers[i];
    std::string field = NumberNameField(r.name);
    if (r.hidden == kNumberHidden) field += '_';
    field += '@';
    field += RightTrim(r.expression);
    out += num(r.value) + "," + integer(r.valid) + ",";
    AppendText(out, field);
    EndLine(out);
    out += integer(r.independent);
    EndLine(out);
    spill();
  }
  for (int32_t i = 1; i <= counts[kClassPoint]; ++i) {
    const PointRec& r = fig.points[i];
    out += num(r.x) + "," + num(r.y) + "\r\n";
    out += integer(r.colour) + "\r\n" + integer(r.locusColour) + "\r\n";
    out += integer(r.valid) + "\r\n" + integer(r.marker) + "\r\n" + integer(r.free) + "\r\n";
    out += integer(r.boundClass) + "," + integer(r.boundIndex) + "\r\n";
    out += num(r.boundParam) + "\r\n";
    AppendText(out, r.name);
    EndLine(out);
    spill();
  }
  for (int32_t i = 1; i <= counts[kClassLine]; ++i) {
    const LineRec& r = fig.lines[i];
    out += num(r.x1) + "," + num(r.y1) + "\r\n" + num(r.x2) + "," + num(r.y2) + "\r\n";
    out += integer(r.valid) + "\r\n" + integer(r.lineType) + "\r\n";
    out += num(r.dx) + "," + num(r.dy) + "\r\n";
    out += integer(r.colour) + "\r\n" + integer(r.locusColour) + "\r\n";
    AppendText(out, r.name);
    EndLine(out);
    spill();
  }
  for (int32_t i = 1; i <= counts[kClassCircle]; ++i) {
    const CircleRec& r = fig.circles[i];
    out += num(r.cx) + "," + num(r.cy) + "\r\n" + num(r.radius) + "\r\n";
    out += integer(r.valid) + "\r\n" + integer(r.colour) + "\r\n" + integer(r.locusColour) + "\r\n";
    AppendText(out, r.name);
    EndLine(out);
    spill();
  }
  for (int32_t s = 1; s <= n; ++s) {
    if (fig.StepSwap(s) == 0) continue;
    AppendText(out, "REV=");
    out += ',';
    out += std::to_string(s);
    EndLine(out);
    spill();
  }
  if (!out.empty()) piece(out);
}

std::string FigureFileText(const Figure& fig) {
  std::string text;
  ForEachFigureTextPiece(fig, [&](std::string_view piece) { text += piece; });
  return text;
}

std::string FileResultMessage(const FileResult& result, const Translator& tr) {
  switch (result.status) {
    case FileStatus::kOk:
    case FileStatus::kIgnored:
      return {};
    case FileStatus::kReadOnly:
      return std::string(tr(kReadOnlyMessage));
    case FileStatus::kNotFound:
      return std::string(tr(kNotFoundText));
    case FileStatus::kFailed:
      break;
  }
  const bool writing = result.reason.empty();
  std::string text(tr(writing ? kWriteLead : kReadLead));
  if (!writing) text += ": " + std::string(tr(result.reason));
  if (result.line > 0)
    text += " (" + std::string(tr("行")) + " " + std::to_string(result.line) + ")";
  if (!result.detail.empty()) text += " (" + result.detail + ")";
  return text;
}

void FigureFileIO::Relabel(Figure& fig) const {
  static const Translator kJapanese;
  RelabelAll(fig, translator_ ? *translator_ : kJapanese);
}

FileResult FigureFileIO::operator()(Figure& fig, const std::string& path, std::string_view mode) {
  if (mode == "W") return Write(fig, path);
  if (mode == "R") return Read(fig, path);
  if (mode == "A") return Merge(fig, path);
  return {FileStatus::kIgnored, {}, 0, {}};
}

FileResult FigureFileIO::Write(Figure& fig, const std::string& path, bool relabel) {
  if (relabel) Relabel(fig);
  // A rename would replace a read-only file, so the permission is checked first.
  if (IsReadOnlyFile(path)) return {FileStatus::kReadOnly, {}, 0, {}};
  // Written piece by piece: a large figure's text is never held whole, twice over.
  const std::string error = WriteFileAtomically(path, [&](const ByteSink& sink) {
    ForEachFigureTextPiece(fig, [&](std::string_view piece) { sink(Utf8ToShiftJis(piece)); });
  });
  if (!error.empty()) return {FileStatus::kFailed, {}, 0, error};
  return {};
}

namespace {

// Reads a file through a window of `windowBytes` with `read` (a whole read or a merge), once it
// is known to be a readable file.
template <typename F>
FileResult FromFile(const std::string& path, size_t windowBytes, F&& read) {
  FileResult readable = CheckReadable(path);
  if (!readable.ok()) return readable;
  ReadSource source;
  source.path = &path;
  source.windowBytes = windowBytes;
  return read(source);
}

}  // namespace

FileResult FigureFileIO::Read(Figure& fig, const std::string& path) {
  return FromFile(path, readWindowBytes,
                  [&](const ReadSource& source) { return ReadSourceInto(fig, source); });
}

FileResult FigureFileIO::Merge(Figure& fig, const std::string& path) {
  return FromFile(path, readWindowBytes,
                  [&](const ReadSource& source) { return MergeSource(fig, source); });
}

FileResult FigureFileIO::ReadBytes(Figure& fig, std::string_view bytes) {
  ReadSource source;
  source.bytes = bytes;
  return ReadSourceInto(fig, source);
}

FileResult FigureFileIO::MergeBytes(Figure& fig, std::string_view bytes) {
  ReadSource source;
  source.bytes = bytes;
  return MergeSource(fig, source);
}

FileResult FigureFileIO::ReadSourceInto(Figure& fig, const ReadSource& source) {
  ParsedFile parsed;
  bool older = false, utf8 = false;
  const int capacity = fig.figureCapacity;
  FileResult result = ParseSource(source, capacity, parsed, older, utf8);
  if (!result.ok()) return result;
  hasComplexSteps = parsed.hasComplexSteps;
  olderGeneration = older;
  readAsUtf8 = utf8;
  // The figure takes the new tables; what belongs to its surroundings stays.
  RecomputeHooks* hooks = fig.pass.hooks;
  fig = std::move(parsed.fig);
  fig.pass.hooks = hooks;
  fig.figureCapacity = capacity;
  Relabel(fig);
  return result;
}

FileResult FigureFileIO::MergeSource(Figure& fig, const ReadSource& source) {
  ParsedFile parsed;
  bool older = false, utf8 = false;
  FileResult result = ParseSource(source, kInitialCapacity, parsed, older, utf8);
  if (!result.ok()) return result;
  const Figure& add = parsed.fig;

  std::array<int32_t, kClassCountEntries> base = fig.classCount;
  const int32_t baseSteps = fig.StepCount();
  for (int k = 0; k <= kMaxClass; ++k)
    if (int64_t{base[k]} + add.classCount[k] > std::numeric_limits<int32_t>::max())
      return {FileStatus::kFailed, std::string(kBadCount), 0, {}};
  for (int32_t i = 1; i <= add.classCount[kClassPoint]; ++i)
    if (int64_t{add.points[i].boundIndex} + base[add.points[i].boundClass] >
        std::numeric_limits<int32_t>::max())
      return {FileStatus::kFailed, std::string(kBadReference), 0, {}};
  if (int64_t{baseSteps} + add.StepCount() > std::numeric_limits<int32_t>::max())
    return {FileStatus::kFailed, std::string(kBadCount), 0, {}};

  // Expressions name their operands by number index: they move with the numbers. Checked
  // before anything is changed, so that a failed merge leaves the figure as it was.
  std::vector<std::string> expressions(static_cast<size_t>(add.classCount[kClassNumber]) + 1);
  for (int32_t i = 1; i <= add.classCount[kClassNumber]; ++i) {
    const std::string_view expr = RightTrim(add.numbers[i].expression);
    expressions[i] =
        base[kClassNumber] == 0 ? std::string(expr) : ShiftOperands(expr, base[kClassNumber]);
    if (static_cast<int>(CharCount(expressions[i])) > kExpressionWidth)
      return {FileStatus::kFailed, std::string(kExpressionTooLong), 0, {}};
  }

  // An index of 0 means "no object" and stays 0; every other reference moves by the count of
  // its class held before.
  auto moved = [&](ObjRef ref) {
    if (ref.index != 0) ref.index += base[ref.cls];
    return ref;
  };
  ReserveForMerge(fig, add);
  for (int32_t i = 1; i <= add.StepCount(); ++i) {
    const int32_t s = fig.AppendStep();
    fig.SetStepKind(s, add.KindCode(i));
    for (int k = 1; k <= 5; ++k) {
      fig.SetStepParent(s, k, moved(add.Parent(i, k)));
      fig.SetStepOutput(s, k, moved(add.Output(i, k)));
    }
    fig.SetStepSwap(s, add.StepSwap(i));
  }
  for (int32_t i = 1; i <= add.classCount[kClassNumber]; ++i) {
    const int32_t at = fig.AllocObject(kClassNumber);
    fig.numbers[at] = add.numbers[i];
    fig.numbers[at].expression = expressions[i];
  }
  for (int32_t i = 1; i <= add.classCount[kClassPoint]; ++i) {
    const int32_t at = fig.AllocObject(kClassPoint);
    PointRec& p = fig.points[at] = add.points[i];
    // The binding index moves with its class, also for a free point (class 0, by the number
    // count). Only a binding still waiting for its target (index 0) keeps 0: moved, it would
    // tie the point to an unrelated object of the figure held.
    if (p.boundClass == 0 || p.boundIndex != 0) p.boundIndex += base[p.boundClass];
  }
  for (int32_t i = 1; i <= add.classCount[kClassLine]; ++i)
    fig.lines[fig.AllocObject(kClassLine)] = add.lines[i];
  for (int32_t i = 1; i <= add.classCount[kClassCircle]; ++i)
    fig.circles[fig.AllocObject(kClassCircle)] = add.circles[i];
  for (int k = 4; k <= kMaxClass; ++k) fig.classCount[k] = base[k] + add.classCount[k];

  hasComplexSteps = parsed.hasComplexSteps;
  olderGeneration = older;
  readAsUtf8 = utf8;
  Relabel(fig);
  return result;
}

}  // namespace kv
