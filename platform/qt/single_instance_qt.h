#pragma once
#include <QObject>
#include <QString>

#include "platform/single_instance.h"

class QLocalServer;
class QLocalSocket;

namespace zt {

// The channel between starts of the program: a local socket under a name
// of the user's own. The primary listens on it; later starts connect, send
// one line and close.
class QtSingleInstance : public QObject, public SingleInstance {
    Q_OBJECT
public:
    explicit QtSingleInstance(QString name = DefaultName(), QObject* parent = nullptr);
    // One name per user, so that users of one machine do not meet.
    static QString DefaultName();

    bool BecomePrimary() override;
    bool Send(const InstanceMessage& message) override;

private:
    bool SomeoneListens() const;
    void Accept();
    void Read(QLocalSocket* socket);

    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace zt
