// KVStatus1: the status bar of the main window, eleven panels that show texts set by the
// session and report single and double clicks by panel number (1-based).
#pragma once

#include <QWidget>
#include <array>

class QLabel;

namespace kv {

class KVStatus1 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kPanels = 11;
  explicit KVStatus1(QWidget* parent = nullptr);

  void SetPanel(int n, const QString& text, bool sunken, bool raised);
  QString PanelText(int n) const;
  bool PanelSunken(int n) const;
  QLabel* PanelLabel(int n) const;

 signals:
  void PanelClicked(int n);
  void PanelDoubleClicked(int n);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QLabel*, kPanels + 1> labels_{};
  std::array<bool, kPanels + 1> sunken_{};
};

}  // namespace kv
