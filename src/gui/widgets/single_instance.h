#pragma once
// The running copy brought to the front by a second copy: the first copy
// listens on a local socket named after its program folder, a second copy
// connects, asks for the raise and ends.
#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace veltrix::gui {

// One name per program folder and user.
QString InstanceServerName(const QString& programFolder);

class RaiseServer final : public QObject {
    Q_OBJECT
public:
    explicit RaiseServer(QObject* parent = nullptr);
    // Listens on name. Call only while holding the single-copy lock: a socket
    // left by a copy that crashed is removed first. True on failure.
    bool listen(const QString& name);

signals:
    void raiseRequested();

private:
    QLocalServer* server_;
};

// Asks the copy listening on name to raise its main window. True on failure
// (nobody listening, or no answer within timeoutMs).
bool AskRunningCopyToRaise(const QString& name, int timeoutMs = 2000);

// Shows window (restored when minimised), raises and activates it, and the
// modal dialog open over it if there is one.
void BringToFront(QWidget* window);

}  // namespace veltrix::gui
