// The data viewer: the construction report and the matrices the matrix maps show while the
// matrix display is on.
#include "io/report.h"
#include "model/names.h"
#include "session/session.h"

namespace kv {

void Session::DataViewCommand() {
  // The labels are brought up to date first, so the report names what the canvas shows.
  RelabelAll(figure, translator);
  viewer_.ShowReport(Tr("作図手続きと幾何的対象のデータ"),
                     FigureReport(figure, figureFileName_, translator));
  ui_.TextViewerChanged();
}

void Session::MatrixSwitchCommand() {
  matrixDisplayOn_ = !matrixDisplayOn_;
  if (matrixDisplayOn_) {
    viewer_.UseMatrixCaption(Tr("変換の表現行列"));
    ui_.TextViewerChanged();
  }
  // Every matrix map shows its matrix during the last pass of this recompute.
  RedrawAll();
  RefreshStatus();
}

void Session::ViewerMenu(ViewerCommand cmd) {
  switch (cmd) {
    case ViewerCommand::mnuExit:
      viewer_.visible = false;
      break;
    case ViewerCommand::mnuClear:
      viewer_.text.clear();
      break;
    case ViewerCommand::mnuModeOverwrite:
      viewer_.writeMode = ViewerWriteMode::kOverwrite;
      break;
    case ViewerCommand::mnuModeAppend:
      viewer_.writeMode = ViewerWriteMode::kAppend;
      break;
    case ViewerCommand::mnuModeFowardAppend:
      viewer_.writeMode = ViewerWriteMode::kInsertFront;
      break;
    case ViewerCommand::mnuDispMatrixSWOff:
      // Only ever switches the display off, whatever state it is in.
      if (matrixDisplayOn_) MatrixSwitchCommand();
      viewer_.visible = false;
      break;
  }
  ui_.TextViewerChanged();
}

void Session::InspectMatrix(Kind /*kind*/, int /*step*/, int rows, int cols,
                            const double* entries) {
  viewer_.AddBlock(MatrixBlock("M=", rows, cols, entries));
  ui_.TextViewerChanged();
}

}  // namespace kv
