#include "platform/qt/single_instance_qt.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace zt {
namespace {

constexpr int kWaitMs = 1000;
// The longest line a sender has any business sending.
constexpr qint64 kMaxLine = 64;

}  // namespace

QtSingleInstance::QtSingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

QString QtSingleInstance::DefaultName()
{
    return QStringLiteral("zentabular-%1").arg(::getuid());
}

bool QtSingleInstance::SomeoneListens() const
{
    QLocalSocket probe;
    probe.connectToServer(name_);
    return probe.waitForConnected(kWaitMs);
}

bool QtSingleInstance::BecomePrimary()
{
    if (server_)
        return true;
    if (SomeoneListens())
        return false;
    // No one answers: a socket left behind by a crashed instance would make
    // listening fail.
    QLocalServer::removeServer(name_);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name_)) {
        delete server;
        // Another start may have taken the name in between; if not, this
        // instance runs on without hearing later ones.
        return !SomeoneListens();
    }
    connect(server, &QLocalServer::newConnection, this, &QtSingleInstance::Accept);
    server_ = server;
    return true;
}

bool QtSingleInstance::Send(const InstanceMessage& message)
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    QByteArray line = QByteArray::fromStdString(FormatInstanceMessage(message)) + '\n';
    bool sent = socket.write(line) == line.size() && (socket.flush() || socket.waitForBytesWritten(kWaitMs));
    socket.disconnectFromServer();
    return sent;
}

void QtSingleInstance::Accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        Read(socket);
    }
}

void QtSingleInstance::Read(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        QByteArray line = socket->readLine(kMaxLine);
        if (!line.endsWith('\n')) {
            socket->abort();
            return;
        }
        line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        Dispatch(std::string_view(line.constData(), static_cast<size_t>(line.size())));
    }
    if (socket->bytesAvailable() > kMaxLine)
        socket->abort();
}

}  // namespace zt
