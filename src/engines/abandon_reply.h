#pragma once

#include <QNetworkReply>
#include <QPointer>

// Lets the reply held in reply go: owner hears no more from it, its
// transfer ends, and it is deleted from the event loop. reply is null after.
inline void abandonReply(QPointer<QNetworkReply>& reply, QObject* owner) {
  if (!reply) return;
  QNetworkReply* gone = reply;
  reply = nullptr;
  gone->disconnect(owner);
  gone->abort();
  gone->deleteLater();
}
