#include "gui/widgets/single_instance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include "platform/paths.h"

namespace veltrix::gui {

namespace {
constexpr char kRaiseRequest[] = "raise\n";
}

QString InstanceServerName(const QString& programFolder) {
    // The socket file lives in the shared temporary folder: a hash keeps the
    // name short whatever the folder's path, the user id keeps users apart.
    const QByteArray folder = QDir(programFolder).canonicalPath().toUtf8();
    const QByteArray hash =
        QCryptographicHash::hash(folder.isEmpty() ? programFolder.toUtf8() : folder, QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return QStringLiteral("veltrix-%1-%2").arg(QString::fromStdString(platform::CurrentUserKey())).arg(QString::fromLatin1(hash));
}

RaiseServer::RaiseServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("raise")) emit raiseRequested();
            });
        }
    });
}

bool RaiseServer::listen(const QString& name) {
    QLocalServer::removeServer(name);
    return !server_->listen(name);
}

bool AskRunningCopyToRaise(const QString& name, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return true;
    socket.write(kRaiseRequest);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return !sent;
}

void BringToFront(QWidget* window) {
    if (!window) return;
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
    // An open modal dialog (the import window) must stay above its owner.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window) {
        modal->raise();
        modal->activateWindow();
    }
}

}  // namespace veltrix::gui
