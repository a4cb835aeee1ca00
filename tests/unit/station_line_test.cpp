// The one place that makes station lines, and the one key that says a line
// is already in a file.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/text_file.h"
#include "form/unique_line_file.h"
#include "playlists/playlist.h"
#include "playlists/station_address.h"
#include "playlists/station_file.h"
#include "playlists/station_files.h"

using playlists::Station;

// Whatever a name or address holds, it becomes one station line that reads
// back as the same station, or no line at all.
TEST(StationLineTest, FieldsAreMadeStorableWhateverTheSource) {
  const struct {
    const char* what;
    Station station;
    QString line;
  } cases[] = {
      {"a plain station", {"中央一台", "http://h/a.m3u8", {}}, "中央一台,http://h/a.m3u8,"},
      {"line breaks in the name", {"a\r\nevil,file:///etc/passwd", "http://h/a", {}},
       "a evil，file:///etc/passwd,http://h/a,"},
      {"NUL and tab in the name", {QString("a") + QChar(0) + "b\tc", "http://h/a", {}},
       "a b c,http://h/a,"},
      {"a comma in a network address", {"a", "http://h/a,b?x=1,2", {}}, "a,http://h/a%2Cb?x=1%2C2,"},
      {"a comma in a header value", {"a", "http://h/a|Referer=http://p/x,y", {}},
       "a,http://h/a|Referer=http://p/x%2Cy,"},
      {"no name", {"", "http://h/live/cctv1.m3u8", {}}, "cctv1,http://h/live/cctv1.m3u8,"},
      {"a group with a line break", {"a", "http://h/a", "体育\n,x"}, "a,http://h/a,体育 ，x,"},
      {"a line break in the address", {"a", "http://h/a\r\nb,file:///etc/passwd,", {}}, ""},
      {"NUL in the address", {"a", QString("http://h/a") + QChar(0), {}}, ""},
      {"a line break in a header", {"a", "http://h/a|Referer=x\ny", {}}, ""},
      {"a local path with a comma", {"a", "/home/u/a,b.mp3", {}}, ""},
      {"no address", {"a", "  ", {}}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString line = playlists::stationFileLine(c.station);
    EXPECT_EQ(line, c.line);
    if (line.isEmpty()) continue;
    const playlists::Playlist read =
        playlists::parsePlaylist(line, playlists::PlaylistFormat::StationLines, {});
    ASSERT_EQ(read.stations.size(), 1);
    EXPECT_EQ(playlists::requestKey(read.stations[0].address),
              playlists::requestKey(playlists::stationLineAddress(line).toString()));
  }
  EXPECT_EQ(library::stationLine("a\nb", "http://h/a"), "a b,http://h/a,");
}

// Two lines hold the same request when their bare addresses are the same
// station and their headers the same, whatever their order, the case of
// their names, or the station's name; the window's writers store a line
// unless the file holds its request, never judged by a piece of text.
TEST(StationLineTest, TheRequestKeyIsTheBareAddressAndTheHeaders) {
  QTemporaryDir dir;
  const QString path = dir.filePath("tv_lib_ss_jg.txt");
  const struct {
    QString a;
    QString b;
    bool same;
  } cases[] = {
      {"电视,http://h/x,", "新电视,http://h/x,", true},
      {"a,HTTP://H.cn:80/x,", "a,http://h.cn/x,", true},
      {"a,http://h/x|Referer=r&User-Agent=u,", "b,http://h/x|user-agent=u&REFERER=r,", true},
      {"a,http://h/x,体育,", "a,http://h/x,", true},
      {"a,http://h/x|Referer=r,", "a,http://h/x,", false},
      {"a,http://h/x,", "a,http://h/x|Referer=r,", false},
      {"a,http://h/x|Referer=r,", "a,http://h/x|Referer=s,", false},
      {"a,http://h/X,", "a,http://h/x,", false},
      {"a,http://h/x1,", "a,http://h/x,", false},
      {"台,http://h/1,http://y/,", "1,http://y/,", false},
      {"no station here", "no station here", true},
      {"no station here", "another text", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.a + u' ' + c.b).toStdString());
    EXPECT_EQ(playlists::stationLineKey(c.a) == playlists::stationLineKey(c.b), c.same);
    ASSERT_TRUE(textfile::writeLines(path, {c.a}));
    ASSERT_TRUE(library::AppendUniqueLine(path, c.b));
    EXPECT_EQ(textfile::readLines(path), (c.same ? QStringList{c.a} : QStringList{c.a, c.b}));
  }
}
