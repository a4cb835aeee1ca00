// A refreshed address written into the file its line came from: only the
// bare address changes, wherever it stands whole, byte for byte otherwise.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "library/address_rewrite.h"
#include "temp_files.h"

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(AddressRewrite, ReplacesTheBareAddressWhereItStandsWhole) {
  const QString from = QStringLiteral("http://cdn.example/live.m3u8?tk=old|Referer=http://p/");
  const QString to = QStringLiteral("http://cdn.example/live.m3u8?tk=new|Referer=http://p/");
  const struct {
    const char* what;
    QByteArray before;
    QByteArray after;
    int replaced;
  } cases[] = {
      {"a station line keeps its name and headers",
       "CCTV-1,http://cdn.example/live.m3u8?tk=old|Referer=http://p/,\r\nCCTV-2,http://b/,\r\n",
       "CCTV-1,http://cdn.example/live.m3u8?tk=new|Referer=http://p/,\r\nCCTV-2,http://b/,\r\n", 1},
      {"an M3U entry, its options untouched",
       "#EXTM3U\n#EXTINF:-1,CCTV-1\n#EXTVLCOPT:http-referrer=http://p/\n"
       "http://cdn.example/live.m3u8?tk=old\n",
       "#EXTM3U\n#EXTINF:-1,CCTV-1\n#EXTVLCOPT:http-referrer=http://p/\n"
       "http://cdn.example/live.m3u8?tk=new\n", 1},
      {"every line of the stream, under any name",
       "A,http://cdn.example/live.m3u8?tk=old\nB,http://cdn.example/live.m3u8?tk=old",
       "A,http://cdn.example/live.m3u8?tk=new\nB,http://cdn.example/live.m3u8?tk=new", 2},
      {"a longer token and an address carrying it stay",
       "A,http://cdn.example/live.m3u8?tk=older\nB,http://proxy/?u=http://cdn.example/live.m3u8?tk=old\n",
       "A,http://cdn.example/live.m3u8?tk=older\nB,http://proxy/?u=http://cdn.example/live.m3u8?tk=old\n",
       0},
  };
  QTemporaryDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString path = writeFile(dir, "list.txt", c.before);
    const library::Rewrite r = library::replaceAddress(path, from, to);
    EXPECT_EQ(r.replaced, c.replaced);
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_EQ(readAll(path), c.after);
  }
}

TEST(AddressRewrite, KeepsTheFilesEncodingAndFailsWithoutTouchingAMissingFile) {
  QTemporaryDir dir;
  const QByteArray gbk = textfile::encodeAs(QStringLiteral("中央一台,http://a/x?k=1,\r\n"),
                                            textfile::Encoding::Gbk);
  const QString path = writeFile(dir, "gbk.txt", gbk);
  EXPECT_EQ(library::replaceAddress(path, "http://a/x?k=1", "http://a/x?k=2").replaced, 1);
  EXPECT_EQ(readAll(path), textfile::encodeAs(QStringLiteral("中央一台,http://a/x?k=2,\r\n"),
                                              textfile::Encoding::Gbk));

  const QString missing = dir.filePath("missing.txt");
  const library::Rewrite r = library::replaceAddress(missing, "http://a/", "http://b/");
  EXPECT_FALSE(r.error.isEmpty());
  EXPECT_FALSE(QFile::exists(missing));
}

}  // namespace
