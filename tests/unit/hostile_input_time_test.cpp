// Readers of files, lists and pages take time in proportion to their input:
// five megabytes of the worst input known for each finish within a second
// (the least of two runs: a loaded machine's shared caches slow a run down).
#include <functional>

#include "base/text_file.h"
#include "library/station_list.h"
#include "playlists/asx_list.h"
#include "playlists/playlist.h"
#include "search/text_scan.h"
#include "search_fixture.h"
#include "thread_cpu_time.h"

namespace {

using playlists::PlaylistFormat;

constexpr qsizetype kSize = 5 << 20;
constexpr qint64 kLimitMs = 1000;

// head, then unit repeated up to five megabytes.
QString hostile(const QString& head, const QString& unit) {
  return head + unit.repeated((kSize - head.size()) / unit.size() + 1);
}

class HostileInputTimeTest : public SearchTest {};

TEST_F(HostileInputTimeTest, PlaylistReadersAreLinear) {
  const struct {
    PlaylistFormat format;
    QString text;
  } cases[] = {
      {PlaylistFormat::Asx, hostile("<asx><entry><title>", "</title>")},
      {PlaylistFormat::Asx, hostile("<asx><entry>", "<title>")},
      {PlaylistFormat::Asx, hostile("<asx>", "<entry><title>x&amp;</title><ref href=a>")},
      {PlaylistFormat::Asx, hostile("<asx><entry><ref href=\"", "a")},
      {PlaylistFormat::Asx, hostile("<asx>", "<!--")},
      {PlaylistFormat::Asx, hostile("", "<")},
      {PlaylistFormat::Asx, hostile("<asx><entry><title>", "&#1")},
      {PlaylistFormat::M3u, hostile("#EXTM3U\n#EXTINF:-1,", "\"")},
      {PlaylistFormat::M3u, hostile("#EXTM3U\n", "#EXTINF:-1,a\n")},
      {PlaylistFormat::M3u, hostile("#EXTM3U\n", "\r")},
      {PlaylistFormat::M3u, hostile("#EXTM3U\n", "http://a/\n")},
      {PlaylistFormat::Pls, hostile("[playlist]\n", "File=http://a/\n")},
      {PlaylistFormat::Pls, hostile("[playlist]\n", "Title1=a\n")},
      {PlaylistFormat::Pls, hostile("[playlist]\nFile1=", "a")},
      {PlaylistFormat::StationLines, hostile("", ",")},
      {PlaylistFormat::StationLines, hostile("", "a,http://a/,\n")},
      {PlaylistFormat::StationLines, hostile("", "\t")},
  };
  for (const auto& c : cases) {
    EXPECT_LT(leastMsToRun([&] { playlists::parsePlaylist(c.text, c.format, "/tmp"); }), kLimitMs)
        << c.text.left(30).toStdString() << "…" << c.text.right(10).toStdString();
  }
}

TEST_F(HostileInputTimeTest, StationFilesAreLinear) {
  const QByteArray files[] = {
      QByteArray(",").repeated(kSize),
      QByteArray("\r").repeated(kSize),
      QByteArray("\xd6\xd0,mms://a,\r").repeated(kSize / 11),
      QByteArray("\xd0\x9f,http://a/,\n").repeated(kSize / 13),
  };
  for (const QByteArray& bytes : files) {
    writeBytes("tv_lib.txt", bytes);
    const auto load = [&] {
      f.tvm.clear();
      f.dz1.clear();
      library::LoadStationList(f, "tv_lib.txt");
    };
    EXPECT_LT(leastMsToRun(load), kLimitMs)
        << bytes.left(12).toHex().constData();
  }
}

TEST_F(HostileInputTimeTest, AddressScanIsLinear) {
  f.SearchState = kSearchRunning;
  const QString pages[] = {
      hostile("", "mms://"),
      hostile("<a href=\"", "mms://a.cn/x.asf\">"),
      hostile("<p>", "</"),
      hostile("", "\r"),
      hostile("http://a.cn/", "a"),
  };
  for (const QString& page : pages) {
    EXPECT_LT(msToRun([&] { search::ScanTextForStations(f, page); }), kLimitMs)
        << page.left(40).toStdString();
    EXPECT_LT(msToRun([&] { search::ScanTextByLines(f, page); }), kLimitMs)
        << page.left(40).toStdString();
  }
}

}  // namespace
