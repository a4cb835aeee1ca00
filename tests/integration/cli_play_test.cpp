// nettv play on the real engine against servers on 127.0.0.1: a channel whose
// lines die, go black and play, one whose lines all fail, and an address
// played as it is. Small --stall and --bad values keep the runs short.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli/commands.h"
#include "cli/console.h"
#include "channel_media.h"
#include "cli_capture.h"
#include "local_http_server.h"
#include "media_fixtures.h"
#include "temp_files.h"

using namespace cli;

namespace {

// A console whose output lines are stamped with the time they were printed.
class TimedOutput : public QIODevice {
 public:
  TimedOutput() {
    open(QIODevice::WriteOnly);
    m_clock.start();
  }
  struct Line {
    qint64 ms;
    QJsonObject json;
  };
  QList<Line> lines;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    m_pending += QByteArray(data, size);
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
      lines.append({m_clock.elapsed(), QJsonDocument::fromJson(m_pending.left(end)).object()});
      m_pending.remove(0, end + 1);
    }
    return size;
  }

 private:
  QElapsedTimer m_clock;
  QByteArray m_pending;
};

class CliPlay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(MediaFixtures::instance().ok());
    ASSERT_TRUE(ChannelMedia::instance().ok);
  }
  void SetUp() override {
    MediaFixtures::instance().serve(server);
    ASSERT_TRUE(server.start());
    err.open(QIODevice::ReadWrite);
  }

  // Plays the channel CCTV-1 of a list of these addresses, each under the
  // next of a few names of the channel, with another channel between, with
  // JSON output, no sound device, and the given options.
  int play(const QStringList& addresses, const QStringList& options) {
    const QStringList names = {"CCTV-1", "CCTV1 HD", "中央一台", "cctv 1"};
    QString list = QStringLiteral("CCTV-2,%1\r\n").arg(server.url("/media/long.mp3"));
    for (int i = 0; i < addresses.size(); ++i)
      list += QStringLiteral("%1,%2\r\n").arg(names.at(i % names.size()), addresses.at(i));
    const QString file = writeFile(dir, QStringLiteral("channels.txt"), list.toUtf8());
    const auto parsed = parseCommandLine(
        QStringList{"play", "cctv1", "--list", file, "--json", "--ao", "null"} + options);
    const CommandLine c = std::get<CommandLine>(parsed);
    return runPlay(c, dir.path(), console);
  }

  // "kind line/lines reason" of every event printed.
  QStringList events() const {
    QStringList out;
    for (const TimedOutput::Line& l : output.lines)
      out << QStringLiteral("%1 %2/%3 %4")
                 .arg(l.json.value("event").toString())
                 .arg(l.json.value("line").toInt())
                 .arg(l.json.value("lines").toInt())
                 .arg(l.json.value("reason").toString())
                 .trimmed();
    return out;
  }

  qint64 msAt(const QString& event) const {
    for (int i = 0; i < output.lines.size(); ++i)
      if (events().at(i) == event) return output.lines[i].ms;
    return -1;
  }

  LocalHttpServer server;
  QTemporaryDir dir;
  TimedOutput output;
  QBuffer err;
  Console console{output, err, false, false};
};

TEST_F(CliPlay, MovesFromADyingLineAndABlackLineToOneThatPlays) {
  // About 3 s of sound, then the server sends nothing more.
  LocalHttpServer::Route dying;
  dying.body = ChannelMedia::instance().bytes("tone.mp3");
  dying.contentType = "audio/mpeg";
  dying.stallAfterBytes = 12500;
  dying.stallMs = 60000;
  server.addRoute("/dying.mp3", dying);
  server.addFile("/black.ts", ChannelMedia::instance().bytes("black.ts"), "video/mp2t");
  server.addFile("/good.mp3", ChannelMedia::instance().bytes("tone.mp3"), "audio/mpeg");

  const int stall = 2, bad = 3;
  const int code = play({server.url("/dying.mp3"), server.url("/black.ts"), server.url("/good.mp3")},
                        {"--stall", QString::number(stall), "--bad", QString::number(bad),
                         "--for", "5"});
  EXPECT_EQ(code, kExitDone) << err.data().toStdString();
  EXPECT_EQ(events(), (QStringList{"chosen 1/3", "started 1/3", "stalled 1/3 stalled",
                                   "switched 2/3 stalled", "started 2/3", "flagged 2/3 flagged",
                                   "switched 3/3 flagged", "started 3/3"}));
  const qint64 onLineThree = msAt("started 3/3");
  EXPECT_GT(onLineThree, (stall + bad) * 1000);
  EXPECT_LT(onLineThree, (stall + bad + 5) * 1000);
}

TEST_F(CliPlay, StopsOnceWhenEveryLineFailed) {
  const QString refused = QStringLiteral("http://127.0.0.1:%1/live").arg(LocalHttpServer::refusedPort());
  server.addStatus("/locked.mp3", 403);
  const int code = play({refused, server.url("/missing.mp3"), server.url("/locked.mp3"),
                         server.url("/media/bad.bin")},
                        {});
  EXPECT_EQ(code, kExitSomeFailed);
  EXPECT_EQ(events(), (QStringList{"chosen 1/4", "failed 1/4 refused", "switched 2/4 refused",
                                   "failed 2/4 not_found", "switched 3/4 not_found",
                                   "failed 3/4 forbidden", "switched 4/4 forbidden",
                                   "failed 4/4 bad_media", "gave_up 4/4 bad_media"}));
  EXPECT_EQ(output.lines[3].json.value("http_status").toInt(), 404);
  EXPECT_EQ(output.lines[5].json.value("http_status").toInt(), 403);
}

TEST_F(CliPlay, PlaysAnAddressAsItIs) {
  ConsoleCapture text;
  const auto parsed = parseCommandLine(
      {"play", server.url("/media/long.mp3"), "--ao", "null", "--no-video", "--for", "1"});
  EXPECT_EQ(runPlay(std::get<CommandLine>(parsed), dir.path(), text.console), kExitDone);
  EXPECT_EQ(text.outLines(), (QStringList{"线路 1/1  " + server.url("/media/long.mp3"),
                                          "线路 1/1 开始播放  " + server.url("/media/long.mp3")}));
}

}  // namespace
