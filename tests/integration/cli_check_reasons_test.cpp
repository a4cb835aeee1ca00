// nettv check on the real engine against servers on 127.0.0.1 made for each
// verdict: every failure reason, the evidence of real audio and video, the
// silent and black flags, a master playlist whose first variant is dead, a
// server that fails once, servers slow to answer, an engine that cannot
// start, and no eventfd to be had.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>

#include "temp_files.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "fresh_check.h"
#include "fake_check_player.h"
#include "local_http_server.h"
#include "media_fixtures.h"

using namespace cli;

namespace {
std::atomic<bool> eventfdFails{false};
}  // namespace

// Takes the place of the C library's for the whole test program, failing
// while eventfdFails holds as it does with no file descriptor left; Qt, GLib
// and the engine fall back to pipes of their own.
extern "C" int eventfd(unsigned int count, int flags) {
  if (eventfdFails) {
    errno = EMFILE;
    return -1;
  }
  return static_cast<int>(syscall(SYS_eventfd2, count, flags));
}

namespace {

// Media this test needs besides the shared fixtures, made once.
class CheckMedia {
 public:
  static const CheckMedia& instance() {
    static const CheckMedia media;
    return media;
  }
  bool ok() const { return m_ok; }
  QByteArray bytes(const QString& name) const {
    QFile f(m_dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

 private:
  CheckMedia() {
    const QStringList mp3{"-c:a", "libmp3lame", "-b:a", "32k"};
    const QStringList ts{"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "mpegts"};
    // Noisy, so larger than the start the engine keeps: its index is asked for apart.
    const QStringList movie{"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25,noise=alls=40:allf=t",
                            "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=22050", "-t", "4"};
    const QStringList mp4{"-c:v", "libx264", "-preset", "veryfast", "-b:v", "1500k", "-c:a",
                          "aac"};
    m_ok = make("silent.mp3", {"-f", "lavfi", "-i", "anullsrc=r=22050:cl=mono", "-t", "3"}, mp3) &&
           make("video.ts",
                {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=15", "-f", "lavfi", "-i",
                 "sine=frequency=440:sample_rate=22050", "-t", "3"},
                ts) &&
           make("black.ts",
                {"-f", "lavfi", "-i", "color=black:size=320x240:rate=15", "-f", "lavfi", "-i",
                 "sine=frequency=440:sample_rate=22050", "-t", "3"},
                ts) &&
           make("still.png", {"-f", "lavfi", "-i", "testsrc=size=160x120", "-frames:v", "1"}, {}) &&
           // No tag at its start: the engine looks for one at its end.
           make("bare.mp3", {"-f", "lavfi", "-i", "sine=frequency=440:duration=3"},
                mp3 + QStringList{"-id3v2_version", "0", "-write_xing", "0"}) &&
           // Its index before the media, and after it (ffmpeg's default): the
           // engine reads the end first, then the media from the start.
           make("front.mp4", movie, mp4 + QStringList{"-movflags", "+faststart"}) &&
           make("end.mp4", movie, mp4);
  }
  bool make(const QString& name, const QStringList& input, const QStringList& output) {
    return makeMedia(m_dir.filePath(name), input + output);
  }

  QTemporaryDir m_dir;
  bool m_ok = false;
};

QByteArray mediaPlaylist(const QStringList& segments) {
  QByteArray text = "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:1\n";
  for (const QString& s : segments) text += "#EXTINF:1.0,\n" + s.toUtf8() + "\n";
  return text + "#EXT-X-ENDLIST\n";
}

// Bytes that are no media, the same in every run.
QByteArray noise(int size) {
  QRandomGenerator random(17);
  QByteArray bytes(size, Qt::Uninitialized);
  random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
  return bytes;
}

class CheckReasons : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(MediaFixtures::instance().ok());
    ASSERT_TRUE(CheckMedia::instance().ok());
  }
  void SetUp() override {
    MediaFixtures::instance().serve(server);
    ASSERT_TRUE(server.start());
  }

  QString url(const QString& path) const { return server.url(path); }

  QString writeList(const QList<std::pair<QString, QString>>& stations) {
    QString text = QStringLiteral("#EXTM3U\n");
    for (const auto& [name, address] : stations)
      text += QStringLiteral("#EXTINF:-1,%1\n%2\n").arg(name, address);
    return writeFile(dir, "list.m3u", text.toUtf8());
  }

  CommandLine check(const QString& list) const {
    CommandLine c = freshCheck({list}, 6, 4);
    c.json = true;
    return c;
  }

  // The JSON line of each station, by name.
  static QHash<QString, QJsonObject> byName(const ConsoleCapture& capture) {
    QHash<QString, QJsonObject> out;
    for (const QString& line : capture.outLines()) {
      const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
      out.insert(o.value("name").toString(), o);
    }
    return out;
  }

  LocalHttpServer server;
  QTemporaryDir dir;
};

}  // namespace

TEST_F(CheckReasons, EachReasonOnAServerMadeForIt) {
  const QByteArray tone = MediaFixtures::instance().bytes("tone.mp3");
  server.addStatus("/gone.mp3", 404);
  server.addStatus("/geo.mp3", 403);
  server.addStatus("/broken.mp3", 503);
  server.addFile("/page.mp3", "<!DOCTYPE html><html><body>Welcome</body></html>", "text/html");
  server.addFile("/junk.mp3", QByteArray(4000, '\x01') + QByteArray(4000, '\xfe'), "audio/mpeg");
  server.addFile("/picture.mp3", CheckMedia::instance().bytes("still.png"), "audio/mpeg");
  server.addFile("/empty/index.m3u8", mediaPlaylist({"a.ts", "b.ts", "c.ts"}),
                 "application/vnd.apple.mpegurl");
  server.addHanging("/hang.mp3");
  // Bytes all the time, none of them sound.
  server.addLive("/noise.mp3", noise(64 * 1024), "audio/mpeg", 32000);
  // A quarter of a second of sound, then the server closes.
  server.addFile("/short.mp3", tone.left(1000), "audio/mpeg");
  server.addRedirect("/moved.mp3", url("/geo.mp3"));
  const QString refused =
      QStringLiteral("http://127.0.0.1:%1/x.mp3").arg(LocalHttpServer::refusedPort());
  const struct {
    const char* name;
    QString address;
    const char* reason;
    int status;
  } cases[] = {
      {"refused", refused, "refused", 0},
      {"not_found", url("/gone.mp3"), "not_found", 404},
      {"forbidden", url("/geo.mp3"), "forbidden", 403},
      {"forbidden_after_redirect", url("/moved.mp3"), "forbidden", 403},
      {"server_error", url("/broken.mp3"), "server_error", 503},
      {"not_media", url("/page.mp3"), "not_media", 200},
      {"bad_media", url("/junk.mp3"), "bad_media", 200},
      {"still_image", url("/picture.mp3"), "bad_media", 200},
      {"no_segments", url("/empty/index.m3u8"), "no_segments", 200},
      {"timed_out", url("/hang.mp3"), "timed_out", 0},
      {"undecodable_stream", url("/noise.mp3"), "bad_media", 200},
      {"dropped", url("/short.mp3"), "dropped", 200},
  };
  QList<std::pair<QString, QString>> stations;
  for (const auto& c : cases) stations.append({c.name, c.address});
  ConsoleCapture capture;
  EXPECT_EQ(runCheck(check(writeList(stations)), dir.path(), capture.console), kExitSomeFailed);
  const auto results = byName(capture);
  for (const auto& c : cases) {
    const QJsonObject o = results.value(c.name);
    EXPECT_EQ(o.value("verdict").toString(), "failed") << c.name;
    EXPECT_EQ(o.value("reason").toString().toStdString(), c.reason) << c.name;
    EXPECT_EQ(o.value("http_status").toInt(), c.status) << c.name;
  }
  // The closing table counts each reason.
  EXPECT_TRUE(capture.errText().contains(QStringLiteral("         2  禁止访问")))
      << capture.errText().toStdString();
}

TEST_F(CheckReasons, EvidenceAndFlagsOfRealAudioAndVideo) {
  const CheckMedia& media = CheckMedia::instance();
  server.addFile("/silent.mp3", media.bytes("silent.mp3"), "audio/mpeg");
  server.addFile("/video.ts", media.bytes("video.ts"), "video/mp2t");
  server.addFile("/black.ts", media.bytes("black.ts"), "video/mp2t");
  server.addLive("/live.mp3", MediaFixtures::instance().bytes("live.mp3"), "audio/mpeg", 8000);
  ConsoleCapture capture;
  const QString list = writeList({{"tone", url("/media/tone.mp3")},
                                  {"silent", url("/silent.mp3")},
                                  {"video", url("/video.ts")},
                                  {"black", url("/black.ts")},
                                  {"live", url("/live.mp3")},
                                  {"hls", url("/media/hls/index.m3u8")}});
  EXPECT_EQ(runCheck(check(list), dir.path(), capture.console), kExitDone);
  const auto results = byName(capture);
  const struct {
    const char* name;
    const char* container;
    const char* video;
    int width;
    const char* audio;
    QStringList flags;
  } cases[] = {
      {"tone", "mp3", nullptr, 0, "mp3", {}},
      {"silent", "mp3", nullptr, 0, "mp3", {"silent"}},
      {"video", "mpegts", "mpeg2video", 320, "mp2", {}},
      {"black", "mpegts", "mpeg2video", 320, "mp2", {"black", "frozen"}},
      {"live", "mp3", nullptr, 0, "mp3", {}},
      {"hls", "hls", nullptr, 0, "aac", {}},
  };
  for (const auto& c : cases) {
    const QJsonObject o = results.value(c.name);
    EXPECT_EQ(o.value("verdict").toString(), "playing") << c.name;
    EXPECT_GT(o.value("seconds_to_media").toDouble(), 0) << c.name;
    EXPECT_TRUE(o.value("container").toString().contains(c.container)) << c.name;
    EXPECT_EQ(o.value("video_codec").toString(), c.video ? c.video : "") << c.name;
    EXPECT_EQ(o.value("width").toInt(), c.width) << c.name;
    EXPECT_EQ(o.value("audio_codec").toString(), c.audio) << c.name;
    QStringList flags;
    for (const QJsonValue& f : o.value("flags").toArray()) flags << f.toString();
    EXPECT_EQ(flags, c.flags) << c.name;
  }
  EXPECT_EQ(results.value("tone").value("bitrate").toInt(), 32000);
  EXPECT_EQ(results.value("video").value("height").toInt(), 240);

  // A strict check fails the flagged ones.
  ConsoleCapture strict;
  CommandLine c = check(list);
  c.strict = true;
  EXPECT_EQ(runCheck(c, dir.path(), strict.console), kExitSomeFailed);
  const auto strictResults = byName(strict);
  EXPECT_EQ(strictResults.value("silent").value("reason").toString(), "flagged");
  EXPECT_EQ(strictResults.value("black").value("reason").toString(), "flagged");
  EXPECT_EQ(strictResults.value("tone").value("verdict").toString(), "playing");
}

TEST_F(CheckReasons, AMasterPlaylistPlaysFromTheVariantThatWorks) {
  server.addFile("/dead/index.m3u8", mediaPlaylist({"a.ts", "b.ts", "c.ts"}),
                 "application/vnd.apple.mpegurl");
  server.addFile("/master.m3u8",
                 "#EXTM3U\n"
                 "#EXT-X-STREAM-INF:BANDWIDTH=800000\ndead/index.m3u8\n"
                 "#EXT-X-STREAM-INF:BANDWIDTH=64000\nmedia/hls/index.m3u8\n",
                 "application/vnd.apple.mpegurl");
  ConsoleCapture capture;
  EXPECT_EQ(runCheck(check(writeList({{"master", url("/master.m3u8")}})), dir.path(),
                     capture.console),
            kExitDone);
  const QJsonObject o = byName(capture).value("master");
  EXPECT_EQ(o.value("verdict").toString(), "playing");
  EXPECT_EQ(o.value("audio_codec").toString(), "aac");
}

TEST_F(CheckReasons, RetriesPassAServerThatFailsOnceAndMarkItFlaky) {
  LocalHttpServer::Route once;
  once.body = MediaFixtures::instance().bytes("tone.mp3");
  once.contentType = "audio/mpeg";
  once.failures = 1;
  server.addRoute("/once.mp3", once);
  const QString list = writeList({{"once", url("/once.mp3")}, {"tone", url("/media/tone.mp3")}});
  CommandLine c = check(list);
  c.retries = 1;
  ConsoleCapture capture;
  EXPECT_EQ(runCheck(c, dir.path(), capture.console), kExitDone);
  const auto results = byName(capture);
  EXPECT_EQ(results.value("once").value("verdict").toString(), "playing");
  EXPECT_TRUE(results.value("once").value("flaky").toBool());
  EXPECT_EQ(results.value("once").value("attempts").toInt(), 2);
  EXPECT_FALSE(results.value("tone").value("flaky").toBool());
}

TEST_F(CheckReasons, AnEngineThatCannotStartStopsTheCheckWithOneMessage) {
  QList<std::pair<QString, QString>> stations;
  for (int i = 0; i < 10; ++i) stations.append({QString::number(i), url("/media/tone.mp3")});
  FakeStreams broken;
  broken.startFails = true;
  ConsoleCapture capture;
  EXPECT_EQ(runCheck(check(writeList(stations)), dir.path(), capture.console,
                     fakeCheckPlayers(broken)),
            kExitBadInput);
  EXPECT_TRUE(capture.outLines().isEmpty());
  EXPECT_EQ(capture.errText().count("engine broken"), 1) << capture.errText().toStdString();
}

// A live stream whose server takes 3 s to answer plays within a 5 s limit:
// the engine reads on from the probe's connection, so the server is asked
// once (asked again, it would make the engine wait 3 s more, and a one-time
// token would be refused).
TEST_F(CheckReasons, ALiveStreamSlowToAnswerIsAskedOnceAndPlays) {
  const QByteArray live = MediaFixtures::instance().bytes("live.mp3");
  server.addLive("/slow.mp3", live, "audio/mpeg", 8000, 3000);
  CommandLine c = check(writeList({{"slow", url("/slow.mp3")}}));
  c.timeoutSeconds = 5;
  ConsoleCapture capture;
  EXPECT_EQ(runCheck(c, dir.path(), capture.console), kExitDone);
  EXPECT_EQ(byName(capture).value("slow").value("verdict").toString(), "playing");
  EXPECT_EQ(server.requests().count("/slow.mp3"), 1);
}

// The same for finite files, whose engine may read their end first: only
// the probe asks for the whole answer, and a look elsewhere asks for a range.
TEST_F(CheckReasons, FilesSlowToAnswerAreAskedOnceAndPlay) {
  const struct {
    const char* name;
    QByteArray body;
    const char* type;
    int delayMs;
    int ranges;  // asked for after the probe's answer
  } cases[] = {
      {"mp3", MediaFixtures::instance().bytes("long.mp3"), "audio/mpeg", 3000, 0},
      {"bare_mp3", CheckMedia::instance().bytes("bare.mp3"), "audio/mpeg", 3000, 0},
      {"front_mp4", CheckMedia::instance().bytes("front.mp4"), "video/mp4", 3000, 0},
      // Its index takes a second answer (twice 3 s would not fit); its start
      // is read again from what the probe's connection brought.
      {"end_mp4", CheckMedia::instance().bytes("end.mp4"), "video/mp4", 1000, 1},
  };
  QList<std::pair<QString, QString>> stations;
  for (const auto& c : cases) {
    const QString path = QStringLiteral("/%1").arg(c.name);
    server.addFile(path, c.body, c.type, c.delayMs);
    stations.append({c.name, url(path)});
  }
  CommandLine c = check(writeList(stations));
  c.timeoutSeconds = 5;
  ConsoleCapture capture;
  runCheck(c, dir.path(), capture.console);
  const auto results = byName(capture);
  for (const auto& c : cases) {
    const QString path = QStringLiteral("/%1").arg(c.name);
    EXPECT_EQ(results.value(c.name).value("verdict").toString(), "playing") << c.name;
    EXPECT_EQ(server.requests().count(path) - server.rangedRequests().count(path), 1) << c.name;
    EXPECT_EQ(server.rangedRequests().count(path), c.ranges) << c.name;
  }
}

// The one engine plays "first", then "stalls" (which waited for it, so its
// limit ends last); "drips" answers late and stops, so its probe uses up its
// whole limit meanwhile. It is judged once the engine frees: the check ends.
TEST_F(CheckReasons, AStationItsProbeLeftNoTimeStillEndsTheCheck) {
  server.addFile("/first.mp3", MediaFixtures::instance().bytes("tone.mp3"), "audio/mpeg", 500);
  LocalHttpServer::Route stalls;
  stalls.body = MediaFixtures::instance().bytes("long.mp3");
  stalls.contentType = "audio/mpeg";
  stalls.stallAfterBytes = 2000;
  stalls.stallMs = 20000;
  stalls.delayMs = 600;
  server.addRoute("/stalls.mp3", stalls);
  LocalHttpServer::Route drips = stalls;
  drips.stallAfterBytes = 100;
  drips.delayMs = 1000;
  server.addRoute("/drips.mp3", drips);
  CommandLine c = check(writeList(
      {{"first", url("/first.mp3")}, {"stalls", url("/stalls.mp3")}, {"drips", url("/drips.mp3")}}));
  c.jobs = 1;
  c.timeoutSeconds = 2;
  ConsoleCapture capture;
  EXPECT_EQ(runCheck(c, dir.path(), capture.console), kExitSomeFailed);
  EXPECT_EQ(byName(capture).value("drips").value("reason").toString(), "timed_out");
}

// Without an eventfd a held read could not be ended: nothing is held, and
// a station that stops sending cannot hold the check up.
TEST_F(CheckReasons, WithoutAnEventfdAStationThatStopsSendingStillGetsItsVerdict) {
  const QByteArray live = MediaFixtures::instance().bytes("live.mp3");
  constexpr int kStallMs = 60000;
  server.addLive("/plays.mp3", live, "audio/mpeg", 8000);
  // A third of a second of sound, then nothing until the server closes.
  LocalHttpServer::Route stops;
  stops.kind = LocalHttpServer::Route::Kind::Live;
  stops.body = live;
  stops.contentType = "audio/mpeg";
  stops.bytesPerSecond = 8000;
  stops.stallAfterBytes = 1500;
  stops.stallMs = kStallMs;
  server.addRoute("/stops.mp3", stops);
  CommandLine c = check(writeList({{"plays", url("/plays.mp3")}, {"stops", url("/stops.mp3")}}));
  ConsoleCapture capture;
  QElapsedTimer clock;
  clock.start();
  eventfdFails = true;
  runCheck(c, dir.path(), capture.console);
  eventfdFails = false;
  // Held, the stopped station's read would wait for the server's close.
  EXPECT_LT(clock.elapsed(), kStallMs / 2);
  const auto results = byName(capture);
  EXPECT_EQ(results.value("plays").value("verdict").toString(), "playing");
  EXPECT_EQ(results.value("stops").value("verdict").toString(), "failed");
  // The engines asked the servers themselves.
  EXPECT_EQ(server.requests().count("/plays.mp3"), 2);
  EXPECT_EQ(server.requests().count("/stops.mp3"), 2);
}
