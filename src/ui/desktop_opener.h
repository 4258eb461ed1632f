// Hands files and pages to the desktop's handler. On Linux desktops the handler (xdg-open)
// starts at once and tells only afterwards, by its exit status, that nothing could show the
// file; the opener watches it for a while so that such a failure reaches the user.
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

namespace kv {

class DesktopOpener : public QObject {
  Q_OBJECT

 public:
  explicit DesktopOpener(QObject* parent = nullptr);
  ~DesktopOpener() override;

  // The handler program, given the file or URL as its one argument. Empty: Qt's desktop
  // services, which report only whether the request could be made.
  QString program;
  // A failing exit later than this after the start is not taken as the handler's answer: by
  // then it is the exit of a browser the handler ran in its place.
  int watchMs = 20000;
  // Told the file (or URL) when the handler ended in failure after it had started.
  std::function<void(const QString&)> failed;

  // False when the handler could not be started at all.
  bool Open(const QUrl& url);
};

}  // namespace kv
