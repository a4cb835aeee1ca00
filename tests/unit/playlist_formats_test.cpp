// Reading stations from M3U, PLS, ASX and station-line files, including
// the broken and hostile files people actually have.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "plain_build.h"
#include "playlists/playlist.h"
#include "playlists/station_file.h"
#include "thread_cpu_time.h"

using namespace playlists;

namespace {

QStringList names(const playlists::Playlist& p) {
  QStringList out;
  for (const playlists::Station& s : p.stations) out << s.name;
  return out;
}

QStringList addresses(const playlists::Playlist& p) {
  QStringList out;
  for (const playlists::Station& s : p.stations) out << s.address;
  return out;
}

QList<int> skippedLines(const playlists::Playlist& p) {
  QList<int> out;
  for (const playlists::SkippedEntry& s : p.skipped) out << s.line;
  return out;
}

playlists::Playlist parse(const QString& text, playlists::PlaylistFormat format) {
  return playlists::parsePlaylist(text, format, QStringLiteral("/media/lists"));
}

}  // namespace

TEST(PlaylistM3u, ExtinfNamesTheNextAddressAndDirectivesAreIgnored) {
  const playlists::Playlist p =
      parse(QStringLiteral("#EXTM3U\r\n"
                           "#EXTINF:-1 tvg-name=\"A, B\" group-title=\"新闻\",中央一台\r\n"
                           "#EXTVLCOPT:network-caching=1000\r\n"
                           "http://tv.example.cn/cctv1.m3u8\r\n"
                           "\r\n"
                           "#EXTINF:0,Radio, with comma\n"
                           "HTTP://Radio.Example.com:8000/live\n"
                           "music/local song.mp3\n"),
            playlists::PlaylistFormat::M3u);
  EXPECT_EQ(names(p), (QStringList{QStringLiteral("中央一台"), QStringLiteral("Radio， with comma"),
                                   QStringLiteral("local song")}));
  EXPECT_EQ(addresses(p), (QStringList{QStringLiteral("http://tv.example.cn/cctv1.m3u8"),
                                       QStringLiteral("http://radio.example.com:8000/live"),
                                       QStringLiteral("/media/lists/music/local song.mp3")}));
  EXPECT_TRUE(p.skipped.isEmpty());
}

TEST(PlaylistM3u, WithoutExtinfTheAddressGivesTheName) {
  const playlists::Playlist p = parse(QStringLiteral("http://a.example.com/live/news.mp3\n"
                                          "http://b.example.com\n"
                                          "rtsp://c.example.com/\n"),
                           playlists::PlaylistFormat::M3u);
  EXPECT_EQ(names(p), (QStringList{QStringLiteral("news"), QStringLiteral("b.example.com"),
                                   QStringLiteral("c.example.com")}));
}

TEST(PlaylistPls, NumberedKeysInAnyOrderAndMissingNumbers) {
  const playlists::Playlist p = parse(QStringLiteral("[playlist]\n"
                                          "Title2=Second\n"
                                          "File1=http://one.example.com/a.mp3\n"
                                          "file2=http://two.example.com/b.mp3\n"
                                          "Title1=First\n"
                                          "Length1=-1\n"
                                          "File=http://three.example.com/c.mp3\n"
                                          "Title=Third\n"
                                          "Title5=Only a title\n"
                                          "File=http://four.example.com/d.ogg\n"
                                          "NumberOfEntries=9\n"),
                           playlists::PlaylistFormat::Pls);
  EXPECT_EQ(names(p), (QStringList{QStringLiteral("Second"), QStringLiteral("First"),
                                   QStringLiteral("Third"), QStringLiteral("Only a title")}));
  EXPECT_EQ(addresses(p).first(), QStringLiteral("http://two.example.com/b.mp3"));
  EXPECT_EQ(addresses(p).last(), QStringLiteral("http://four.example.com/d.ogg"));
  EXPECT_TRUE(p.skipped.isEmpty());

  const playlists::Playlist orphan = parse(QStringLiteral("[playlist]\nFile1=http://x.example.com/\n"
                                               "Title7=No file\n"),
                                playlists::PlaylistFormat::Pls);
  EXPECT_EQ(orphan.stations.size(), 1);
  EXPECT_EQ(skippedLines(orphan), QList<int>{3});
}

TEST(PlaylistAsx, BrokenMarkupStillGivesEveryEntry) {
  const playlists::Playlist p =
      parse(QStringLiteral("<ASX version=3.0>\n"
                           "<TITLE>List title is not a station</TITLE>\n"
                           "<!-- <entry><ref href=\"http://commented.example.com/\"/></entry> -->\n"
                           "<Entry><Title>News & Talk &amp; more</Title>\n"
                           "  <Ref HREF = mms://news.example.com/live >\n"
                           "  <ref href='http://fallback.example.com/news'/>\n"
                           "</Entry>\n"
                           "<entry><ref href=\"http://a.example.com/x.wmv?id=1&amp;q=2\">\n"
                           "<entry>\n"
                           "  <title>No address</title>\n"
                           "</entry>\n"
                           "<EntryRef href=\"http://more.example.com/list.asx\"/>\n"
                           "<ref href=\"http://bare.example.com/y.wma\">\n"
                           "<entry><title>Cut off</title><ref href=\"http://last.example.com/z\""),
            playlists::PlaylistFormat::Asx);
  EXPECT_EQ(addresses(p), (QStringList{QStringLiteral("mms://news.example.com/live"),
                                       QStringLiteral("http://a.example.com/x.wmv?id=1&q=2"),
                                       QStringLiteral("http://more.example.com/list.asx"),
                                       QStringLiteral("http://bare.example.com/y.wma")}));
  EXPECT_EQ(names(p).first(), QStringLiteral("News & Talk & more"));
  EXPECT_EQ(names(p).at(1), QStringLiteral("x"));
  // The entry without a ref is reported with its line; the unfinished tag at
  // the end gives an entry without an address.
  EXPECT_EQ(skippedLines(p), (QList<int>{9, 14}));
}

TEST(PlaylistStationLines, LenientReadingOfTheProgramsOwnFormat) {
  const playlists::Playlist p =
      parse(QStringLiteral("中央台,http://a.example.cn/1.asx,\r\n"
                           " \t北京台 \t, http://b.example.cn/2.mp3 ,extra,fields\r\n"
                           "\r\n"
                           "no comma on this line\r\n"
                           "没有结尾逗号,http://c.example.cn/3.wmv\r\n"
                           ",http://d.example.cn/unnamed.mp3,\r\n"
                           "名字,,\r\n"
                           "END\r\n"
                           "after end,http://e.example.cn/,\r\n"),
            playlists::PlaylistFormat::StationLines);
  EXPECT_EQ(names(p), (QStringList{QStringLiteral("中央台"), QStringLiteral("北京台"),
                                   QStringLiteral("没有结尾逗号"), QStringLiteral("unnamed")}));
  EXPECT_EQ(addresses(p).at(1), QStringLiteral("http://b.example.cn/2.mp3"));
  EXPECT_EQ(skippedLines(p), (QList<int>{4, 7}));
}

TEST(PlaylistBadInput, HugeFilesLongLinesAndOddAddresses) {
  QString big = QStringLiteral("#EXTM3U\n");
  for (int i = 0; i < 100000; ++i)
    big += QStringLiteral("#EXTINF:-1,频道 %1\nhttp://live.example.cn/ch/%1.m3u8\n").arg(i);
  playlists::Playlist large;
  const qint64 parseMs =
      leastMsToRun([&] { large = parse(big, playlists::PlaylistFormat::M3u); }, 3);
  EXPECT_EQ(large.stations.size(), 100000);
  EXPECT_BOUND_LT(parseMs, 400);  // about 210 ms

  const QString megabyte(1024 * 1024, u'x');
  const playlists::Playlist odd = parse(QStringLiteral("#EXTINF:-1,") + megabyte + QStringLiteral("\n") +
                                 QStringLiteral("http://long.example.com/\n") +
                                 QStringLiteral("http://") + megabyte + QStringLiteral("\n") +
                                 QStringLiteral("http://spaces.example.com/my station 1.mp3\n") +
                                 QStringLiteral("http://例子.中国/电台/新闻.mp3\n") +
                                 QStringLiteral("http://ctl.example.com/a\x01b\n") +
                                 QStringLiteral("http://\n") + QStringLiteral("/music/a,b.mp3\n"),
                             playlists::PlaylistFormat::M3u);
  ASSERT_EQ(odd.stations.size(), 3);
  EXPECT_EQ(odd.stations[0].name.size(), 200);
  EXPECT_EQ(odd.stations[1].address,
            QStringLiteral("http://spaces.example.com/my%20station%201.mp3"));
  EXPECT_EQ(odd.stations[1].name, QStringLiteral("my station 1"));
  EXPECT_EQ(
      odd.stations[2].address,
      QStringLiteral("http://xn--fsqu00a.xn--fiqs8s/%E7%94%B5%E5%8F%B0/%E6%96%B0%E9%97%BB.mp3"));
  EXPECT_EQ(odd.stations[2].name, QStringLiteral("新闻"));
  EXPECT_EQ(skippedLines(odd), (QList<int>{3, 6, 7, 8}));
}

// A long name is cut to fit the list, never before a space, which a station
// line would not keep, nor within a character.
TEST(PlaylistBadInput, LongNamesAreCutBetweenCharacters) {
  const QString start(199, u'x');
  for (const QString& tail : {QStringLiteral(" y"), QStringLiteral("😀")}) {
    const playlists::Playlist p = parse(
        QStringLiteral("#EXTINF:-1,") + start + tail + QStringLiteral("\nhttp://a.example.cn/\n"),
        playlists::PlaylistFormat::M3u);
    ASSERT_EQ(p.stations.size(), 1);
    EXPECT_EQ(names(p).first().toStdString(), start.toStdString()) << tail.toStdString();
  }
}

TEST(PlaylistFormat, MarksInTheTextComeBeforeTheFileName) {
  EXPECT_EQ(playlists::detectPlaylistFormat("a.txt", "\xEF\xBB\xBF#EXTM3U\n"), playlists::PlaylistFormat::M3u);
  EXPECT_EQ(playlists::detectPlaylistFormat("a.m3u", "[Playlist]\nFile1=x\n"), playlists::PlaylistFormat::Pls);
  EXPECT_EQ(playlists::detectPlaylistFormat("a.txt", "  <asx version=\"3.0\">"), playlists::PlaylistFormat::Asx);
  EXPECT_EQ(playlists::detectPlaylistFormat("a.WVX", "<entry>"), playlists::PlaylistFormat::Asx);
  EXPECT_EQ(playlists::detectPlaylistFormat("a.m3u8", "名字,http://x/,"), playlists::PlaylistFormat::M3u);
  EXPECT_EQ(playlists::detectPlaylistFormat("list", "\n\nhttp://x.example.com/a.mp3\n"), playlists::PlaylistFormat::M3u);
  EXPECT_EQ(playlists::detectPlaylistFormat("list", "名字,http://x/,\n"), playlists::PlaylistFormat::StationLines);
}

TEST(PlaylistFile, EncodingsAndUnreadableFiles) {
  QTemporaryDir dir;
  const QString utf16 = dir.filePath("list.asx");
  QFile f(utf16);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  QStringEncoder le(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
  f.write(
      le(QStringLiteral("<asx><entry><title>电台</title><ref href=\"http://a.example.cn/\"/>"
                        "</entry></asx>")));
  f.close();
  const auto fromUtf16 = playlists::readPlaylist(utf16);
  ASSERT_TRUE(fromUtf16);
  EXPECT_EQ(names(*fromUtf16), QStringList{QStringLiteral("电台")});

  // A station file saved as UTF-16 by a Windows editor.
  const QString found = dir.filePath("tv_lib_ss_jg.txt");
  QFile u(found);
  ASSERT_TRUE(u.open(QIODevice::WriteOnly));
  QString lines;
  for (int i = 1; i <= 5; ++i) lines += QStringLiteral("电台%1,http://a.example.cn/%1,\r\n").arg(i);
  u.write(QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(lines));
  u.close();
  const auto stations = playlists::readStationFile(found);
  ASSERT_TRUE(stations);
  EXPECT_EQ(names(*stations), (QStringList{"电台1", "电台2", "电台3", "电台4", "电台5"}));

  const QString gbk = dir.filePath("stations.txt");
  QFile g(gbk);
  ASSERT_TRUE(g.open(QIODevice::WriteOnly));
  QStringEncoder enc("GB18030");
  g.write(enc(QStringLiteral("北京音乐台,mms://bj.example.cn/music,\r\nrel,sub/x.mp3,\r\n")));
  g.close();
  const auto fromGbk = playlists::readPlaylist(gbk);
  ASSERT_TRUE(fromGbk);
  EXPECT_EQ(names(*fromGbk).first(), QStringLiteral("北京音乐台"));
  EXPECT_EQ(addresses(*fromGbk).last(), QDir(dir.path()).filePath("sub/x.mp3"));

  EXPECT_FALSE(playlists::readPlaylist(dir.filePath("missing.m3u")));
  EXPECT_FALSE(playlists::readPlaylist(dir.path()));
}
