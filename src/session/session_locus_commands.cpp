// The locus menu and its status panels: the locus switch, erasing the loci, the locus colours
// (through the edit commands), the number locus, and the measurement record with its page.
// Also the scribble strokes the scene shows.
#include <ctime>

#include "expr/number_dialog.h"
#include "geometry/recompute.h"
#include "session/modes/scribble_mode.h"
#include "session/session.h"

namespace kv {

// Mode 71: the number-selection dialog chooses the number of the number locus.
class LocusNumberMode : public Mode {
 public:
  explicit LocusNumberMode(Session& session) : Mode(kModeLocusByNumber), session_(session) {}

  void DialogClosed(ModeHost& host, DialogModel& dialog) override {
    auto* select = dynamic_cast<NumberDialog*>(&dialog);
    if (select && select->Outcome() == DialogOutcome::kChosen)
      session_.locusNumber_ = select->ChosenNumber();
    host.PopMode();  // this mode: nothing of it is touched afterwards
    host.RedrawAll();
  }

 private:
  Session& session_;
};

namespace {

inline constexpr std::string_view kNothingRecordedText =
    "記録する測定値がありません。距離や角度などを測定してから,軌跡のスイッチを入れて図を動かして"
    "ください。";

RecordHead MakeRecordHead(const Translator& tr, const std::string& figureFileName) {
  RecordHead head;
  head.openLink = std::string(tr("Excelなどで開く"));
  head.title = std::string(tr("測定値の結果"));
  head.versionMajor = kVersionMajor;
  head.versionMinor = kVersionMinor;
  head.versionRevision = kVersionRevision;
  head.figureFileName = figureFileName;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y/%m/%d", &local);
  head.date = text;
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  head.time = text;
  return head;
}

}  // namespace

bool Session::LocusCommand(MenuCommand cmd) {
  using M = MenuCommand;
  switch (cmd) {
    case M::mnuLocusSW:
      SetLocusSwitch(!locusSw_);
      return true;
    case M::mnuLocusReset:
      EraseLoci();
      return true;
    case M::mnuLocusNumCSV:
      ShowRecords();
      return true;
    case M::mnuLocusSetP:
      return AttributeCommand(M::mnuEbasicPt);
    case M::mnuLocusSetL:
      return AttributeCommand(M::mnuEbasicLine);
    case M::mnuLocusSetC:
      return AttributeCommand(M::mnuEbasicCircle);
    case M::mnuLocusSetN:
      StartLocusNumberChoice();
      return true;
    case M::mnuLocusNumClear:
      locusNumber_ = 0;
      statusDirty_ = true;
      return true;
    default:
      return false;
  }
}

void Session::SetLocusSwitch(bool on) {
  locusSw_ = on;
  SendRecord(on ? RecordCommand::kOpen : RecordCommand::kClose);
  statusDirty_ = true;
}

void Session::EraseLoci() {
  loci.Reset();
  SendRecord(RecordCommand::kNew);
  RedrawAll();
  statusDirty_ = true;
}

void Session::NewLoci() {
  loci.Reset();
  SendRecord(RecordCommand::kNew);
}

void Session::StartLocusNumberChoice() {
  PushInputMode(std::make_unique<LocusNumberMode>(*this));
  if (CurrentInputMode() != kModeLocusByNumber) return;  // the stack was full
  RefreshStatus();
  OpenDialog(std::make_unique<NumberDialog>(figure, SelNumCaller::kLocusNumber, Kind::kNone,
                                            draw.KetaDecimal, translator));
}

void Session::SendRecord(RecordCommand cmd) {
  if (readOnlyInstall_ || record_.Off()) return;
  if (record_.Command(cmd, locusSw_, figure, MakeRecordHead(translator, figureFileName_)))
    RecordFailed();
}

void Session::WriteRecordRow() {
  if (record_.State() != RecordState::kOpen) return;
  if (record_.AppendRow(figure, draw.KetaDecimal)) RecordFailed();
}

void Session::RecordFailed() {
  // Said once: the record stays off for the rest of the run, the figure goes on as before.
  ui_.SetMeasurementRecordsVisible(false);
  ui_.MessageWarning(
      Tr("測定記録のファイルに書き込めないため,測定記録を止めます。") + "\n" + record_.CsvPath(),
      kProgramTitle);
}

void Session::ShowRecords() {
  if (!MeasurementRecordsAvailable()) return;
  // Closed and reopened so that everything written so far is on disk when the page opens.
  SendRecord(RecordCommand::kClose);
  if (locusSw_) SendRecord(RecordCommand::kAppend);
  if (record_.Off()) return;
  if (record_.Empty()) {
    // No measured number was there to record: an empty table would only puzzle.
    ShowMessage(kNothingRecordedText);
    return;
  }
  ui_.OpenWithSystem(record_.PagePath());
}

std::span<const Stroke> Session::Strokes() const {
  if (auto* scribble = dynamic_cast<const ScribbleMode*>(modes_.TopMode()))
    return scribble->Strokes();
  return {};
}

}  // namespace kv
