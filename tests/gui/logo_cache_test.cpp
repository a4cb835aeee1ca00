#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include "event_loop_wait.h"
#include "gui/logo_cache.h"
#include "local_http_server.h"
#include "png_bytes.h"

namespace {

class LogoCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.start()); }

  QTemporaryDir dir;
  LocalHttpServer server;
};

TEST_F(LogoCacheTest, KeepsSmallPicturesFetchedOverTheWebOnce) {
  server.addFile("/logo.png", pngBytes({100, 50}), "image/png");
  server.addFile("/big.png", QByteArray(LogoCache::kMaxBytes + 1, 'x'), "image/png");
  server.addFile("/text.png", "<html>not a picture</html>", "image/png");
  server.addStatus("/missing.png", 404);
  const QString local = dir.filePath("local.png");
  QFile file(local);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(pngBytes({10, 10}));
  file.close();

  const struct {
    const char* what;
    QString address;
    QSize kept;  // invalid: no logo
  } cases[] = {
      {"a picture, scaled down", server.url("/logo.png"), {32, 16}},
      {"larger than a logo", server.url("/big.png"), {}},
      {"no picture", server.url("/text.png"), {}},
      {"not found", server.url("/missing.png"), {}},
      {"a local file, never read", QUrl::fromLocalFile(local).toString(), {}},
      {"a local path, never read", local, {}},
      {"another scheme", "ftp://127.0.0.1/logo.png", {}},
  };
  LogoCache logos(dir.path());
  QStringList arrived;
  QObject::connect(&logos, &LogoCache::arrived, [&](const QString& a) { arrived << a; });
  for (const auto& c : cases) EXPECT_TRUE(logos.icon(c.address).isNull()) << c.what;
  // Every web address is asked once; the local ones never.
  ASSERT_TRUE(waitUntil([&] { return server.requests().size() == 4 && !arrived.isEmpty(); }, 10000));
  runEventsFor(300);
  EXPECT_EQ(arrived, QStringList{server.url("/logo.png")});
  for (const auto& c : cases) {
    const QIcon icon = logos.icon(c.address);
    EXPECT_EQ(icon.isNull(), !c.kept.isValid()) << c.what;
    if (c.kept.isValid()) {
      EXPECT_EQ(icon.availableSizes(), QList<QSize>{c.kept}) << c.what;
    }
    EXPECT_EQ(QFile::exists(logos.fileOf(c.address)), c.kept.isValid()) << c.what;
  }

  // What was kept is read from the folder by the next run; failures are
  // not asked again in this one.
  LogoCache again(dir.path());
  EXPECT_FALSE(again.icon(server.url("/logo.png")).isNull());
  runEventsFor(300);
  EXPECT_EQ(server.requests().size(), 4);
}

}  // namespace
