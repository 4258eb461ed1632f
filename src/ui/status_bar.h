// KVStatus1: the status bar of the main window, eleven panels that show texts set by the
// session and report single and double clicks by panel number (1-based). A text too long for
// its panel ends in "…" and shows whole as the panel's tooltip.
#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <array>

namespace kv {

// A framed label that elides its text to its width.
class StatusPanelLabel : public QLabel {
  Q_OBJECT
 public:
  explicit StatusPanelLabel(QWidget* parent = nullptr);
  void SetFullText(const QString& text);
  const QString& FullText() const { return fullText_; }
  // Whether the text shown is shortened.
  bool Elided() const { return text() != fullText_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Elide();
  QString fullText_;
};

class KVStatus1 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kPanels = 11;
  explicit KVStatus1(QWidget* parent = nullptr);

  void SetPanel(int n, const QString& text, bool sunken, bool raised);
  // The whole text of a panel (a note shown over it aside).
  QString PanelText(int n) const;
  // What the panel shows now: its text, or a note shown over it.
  QString ShownText(int n) const;
  bool PanelSunken(int n) const;
  StatusPanelLabel* PanelLabel(int n) const;

  // Shows `note` in panel n for `ms` milliseconds over its own text, which comes back then.
  void ShowNote(int n, const QString& note, int ms);
  // Draws panel n pressed in for `ms` milliseconds, as a button that springs back.
  void Press(int n, int ms);

 signals:
  void PanelClicked(int n);
  void PanelDoubleClicked(int n);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowLook(int n);

  std::array<StatusPanelLabel*, kPanels + 1> labels_{};
  std::array<QString, kPanels + 1> texts_{};
  std::array<bool, kPanels + 1> sunken_{};
  std::array<bool, kPanels + 1> raised_{};
  std::array<bool, kPanels + 1> pressed_{};
  std::array<QTimer*, kPanels + 1> noteTimers_{};
  std::array<QTimer*, kPanels + 1> pressTimers_{};
};

}  // namespace kv
