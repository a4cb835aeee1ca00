// nettv check when eventfd() fails (no file descriptor left): a probe's
// connection that no read could be woken from is never handed to the
// engine, so a station that stops sending cannot hold the check up.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>

#include "cli/commands.h"
#include "cli_capture.h"
#include "local_http_server.h"
#include "media_fixtures.h"
#include "temp_files.h"

namespace {
std::atomic<bool> eventfdFails{false};
}  // namespace

// Takes the place of the C library's for the whole test program; Qt, GLib
// and the engine fall back to pipes of their own.
extern "C" int eventfd(unsigned int count, int flags) {
  if (eventfdFails) {
    errno = EMFILE;
    return -1;
  }
  return static_cast<int>(syscall(SYS_eventfd2, count, flags));
}

using namespace cli;

TEST(CheckWithoutEventfd, AStationThatStopsSendingStillGetsItsVerdict) {
  ASSERT_TRUE(MediaFixtures::instance().ok());
  const QByteArray live = MediaFixtures::instance().bytes("live.mp3");
  constexpr int kStallMs = 60000;
  LocalHttpServer server;
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
  ASSERT_TRUE(server.start());
  QTemporaryDir dir;
  const QString list = writeFile(
      dir, "list.txt",
      QStringLiteral("plays,%1\nstops,%2\n").arg(server.url("/plays.mp3"), server.url("/stops.mp3")).toUtf8());
  CommandLine c;
  c.command = Command::Check;
  c.files = {list};
  c.jobs = 2;
  c.timeoutSeconds = 4;
  c.json = true;
  ConsoleCapture capture;
  QElapsedTimer clock;
  clock.start();
  eventfdFails = true;
  runCheck(c, dir.path(), capture.console);
  eventfdFails = false;
  // Held, the stopped station's read would wait for the server's close.
  EXPECT_LT(clock.elapsed(), kStallMs / 2);
  QHash<QString, QString> verdicts;
  for (const QString& line : capture.outLines()) {
    const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
    verdicts.insert(o.value("name").toString(), o.value("verdict").toString());
  }
  EXPECT_EQ(verdicts.value("plays"), "playing");
  EXPECT_EQ(verdicts.value("stops"), "failed");
  // Nothing was held: the engines asked the servers themselves.
  EXPECT_EQ(server.requests().count("/plays.mp3"), 2);
  EXPECT_EQ(server.requests().count("/stops.mp3"), 2);
}
