// KVwin: the main window. The canvas is its client area, the menu tree hangs above it and the
// status bar KVStatus1 lies below. It owns the Session and implements the session's UiPort
// with Qt: message and input boxes, the system's "open" action, the replay timer.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <string>

#include "session/session.h"
#include "ui/desktop_opener.h"
#include "ui/qt_translations.h"

class QMenu;
class QAction;
class QPrinter;
class QUrl;

namespace kv {

class CanvasWidget;
class TextViewer;
class KVStatus1;
class ModelDialog;

// A length in twips at the given resolution (dots per inch), in pixels, and back.
int TwipsToPixels(int twips, double dotsPerInch);
int PixelsToTwips(int pixels, double dotsPerInch);
// The user's documents folder, or home when there is none that can be written.
QString WritableDocumentsFolder();
// Where the save dialog opens and the name it proposes, for the figure dialog's folder and the
// figure's name (a full path, or "untitled"): beside the figure when that folder can be
// written, else in the dialog's folder, else in the user's documents.
struct SavePlace {
  QString folder, file;
};
SavePlace SavePlaceFor(const QString& folder, const QString& presetName,
                       const std::function<bool(const QString&)>& writable);
// A filter of description|pattern pairs ("KV4(*.kv4)|*.kv4|") as a file dialog's name filters.
QStringList NameFiltersOf(const std::string& filter);
// The name filter a save dialog starts on: the one whose pattern the preset name's extension
// matches (a picture named "x.png" starts on PNG), else the last one.
int SaveFilterFor(const QStringList& filters, const QString& presetName);
// The extension a save dialog adds to a name typed without one: that of the filter's first
// pattern ("kv4" for "KV4(*.kv4)"), none for "*.*".
QString DefaultSuffixOf(const QString& nameFilter);

class KVwin : public QMainWindow, public UiPort {
  Q_OBJECT
 public:
  explicit KVwin(QWidget* parent = nullptr);
  ~KVwin() override;

  // Runs the start-up sequence with the program folder and the raw command line; the help
  // pages and samples are looked for in `shippedFolder` (the program folder when empty).
  void Start(const std::string& programFolder, const std::string& commandLine,
             const std::string& shippedFolder = {});

  Session& session() { return session_; }
  CanvasWidget* canvas() const { return canvas_; }
  KVStatus1* statusPanels() const { return status_; }
  QTimer& replayTimer() { return replayTimer_; }
  // The top-level menu or menu item with this control name, or null.
  QMenu* MenuNamed(const QString& name) const;
  QAction* ActionNamed(const QString& name) const;

  // Hands a URL to the desktop; replaced in tests so that nothing is started.
  std::function<bool(const QUrl&)> urlOpener;
  // What urlOpener uses unless replaced; its failures that come after the start are shown.
  DesktopOpener& desktopOpener() { return *desktopOpener_; }

  // UiPort
  void MessageOk(std::string_view text, std::string_view title) override;
  void MessageWarning(std::string_view text, std::string_view title) override;
  bool MessageOkCancel(std::string_view text, std::string_view title) override;
  std::optional<std::string> InputBox(std::string_view prompt, std::string_view title,
                                      std::string_view defaultText) override;
  void Beep() override;
  void OpenWithSystem(const std::string& path) override;
  void StatusChanged() override;
  void RequestRepaint() override;
  void StartTimer(int intervalMs) override;
  void StopTimer() override;
  void ApplyLanguage() override;
  void LayOutStatusPanels() override;
  void ApplyWindowSize(int widthTwips, int heightTwips, int windowState) override;
  std::pair<int, int> WindowSizeTwips() override;
  void ApplyMenuMode(bool easy) override;
  void SetMeasurementRecordsVisible(bool visible) override;
  std::optional<std::string> OpenFileDialog(const std::string& folder,
                                            const std::string& filter) override;
  std::optional<std::string> SaveFileDialog(const std::string& folder, const std::string& filter,
                                            const std::string& presetName) override;
  void CopyCanvasToClipboard() override;
  int WindowState() override;
  void SetStatusBarVisible(bool visible) override;
  void SetMenuVisible(MenuCommand menu, bool visible) override;
  bool PrintWindow() override;
  std::string ExportPicture(const std::string& path) override;
  std::pair<int, int> MakeFolderBitmaps(const std::string& folder, bool thumbnail) override;
  void PlaceWindowCopy(int widthTwips, int heightTwips) override;
  void StartProgramCopy(const std::string& figurePath) override;
  // Prints the window onto a printer already set up (the print dialog's choice, or a PDF file
  // in tests). False when the printer cannot be painted on.
  bool PrintWindowOn(QPrinter& printer);
  // The canvas as it is now, at its size.
  QImage CanvasPicture();
  std::optional<Rgb> ChooseColour(Rgb initial) override;
  Rgb ButtonFaceColour() override;
  void PopupObjectMenu() override;
  void ShowTextWindow(std::string_view title, std::string_view text) override;
  void TextViewerChanged() override;
  // The data viewer window, made when first needed (null before).
  TextViewer* textViewer() const { return textViewer_; }
  void ShowAbout() override;
  void Quit() override;
  Answer AskYesNoCancel(std::string_view text, std::string_view title, std::string_view yesCaption,
                        std::string_view noCaption, std::string_view cancelCaption) override;
  LanguageChoice ChooseLanguage(Language current, std::string_view fontFamily) override;
  std::optional<std::string> ChooseFont(std::string_view current) override;
  void ApplyInterfaceFont(std::string_view family) override;
  void ShowDialog(DialogModel& dialog) override;
  void DialogEnded() override;
  void SetDragPointer(bool sizeAll) override;
  // The session's open dialog as shown, or null.
  ModelDialog* OpenModelDialog() const { return modelDialog_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void OnCommand(MenuCommand cmd);
  bool TopMenuEnabledFor(MenuCommand cmd) const;
  void ApplyTopMenuEnabling();
  void Recaption();
  // F10: the first menu of the bar that can be used now opens, as Alt then Down would.
  void OpenMenuBar();
  // The file could not be shown: the handler did not start, or (handlerStarted) it started
  // and then reported failure.
  void ReportOpenFailure(const std::string& path, bool handlerStarted);

  Session session_;
  CanvasWidget* canvas_ = nullptr;
  KVStatus1* status_ = nullptr;
  QTimer replayTimer_;
  QtTranslations qtTranslations_;
  // The menu bar's actions and submenus by command (null where an item has none).
  std::array<QAction*, kMenuCommandCount> actions_{};
  std::array<QMenu*, kMenuCommandCount> menus_{};
  bool quitting_ = false;
  TextViewer* textViewer_ = nullptr;
  ModelDialog* modelDialog_ = nullptr;
  DesktopOpener* desktopOpener_ = nullptr;
};

}  // namespace kv
