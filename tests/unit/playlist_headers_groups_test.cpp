// Request headers, groups and the Chinese channel lists in the playlist
// readers, the M3U8 writer and the import into the found-stations file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "temp_files.h"
#include "base/text_file.h"
#include "playlists/station_files.h"
#include "playlists/playlist.h"
#include "playlists/playlist_export.h"
#include "playlists/playlist_import.h"
#include "playlists/station_file.h"

using namespace playlists;

namespace {

// One station as "group|name|address", for whole-list comparisons.
QStringList rows(const StationList& stations) {
  QStringList out;
  for (const Station& s : stations) out << s.group + u'|' + s.name + u'|' + s.address;
  return out;
}

// Lists compared as text, so a failure shows the rows themselves.
std::string shown(const QStringList& rows) { return rows.join(u'\n').toStdString(); }

QStringList rows(const QString& text, PlaylistFormat format) {
  return rows(parsePlaylist(text, format, QStringLiteral("/lists")).stations);
}

}  // namespace

TEST(PlaylistHeaders, M3uDirectivesAndTheBarSuffixBecomeHeadersAndGroups) {
  struct Case {
    const char* what;
    QString text;
    QStringList expected;
  };
  const QList<Case> cases = {
      {"vlc options name the next address only",
       "#EXTM3U\n#EXTINF:-1 group-title=\"央视\",CCTV-1\n"
       "#EXTVLCOPT:http-referrer=http://www.example.cn/live/\n"
       "#EXTVLCOPT:http-user-agent=Mozilla/5.0 (X11, Linux)\n"
       "#EXTVLCOPT:network-caching=1000\n"
       "http://h.example.cn/1.m3u8\n#EXTINF:-1,Next\nhttp://h.example.cn/2.m3u8\n",
       {"央视|CCTV-1|http://h.example.cn/1.m3u8|Referer=http://www.example.cn/live/"
        "&User-Agent=Mozilla/5.0%20(X11%2C%20Linux)",
        "|Next|http://h.example.cn/2.m3u8"}},
      {"origin, and the line's own suffix wins over a directive",
       "#EXTINF:-1,A\n#EXTVLCOPT:http-origin=http://o.example.cn\n"
       "#EXTVLCOPT:http-referrer=http://ignored/\n"
       "http://h.example.cn/a.flv|Referer=http://mine/&Cookie=k%3Dv\n",
       {"|A|http://h.example.cn/a.flv|Referer=http://mine/&Cookie=k=v"
        "&Origin=http://o.example.cn"}},
      {"#EXTGRP holds for the entries after it, group-title wins",
       "#EXTGRP:地方台\n#EXTINF:-1,B\nhttp://b/\n#EXTINF:-1 group-title=\"体育\",C\nhttp://c/\n"
       "#EXTINF:-1,D\nhttp://d/\n",
       {"地方台|B|http://b/", "体育|C|http://c/", "地方台|D|http://d/"}},
      {"a quote inside group-title keeps the name and the group whole",
       "#EXTINF:-1 tvg-logo=\"http://l/a,b.png\" group-title=\"新闻\"台\",CCTV-13 \"新闻\"\n"
       "http://g/13.m3u8\n#EXTINF:-1 group-title=\"open,Open\nhttp://g/o.m3u8\n",
       {"新闻\"台|CCTV-13 \"新闻\"|http://g/13.m3u8", "|Open|http://g/o.m3u8"}},
      {"a directive with a control character is left out, the others kept",
       "#EXTINF:-1,G\n#EXTVLCOPT:http-referrer=http://r/\x1b[2J\n#EXTVLCOPT:http-origin=http://o\n"
       "http://g/g.m3u8\n",
       {"|G|http://g/g.m3u8|Origin=http://o"}},
      {"a malformed suffix is dropped, the station kept bare",
       "#EXTINF:-1,E\nhttp://e/x.m3u8|Referer\n#EXTINF:-1,F\nhttp://f/x.m3u8|Bad Name=v\n",
       {"|E|http://e/x.m3u8", "|F|http://f/x.m3u8"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(shown(rows(c.text, PlaylistFormat::M3u)), shown(c.expected)) << c.what;
}

TEST(PlaylistTextList, GenresJoinedSourcesAndTags) {
  const QString text = QStringLiteral(
      "央视频道,#genre#\n"
      "CCTV-1,http://a.example.cn/1.m3u8$线路1#http://b.example.cn/1.m3u8$线路2\n"
      "CCTV-2,http://a.example.cn/2.m3u8|Referer=http://p.example.cn/$备用\n"
      "CCTV-3,http://a.example.cn/3.m3u8|Referer=https://p.cn/#/live#http://b.example.cn/3.m3u8#t=1\n"
      "# a comment line\n"
      "卫视频道,#genre#,\n"
      "湖南卫视,http://c.example.cn/hn.flv,\n"
      "没有地址的频道\n"
      "空地址,\n"
      "坏地址,http://\n");
  const Playlist p = parsePlaylist(text, PlaylistFormat::TextList, {});
  EXPECT_EQ(rows(p.stations),
            (QStringList{"央视频道|CCTV-1|http://a.example.cn/1.m3u8",
                         "央视频道|CCTV-1|http://b.example.cn/1.m3u8",
                         "央视频道|CCTV-2|http://a.example.cn/2.m3u8|Referer=http://p.example.cn/",
                         "央视频道|CCTV-3|http://a.example.cn/3.m3u8|Referer=https://p.cn/%23/live",
                         "央视频道|CCTV-3|http://b.example.cn/3.m3u8#t=1",
                         "卫视频道|湖南卫视|http://c.example.cn/hn.flv"}));
  QList<int> skipped;
  for (const SkippedEntry& s : p.skipped) skipped << s.line;
  EXPECT_EQ(skipped, (QList<int>{8, 9, 10}));
}

// What marks a source's tag and what separates sources, against what
// belongs to an address.
TEST(PlaylistTextList, TagsAndSeparatorsLeaveAddressesWhole) {
  const struct {
    const char* line;
    QStringList addresses;
  } cases[] = {
      {"台,http://a/x?token=ab$cd&e=1", {"http://a/x?token=ab$cd&e=1"}},
      {"台,http://a/x?token=ab$cd&e=1$线路1", {"http://a/x?token=ab$cd&e=1"}},
      {"台,http://a/p$x/y.m3u8$高清", {"http://a/p$x/y.m3u8"}},
      {"台,http://a/1.m3u8##http://b/1.m3u8", {"http://a/1.m3u8", "http://b/1.m3u8"}},
      {"台,http://a/1.m3u8$线路1##http://b/1.m3u8#", {"http://a/1.m3u8", "http://b/1.m3u8"}},
      {"台,http://a/1|Cookie=k%3Dv$w&Referer=http://r/$备用",
       {"http://a/1|Cookie=k=v%24w&Referer=http://r/"}},
      {"台,rtp://239.3.1.241:8000$组播", {"rtp://239.3.1.241:8000"}},
  };
  for (const auto& c : cases) {
    QStringList addresses;
    for (const Station& s : parsePlaylist(QString::fromUtf8(c.line), PlaylistFormat::TextList, {}).stations)
      addresses << s.address;
    EXPECT_EQ(shown(addresses), shown(c.addresses)) << c.line;
  }
}

TEST(PlaylistFormatDetection, ChannelListsByTheirMarksAndLines) {
  struct Case {
    QString file;
    QString text;
    PlaylistFormat format;
  };
  const QList<Case> cases = {
      {"tv.txt", "央视,#genre#\nCCTV-1,http://a/1.m3u8\n", PlaylistFormat::TextList},
      {"tv", "\n\nCCTV-1,http://a/1.m3u8#http://b/1.m3u8\n", PlaylistFormat::TextList},
      {"tv.txt", "CCTV-1,http://a/1.m3u8,\n", PlaylistFormat::StationLines},
      {"tv.m3u", "CCTV-1,http://a/1.m3u8\n", PlaylistFormat::M3u},
      {"tv.txt", "#EXTM3U\n#EXTINF:-1,a,#genre#\nhttp://a/\n", PlaylistFormat::M3u},
  };
  for (const Case& c : cases)
    EXPECT_EQ(detectPlaylistFormat(c.file, c.text), c.format) << c.text.toStdString();
}

TEST(PlaylistLineEnds, LoneCrCrLfAndLfReadAlike) {
  struct Case {
    PlaylistFormat format;
    QStringList lines;
  };
  const QList<Case> cases = {
      {PlaylistFormat::M3u, {"#EXTM3U", "#EXTINF:-1,甲", "http://a/1", "#EXTINF:-1,乙", "http://a/2"}},
      {PlaylistFormat::Pls, {"[playlist]", "File1=http://a/1", "Title1=甲", "File2=http://a/2"}},
      {PlaylistFormat::StationLines, {"甲,http://a/1,", "乙,http://a/2,"}},
      {PlaylistFormat::TextList, {"组,#genre#", "甲,http://a/1", "乙,http://a/2"}},
  };
  for (const Case& c : cases) {
    const QStringList lf = rows(c.lines.join(u'\n'), c.format);
    EXPECT_EQ(lf.size(), 2) << int(c.format);
    EXPECT_EQ(rows(c.lines.join(QStringLiteral("\r\n")), c.format), lf) << int(c.format);
    EXPECT_EQ(rows(c.lines.join(u'\r'), c.format), lf) << int(c.format);
  }
}

TEST(PlaylistExport, M3u8WithGroupsAndHeadersReadsBackTheSameStations) {
  const StationList stations = {
      {"CCTV-1", "http://a.example.cn/1.m3u8|Referer=http://p.example.cn/&User-Agent=Box%201.0",
       "央视"},
      {"Radio", "http://r.example.cn/live|Origin=http://o.example.cn&Cookie=k%3Dv", ""},
      {"Plain", "http://plain.example.cn/x.mp3", "组\"名"},
  };
  const QString text = toM3u8(stations);
  EXPECT_TRUE(text.contains(QStringLiteral("#EXTINF:-1 group-title=\"央视\",CCTV-1\n"
                                           "#EXTVLCOPT:http-referrer=http://p.example.cn/\n"
                                           "#EXTVLCOPT:http-user-agent=Box 1.0\n"
                                           "http://a.example.cn/1.m3u8\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("#EXTVLCOPT:http-origin=http://o.example.cn\n"
                                           "http://r.example.cn/live|Cookie=k=v\n")));
  StationList expected = stations;
  expected[1].address = "http://r.example.cn/live|Cookie=k=v&Origin=http://o.example.cn";
  expected[2].group = "组'名";
  EXPECT_EQ(shown(rows(text, detectPlaylistFormat("out.m3u8", text))), shown(rows(expected)));
}

// A value an #EXTVLCOPT line would not give back whole stays in the "|"
// suffix, which keeps every byte.
TEST(PlaylistExport, HeaderValuesReadBackWhole) {
  const StationList stations = {
      {"Bytes", "http://a.example.cn/1|User-Agent=Box%845.0", ""},
      {"Space", "http://a.example.cn/2|Referer=http://p/%20", ""},
      {"Wide space", "http://a.example.cn/3|Referer=http://p/%E3%80%80", ""},
  };
  EXPECT_EQ(shown(rows(toM3u8(stations), PlaylistFormat::M3u)), shown(rows(stations)));
}

TEST(PlaylistImport, CountsAddedKnownAndSkippedAndKnowsStationsByTheirBareAddress) {
  QTemporaryDir dir;
  const QString found = QDir(dir.path()).filePath(library::kFoundFile);
  ASSERT_TRUE(textfile::writeLines(found, {"旧台,http://old.example.cn/a.m3u8,"}));
  QStringEncoder gbk("GB18030");
  const QString txt = writeFile(dir, "tv.txt",
                            gbk(QStringLiteral("央视,#genre#\r\n"
                                               "CCTV-1,http://a.example.cn/1.m3u8#"
                                               "http://OLD.example.cn:80/a.m3u8|Referer=http://p/\r\n"
                                               "坏,http://\r\n")));
  const QString m3u = writeFile(dir, "tv.m3u",
                            "#EXTM3U\n#EXTINF:-1,Again\nhttp://a.example.cn/1.m3u8|Referer=http://x/\n"
                            "#EXTINF:-1,New\nhttp://n.example.cn/n.mp3\n");
  const ImportOutcome outcome =
      importPlaylists(dir.path(), {txt, m3u, dir.filePath("missing.m3u")});
  EXPECT_EQ(outcome.added, 2);
  EXPECT_EQ(outcome.alreadyThere, 1);
  EXPECT_EQ(outcome.headersAdded, 1);
  ASSERT_EQ(outcome.skipped.size(), 2);
  EXPECT_EQ(outcome.skipped[0].line, 3);
  EXPECT_EQ(outcome.skipped[1].line, 0);
  EXPECT_TRUE(outcome.writeError.isEmpty());
  // The headers of a known address go onto its line, stored or new.
  EXPECT_EQ(textfile::readLines(found).value_or(QStringList()),
            (QStringList{"旧台,http://old.example.cn/a.m3u8|Referer=http://p/,",
                         "CCTV-1,http://a.example.cn/1.m3u8|Referer=http://x/,央视,",
                         "New,http://n.example.cn/n.mp3,"}));
  EXPECT_EQ(rows(*textfile::read(found), PlaylistFormat::StationLines).at(1),
            "央视|CCTV-1|http://a.example.cn/1.m3u8|Referer=http://x/");
}

// A station stored without the headers its stream needs gets them from an
// imported entry: same name, same place, the file's own encoding, one
// write. Headers never replace or add to the headers a line has.
TEST(PlaylistImport, HeadersForAStoredAddressGoOntoItsLine) {
  const QString m3u = QStringLiteral(
      "#EXTM3U\n#EXTINF:-1,新名字\n#EXTVLCOPT:http-referrer=http://p.example.cn/\n"
      "#EXTVLCOPT:http-user-agent=Box 1.0\nhttp://A.example.cn:80/1.m3u8\n"
      "#EXTINF:-1,乙\n#EXTVLCOPT:http-referrer=http://q.example.cn/\nhttp://b.example.cn/2.flv\n");
  const QString withHeaders =
      "http://a.example.cn/1.m3u8|Referer=http://p.example.cn/&User-Agent=Box%201.0";
  const struct {
    const char* what;
    QString stored;
    textfile::Encoding encoding;
    int headersAdded, alreadyThere;
    QStringList after;
  } cases[] = {
      {"both stored bare, in GBK",
       "甲,http://a.example.cn/1.m3u8,央视,\r\n丙,http://c/3,\r\n乙,http://b.example.cn/2.flv,\r\n",
       textfile::Encoding::Gbk, 2, 0,
       {"甲," + withHeaders + ",央视,", "丙,http://c/3,",
        "乙,http://b.example.cn/2.flv|Referer=http://q.example.cn/,"}},
      {"in UTF-8, one already with headers of its own",
       "甲,http://a.example.cn/1.m3u8,\r\n乙,http://b.example.cn/2.flv|Referer=http://mine/,\r\n",
       textfile::Encoding::Utf8, 1, 1,
       {"甲," + withHeaders + ",", "乙,http://b.example.cn/2.flv|Referer=http://mine/,"}},
      {"a stored suffix that sends nothing is replaced",
       "甲,http://a.example.cn/1.m3u8|Referer,\r\n", textfile::Encoding::Gbk, 1, 0,
       {"甲," + withHeaders + ",", "乙,http://b.example.cn/2.flv|Referer=http://q.example.cn/,"}},
      {"the same address stored twice, in UTF-16",
       "甲,http://a.example.cn/1.m3u8,\r\n甲二,http://a.example.cn/1.m3u8,\r\n",
       textfile::Encoding::Utf16Le, 1, 0,
       {"甲," + withHeaders + ",", "甲二," + withHeaders + ",",
        "乙,http://b.example.cn/2.flv|Referer=http://q.example.cn/,"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QByteArray bom = c.encoding == textfile::Encoding::Utf16Le
                               ? textfile::encodeAs(QString(QChar::ByteOrderMark), c.encoding)
                               : QByteArray();
    const QString found = writeFile(dir, library::kFoundFile, bom + textfile::encodeAs(c.stored, c.encoding));
    const ImportOutcome outcome = importPlaylists(dir.path(), {writeFile(dir, "tv.m3u", m3u.toUtf8())});
    EXPECT_EQ(outcome.headersAdded, c.headersAdded);
    EXPECT_EQ(outcome.alreadyThere, c.alreadyThere);
    EXPECT_EQ(outcome.added, c.after.size() - c.stored.count(u'\n'));
    QFile file(found);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bom + textfile::encodeAs(c.after.join("\r\n") + "\r\n", c.encoding));
  }
}

// Every station counted as added is in the file afterwards, even when its
// line stands inside another one, and it follows the last stored station.
TEST(PlaylistImport, WritesEveryStationItCountsAsAdded) {
  const struct {
    QByteArray stored;
    QStringList after;
  } cases[] = {
      {"q,http://z/1,x,http://a/1,\r\n", {"q,http://z/1,x,http://a/1,", "x,http://a/1,"}},
      {"q,http://z/1,\r\n\r\n", {"q,http://z/1,", "x,http://a/1,"}},
      {"", {"x,http://a/1,"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored.toStdString());
    QTemporaryDir dir;
    const QString found = writeFile(dir, library::kFoundFile, c.stored);
    const QString m3u = writeFile(dir, "tv.m3u", "#EXTM3U\n#EXTINF:-1,x\nhttp://a/1\n");
    const ImportOutcome outcome = importPlaylists(dir.path(), {m3u});
    EXPECT_EQ(outcome.added, 1);
    EXPECT_EQ(textfile::readLines(found).value_or(QStringList()), c.after);
  }
}

// The programme-guide tags of an M3U survive import into a station file and
// export again; what could open a local file or break a line does not.
TEST(PlaylistGuideTags, KeptThroughStationFileAndExport) {
  const QString m3u = QStringLiteral(
      "#EXTM3U x-tvg-url=\"http://epg.example.cn/e.xml\"\n"
      "#EXTINF:-1 tvg-id=\"CCTV1.cn\" tvg-name=\"CCTV1\" tvg-logo=\"http://logo.example.cn/1.png\" "
      "group-title=\"央视\",CCTV-1\nhttp://h.example.cn/1.m3u8\n"
      "#EXTINF:-1 tvg-logo=\"file:///etc/passwd\" tvg-id=\"a,b\",本地标志\nhttp://h.example.cn/2.m3u8\n"
      "#EXTINF:-1,无标签\nhttp://h.example.cn/3.m3u8\n");
  const StationList read = parsePlaylist(m3u, PlaylistFormat::M3u, {}).stations;
  ASSERT_EQ(read.size(), 3);
  const GuideTags first{"CCTV1.cn", "CCTV1", "http://logo.example.cn/1.png",
                        "http://epg.example.cn/e.xml"};
  EXPECT_EQ(read[0].tags, first);
  EXPECT_EQ(read[1].tags.tvgLogo, QString());
  EXPECT_EQ(read[1].tags.tvgId, QStringLiteral("a，b"));

  QString lines;
  for (const Station& s : read) lines += stationFileLine(s) + QStringLiteral("\r\n");
  const StationList stored = parsePlaylist(lines, PlaylistFormat::StationLines, {}).stations;
  ASSERT_EQ(stored.size(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(stored[i].tags, read[i].tags) << i;
    EXPECT_EQ(stored[i].group, read[i].group) << i;
  }
  const QString exported = toM3u8(stored);
  EXPECT_TRUE(exported.startsWith("#EXTM3U x-tvg-url=\"http://epg.example.cn/e.xml\"\n"));
  EXPECT_TRUE(exported.contains("#EXTINF:-1 tvg-id=\"CCTV1.cn\" tvg-name=\"CCTV1\" "
                                "tvg-logo=\"http://logo.example.cn/1.png\" group-title=\"央视\",CCTV-1\n"));
  EXPECT_EQ(parsePlaylist(exported, PlaylistFormat::M3u, {}).stations[0].tags, first);
}
