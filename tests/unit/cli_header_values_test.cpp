// Values that go into request headers, whichever way they come in: a
// station's header, --user-agent or the settings file; and what the prober
// sends of them.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

#include "base/header_value.h"
#include "base/user_agent.h"
#include "check/connection_probe.h"
#include "cli/command_line.h"
#include "event_loop_wait.h"
#include "playlists/station_address.h"

// A control character other than tab keeps a value out of every request;
// anything else, Chinese text included, is sent as it is.
TEST(HeaderValues, EveryWayInRefusesTheSameValues) {
  const struct {
    QString value;
    bool safe;
  } cases[] = {
      {"Box/1.0 (X11; Linux)", true},
      {"盒子 1.0", true},
      {"Box\t1.0", true},
      {"Box\r\nX-Injected: 1", false},
      {"Box\nX", false},
      {"Box\rX", false},
      {QStringLiteral("Box") + QChar(0) + u'X', false},
      {"Box\vX", false},
      {"Box\fX", false},
      {"Box\x1b[2JX", false},
      {"Box\x7fX", false},
      {"Box\x1fX", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.toStdString());
    const QByteArray utf8 = c.value.toUtf8();
    EXPECT_EQ(headervalue::isSafe(utf8), c.safe);
    EXPECT_EQ(useragent::orDefault(c.value), c.safe ? utf8 : QByteArray(useragent::kDefault));
    const auto line = cli::parseCommandLine({"check", "a", "--user-agent", c.value});
    EXPECT_EQ(std::holds_alternative<cli::CommandLine>(line), c.safe);
    const auto address = playlists::StationAddress::parse(
        "http://h/a|User-Agent=" + QString::fromLatin1(utf8.toPercentEncoding()));
    EXPECT_EQ(address.header("User-Agent"), c.safe ? utf8 : QByteArray());
  }
}

namespace {

// The header lines of the one request the prober sends for a station on
// 127.0.0.1 with the given "|" suffix; the server answers 404 and closes.
QByteArrayList probeRequestHeaders(const QString& suffix, quint16* port) {
  QTcpServer server;
  if (!server.listen(QHostAddress::LocalHost)) return {"<cannot listen>"};
  *port = server.serverPort();
  QByteArray head;
  QObject::connect(&server, &QTcpServer::newConnection, [&server, &head] {
    QTcpSocket* socket = server.nextPendingConnection();
    QObject::connect(socket, &QTcpSocket::readyRead, [&head, socket] {
      head += socket->readAll();
      if (!head.contains("\r\n\r\n")) return;
      socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
      socket->disconnectFromHost();
    });
  });
  check::ConnectionProber prober;
  prober.setUserAgent("Default/1.0");
  bool done = false;
  prober.probe(QStringLiteral("http://127.0.0.1:%1/live|%2").arg(*port).arg(suffix), 5000,
               [&done](const check::ProbeResult&) { done = true; });
  if (!waitUntil([&done] { return done; }, 10000)) return {"<no result>"};
  QByteArrayList lines = head.left(head.indexOf("\r\n\r\n")).split('\n');
  for (QByteArray& line : lines) line = line.trimmed();
  return lines.mid(1);
}

}  // namespace

// A station's header replaces the default instead of going out beside it,
// each goes out once, and the headers that frame the request are the
// prober's own.
TEST(HeaderValues, TheProbeSendsEachHeaderOnceAndFramesTheRequestItself) {
  const struct {
    QString suffix;
    QByteArrayList own;  // between Host and Accept
  } cases[] = {
      {"", {"User-Agent: Default/1.0"}},
      {"User-Agent=Box%201.0", {"User-Agent: Box 1.0"}},
      {"user-agent=Box&User-Agent=Other", {"user-agent: Box"}},
      {"User-Agent=&Referer=http://p/", {"User-Agent: Default/1.0", "Referer: http://p/"}},
      {"Host=evil.example&Connection=keep-alive&Content-Length=5&Transfer-Encoding=chunked"
       "&Referer=http://p/",
       {"User-Agent: Default/1.0", "Referer: http://p/"}},
      {"Referer=http://p/%0B&X-A=1", {"User-Agent: Default/1.0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.suffix.toStdString());
    quint16 port = 0;
    const QByteArrayList sent = probeRequestHeaders(c.suffix, &port);
    const QByteArrayList expected = QByteArrayList{"Host: 127.0.0.1:" + QByteArray::number(port)} +
                                    c.own +
                                    QByteArrayList{"Accept: */*", "Icy-MetaData: 0",
                                                   "Connection: close"};
    EXPECT_EQ(sent.join('\n').toStdString(), expected.join('\n').toStdString());
  }
}
