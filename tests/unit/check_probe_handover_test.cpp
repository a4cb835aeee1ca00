// What a probe keeps of a long answer: a media body's first bytes only (the
// rest waits in the kernel and reaches the engine whole), and a master
// playlist read across many reads, its last variant included.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <future>
#include <optional>

#include "check/connection_probe.h"
#include "event_loop_wait.h"

namespace {

// Answers every request with one head and body, sent at once.
class OneAnswerServer {
 public:
  OneAnswerServer(const QByteArray& type, const QByteArray& body) {
    m_server.listen(QHostAddress::LocalHost);
    QObject::connect(&m_server, &QTcpServer::newConnection, [this, type, body] {
      QTcpSocket* socket = m_server.nextPendingConnection();
      QObject::connect(socket, &QTcpSocket::readyRead, [socket, type, body] {
        if (!socket->readAll().contains("\r\n\r\n")) return;
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + type +
                      "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
      });
    });
  }
  QString url(const char* path) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path);
  }

 private:
  QTcpServer m_server;
};

check::ProbeResult probe(const QString& address) {
  check::ConnectionProber prober;
  std::optional<check::ProbeResult> result;
  prober.probe(address, 5000, [&result](const check::ProbeResult& r) { result = r; });
  waitUntil([&result] { return result.has_value(); }, 10000);
  return result.value_or(check::ProbeResult{});
}

QByteArray readToEnd(HeldStream& stream) {
  QByteArray all;
  char buffer[64 * 1024];
  for (qint64 n; (n = stream.read(buffer, sizeof buffer)) > 0;) all.append(buffer, n);
  return all;
}

}  // namespace

TEST(ProbeHandover, AWaitingStationHoldsTheFirstBytesAndTheEngineGetsTheWholeBody) {
  QByteArray body(2 * 1024 * 1024, Qt::Uninitialized);
  for (int i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 31 + i / 4093);
  OneAnswerServer server("audio/mpeg", body);
  const check::ProbeResult result = probe(server.url("long.mp3"));
  ASSERT_EQ(result.reach, check::ProbeResult::Answered);
  ASSERT_TRUE(result.held);
  EXPECT_LE(result.held->received(), 64 * 1024);
  // The engine reads in its own thread while the server goes on sending.
  auto rest = std::async(std::launch::async, [&] { return readToEnd(*result.held); });
  waitUntil([&rest] { return rest.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            10000);
  ASSERT_EQ(rest.wait_for(std::chrono::seconds(0)), std::future_status::ready);
  EXPECT_TRUE(rest.get() == body);
}

TEST(ProbeHandover, AMasterPlaylistLongerThanOneReadKeepsItsLastVariant) {
  QByteArray playlist = "#EXTM3U\n";
  for (int i = 0; playlist.size() < 40 * 1024; ++i)
    playlist += "#EXT-X-STREAM-INF:BANDWIDTH=" + QByteArray::number(100000 + i) +
                "\nv" + QByteArray::number(i) + ".m3u8\n";
  const QByteArray last = playlist.mid(playlist.lastIndexOf("\nv") + 1).trimmed();
  OneAnswerServer server("application/vnd.apple.mpegurl", playlist);
  const check::ProbeResult result = probe(server.url("index.m3u8"));
  ASSERT_EQ(result.body, check::BodyKind::MasterPlaylist);
  EXPECT_TRUE(result.variants.last().endsWith(QString::fromLatin1(last)))
      << result.variants.last().toStdString();
}
