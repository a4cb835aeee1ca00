// nettv check on 127.0.0.1: the speed a station's server delivers against
// the stream's own bitrate, for servers slower and faster than the stream,
// as shown and as kept in the health history.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli/commands.h"
#include "cli_capture.h"
#include "history/health_db.h"
#include "history/line_key.h"
#include "local_http_server.h"
#include "media_fixtures.h"
#include "temp_files.h"

using namespace cli;

namespace {

constexpr int kKeyedSeconds = 4;

class CheckSpeed : public MediaServerTest {
 protected:
  // H.264 and AAC with a key frame every half second: mpv measures a live
  // stream's video bitrate from key frame to key frame.
  QByteArray keyedVideo() {
    const QString path = dir.filePath("keyed.ts");
    if (!makeMedia(path, {"-f", "lavfi", "-i", "testsrc=size=640x360:rate=25", "-f", "lavfi", "-i",
                          "sine=frequency=440", "-t", QString::number(kKeyedSeconds), "-c:v",
                          "libx264", "-preset", "veryfast", "-g", "12", "-c:a", "aac", "-f",
                          "mpegts"}))
      return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir dir;
};

}  // namespace

TEST_F(CheckSpeed, ASlowServerDeliversLessThanTheBitrateAFastOneMore) {
  const QByteArray keyed = keyedVideo();
  ASSERT_FALSE(keyed.isEmpty());
  const int keyedBytesPerSecond = static_cast<int>(keyed.size() / kKeyedSeconds);
  // live.mp3 is 32 kb/s: 2500 bytes a second are 20 kb/s.
  server.addLive("/slow.mp3", MediaFixtures::instance().bytes("live.mp3"), "audio/mpeg", 2500);
  server.addLive("/slow.ts", keyed, "video/mp2t", keyedBytesPerSecond / 3);
  // video.ts: 3 s of H.264 and AAC, whose bitrate is the file's average.
  const qint64 videoBitrate = MediaFixtures::instance().bytes("video.ts").size() * 8 / 3;
  const struct {
    const char* name;
    const char* path;
    bool slower;
    qint64 bitrate;  // 0: not asserted
  } cases[] = {
      {"slow-mp3", "/slow.mp3", true, 32000},
      {"fast-mp3", "/media/tone.mp3", false, 32000},
      {"fast-video", "/media/video.ts", false, videoBitrate},
      {"slow-video", "/slow.ts", true, 0},
  };
  QString list;
  for (const auto& c : cases) list += QStringLiteral("%1,%2\n").arg(c.name, server.url(c.path));
  CommandLine check;
  check.command = Command::Check;
  check.files = {writeFile(dir, "list.txt", list.toUtf8())};
  check.jobs = 4;
  check.timeoutSeconds = 15;
  // Long enough for a key frame or two of the slow video.
  check.minPlaySeconds = 2;
  check.json = true;
  ConsoleCapture capture;
  ASSERT_EQ(runCheck(check, dir.path(), capture.console), kExitDone) << capture.errText().toStdString();

  QHash<QString, QJsonObject> byName;
  for (const QString& line : capture.outLines()) {
    const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
    byName.insert(o.value("name").toString(), o);
  }
  history::HealthDb history;
  ASSERT_TRUE(history.open(dir.path()).ok);
  for (const auto& c : cases) {
    const QJsonObject o = byName.value(c.name);
    const qint64 bitrate = o.value("bitrate").toInteger();
    const qint64 speed = o.value("download_speed").toInteger();
    ASSERT_GT(bitrate, 0) << c.name;
    ASSERT_GT(speed, 0) << c.name;
    if (c.slower) {
      EXPECT_LT(speed, bitrate) << c.name;
    } else {
      EXPECT_GT(speed, bitrate) << c.name;
    }
    // The whole stream's: the video with the sound, not the sound alone.
    if (c.bitrate > 0) {
      EXPECT_NEAR(bitrate, c.bitrate, c.bitrate / 10) << c.name;
    }
    const QList<history::LineVerdict> kept = history.verdicts(history::lineKey(server.url(c.path)));
    ASSERT_FALSE(kept.isEmpty()) << c.name;
    EXPECT_EQ(kept.last().downloadSpeed, speed) << c.name;
  }
}
