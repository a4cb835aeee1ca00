// The subscription update against sources on 127.0.0.1 that misbehave: each
// ends with its reason within the limits, gives no local file and no line of
// another kind, and nothing an earlier fetch added is lost.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include "base/text_file.h"
#include "engines/subscription_update.h"
#include "event_loop_wait.h"
#include "library/subscription_list.h"
#include "local_http_server.h"
#include "plain_build.h"
#include "playlists/station_files.h"
#include "temp_files.h"
#include "thread_cpu_time.h"

namespace {

class SubscriptionUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.start()); }

  void subscribe(const QStringList& paths) {
    QString text = QStringLiteral("# 测试\n");
    for (const QString& path : paths) text += path.mid(1) + u',' + server.url(path) + u'\n';
    writeFile(dir, library::kSubscriptionFile, text.toUtf8());
  }

  // Runs an update to its end; false when it did not end in time.
  bool run(SubscriptionUpdate& update, int ms = 20'000) {
    QEventLoop loop;
    QObject::connect(&update, &SubscriptionUpdate::finished, &loop, [&] { loop.exit(1); });
    QTimer::singleShot(ms, &loop, [&] { loop.exit(0); });
    return update.start().isEmpty() && loop.exec() == 1;
  }

  QStringList library() const {
    return textfile::readLines(dir.filePath(library::kLibraryFile)).value_or(QStringList());
  }

  LocalHttpServer server;
  QTemporaryDir dir;
};

}  // namespace

TEST_F(SubscriptionUpdateTest, EveryBadSourceEndsWithItsReasonAndGivesNothing) {
  server.addFile("/good.txt", "好台,http://tv.example/good.m3u8\n", "text/plain");
  server.addFile("/page.html", "<html><body><p>订阅已搬家</p></body></html>", "text/html");
  server.addFile("/binary.txt", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16).repeated(64),
                 "text/plain");
  server.addFile("/local.m3u",
                 "#EXTM3U\n#EXTINF:-1,本地\n/etc/passwd\n#EXTINF:-1,文件\nfile:///etc/hosts\n",
                 "audio/x-mpegurl");
  server.addLive("/endless.txt", "台,http://tv.example/x\n", "text/plain", 8 << 20);
  server.addHanging("/hanging.m3u");
  server.addRedirect("/loop.m3u", server.url("/loop.m3u"));
  server.addStatus("/gone.m3u", 404);
  const struct {
    const char* path;
    const char* state;
  } cases[] = {
      {"/good.txt", "fetched"},
      {"/page.html", "failed (not_a_playlist)"},
      {"/binary.txt", "failed (not_a_playlist)"},
      {"/local.m3u", "failed (empty)"},
      {"/endless.txt", "failed (too_large)"},
      {"/hanging.m3u", "failed (timed_out)"},
      {"/loop.m3u", "failed (redirect_loop)"},
      {"/gone.m3u", "failed (not_found)"},
  };
  QStringList paths;
  for (const auto& c : cases) paths << c.path;
  subscribe(paths);

  SubscriptionUpdate update(dir.path(), "nettv-test");
  update.setLimits({.maxBytes = 1 << 20, .timeoutMs = 1500, .maxRedirects = 3});
  ASSERT_TRUE(run(update));
  ASSERT_EQ(update.reports().size(), std::size(cases));
  for (qsizetype i = 0; i < update.reports().size(); ++i)
    EXPECT_EQ(update.reports().at(i).state, cases[i].state) << cases[i].path;
  EXPECT_EQ(library(), QStringList({"好台,http://tv.example/good.m3u8,"}));

  // The good source gone bad takes nothing away.
  server.addStatus("/good.txt", 500);
  SubscriptionUpdate again(dir.path(), "nettv-test");
  again.setLimits({.maxBytes = 1 << 20, .timeoutMs = 1500, .maxRedirects = 3});
  ASSERT_TRUE(run(again));
  EXPECT_EQ(again.reports().first().state, "failed (server_error)");
  EXPECT_EQ(library(), QStringList({"好台,http://tv.example/good.m3u8,"}));
}

// A list of a million lines is read whole, within eight seconds of processor
// time (five here).
TEST_F(SubscriptionUpdateTest, AMillionLinesAreReadInOnePass) {
  constexpr int kLines = 1'000'000;
  QByteArray list;
  list.reserve(kLines * 32);
  for (int i = 0; i < kLines; ++i)
    list += "台" + QByteArray::number(i) + ",http://tv.example/" + QByteArray::number(i) + "\n";
  server.addFile("/big.txt", list, "text/plain");
  subscribe({"/big.txt"});
  SubscriptionUpdate update(dir.path(), "nettv-test");
  const qint64 cpuMs = msToRun([&] { ASSERT_TRUE(run(update, 120'000)); });
  ASSERT_EQ(update.reports().size(), 1);
  EXPECT_EQ(update.reports().first().added, kLines);
  EXPECT_EQ(library().size(), kLines);
  EXPECT_BOUND_LT(cpuMs, 8'000);
}

// Stopped at a source that never answers, the update ends at once and the
// library keeps what the earlier sources gave.
TEST_F(SubscriptionUpdateTest, StopEndsAtTheSourceBeingFetched) {
  server.addFile("/first.txt", "甲,http://tv.example/1\n", "text/plain");
  server.addHanging("/hanging.txt");
  subscribe({"/first.txt", "/hanging.txt"});
  SubscriptionUpdate update(dir.path(), "nettv-test");
  bool done = false;
  QObject::connect(&update, &SubscriptionUpdate::finished, [&] { done = true; });
  QObject::connect(&update, &SubscriptionUpdate::sourceStarted, [&](int index, const QString&) {
    if (index == 1) update.stop();
  });
  ASSERT_TRUE(update.start().isEmpty());
  ASSERT_TRUE(waitUntil([&] { return done; }, 5'000));
  EXPECT_EQ(update.reports().size(), 1);
  EXPECT_EQ(library(), QStringList({"甲,http://tv.example/1,"}));
}
