// Readers of files, lists and pages take time in proportion to their input:
// on the worst input known for each, four times the input takes at most six
// times the processor time (a reader that goes back over what it has read
// takes sixteen). Each time is the least of two runs: a loaded machine's
// shared caches slow a run down, and slow both sizes alike.
#include <functional>

#include "base/text_file.h"
#include "library/station_list.h"
#include "playlists/asx_list.h"
#include "playlists/playlist.h"
#include "plain_build.h"
#include "search/text_scan.h"
#include "search_fixture.h"
#include "thread_cpu_time.h"

namespace {

using playlists::PlaylistFormat;

// The larger input, five megabytes; the smaller is a quarter of it.
constexpr qsizetype kSize = 5 << 20;
constexpr qint64 kMostGrowth = 6;
// Runs of a few milliseconds differ by more than their ratio.
constexpr qint64 kJitterMs = 10;

// head, then unit repeated up to size.
QString hostile(const QString& head, const QString& unit, qsizetype size) {
  return head + unit.repeated((size - head.size()) / unit.size() + 1);
}

// The case for a failure's message, its line ends shown.
std::string shown(const QString& head, const QString& unit) {
  QString text = head + QStringLiteral(" + ") + unit;
  text.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
  return text.toStdString();
}

// Expects work on the input made at the full size to take at most
// kMostGrowth times what it takes on the input made at a quarter of it.
// Under a sanitizer the work runs on the hostile input unmeasured: its
// allocator's costs grow with the size of each block.
template <class Make, class Work>
void expectLinear(const Make& make, const Work& work, const std::string& what) {
  const auto msAt = [&](qsizetype size) {
    const auto input = make(size);
    return leastMsToRun([&] { work(input); });
  };
  const qint64 quarter = msAt(kSize / 4);
  const qint64 whole = msAt(kSize);
  EXPECT_BOUND_LT(whole, kMostGrowth * quarter + kJitterMs)
      << what << ": " << quarter << " ms, then " << whole << " ms";
}

class HostileInputTimeTest : public SearchTest {};

TEST_F(HostileInputTimeTest, PlaylistReadersAreLinear) {
  const struct {
    PlaylistFormat format;
    QString head;
    QString unit;
  } cases[] = {
      {PlaylistFormat::Asx, "<asx><entry><title>", "</title>"},
      {PlaylistFormat::Asx, "<asx><entry>", "<title>"},
      {PlaylistFormat::Asx, "<asx>", "<entry><title>x&amp;</title><ref href=a>"},
      {PlaylistFormat::Asx, "<asx><entry><ref href=\"", "a"},
      {PlaylistFormat::Asx, "<asx>", "<!--"},
      {PlaylistFormat::Asx, "", "<"},
      {PlaylistFormat::Asx, "<asx><entry><title>", "&#1"},
      {PlaylistFormat::M3u, "#EXTM3U\n#EXTINF:-1,", "\""},
      {PlaylistFormat::M3u, "#EXTM3U\n", "#EXTINF:-1,a\n"},
      {PlaylistFormat::M3u, "#EXTM3U\n", "\r"},
      {PlaylistFormat::M3u, "#EXTM3U\n", "http://a/\n"},
      {PlaylistFormat::Pls, "[playlist]\n", "File=http://a/\n"},
      {PlaylistFormat::Pls, "[playlist]\n", "Title1=a\n"},
      {PlaylistFormat::Pls, "[playlist]\nFile1=", "a"},
      {PlaylistFormat::StationLines, "", ","},
      {PlaylistFormat::StationLines, "", "a,http://a/,\n"},
      {PlaylistFormat::StationLines, "", "\t"},
  };
  for (const auto& c : cases) {
    expectLinear([&](qsizetype size) { return hostile(c.head, c.unit, size); },
                 [&](const QString& text) { playlists::parsePlaylist(text, c.format, "/tmp"); },
                 shown(c.head, c.unit));
  }
}

TEST_F(HostileInputTimeTest, StationFilesAreLinear) {
  const QByteArray units[] = {",", "\r", "\xd6\xd0,mms://a,\r", "\xd0\x9f,http://a/,\n"};
  for (const QByteArray& unit : units) {
    expectLinear(
        [&](qsizetype size) {
          writeBytes("tv_lib.txt", unit.repeated(size / unit.size()));
          return 0;
        },
        [&](int) {
          f.tvm.clear();
          f.dz1.clear();
          library::LoadStationList(f, "tv_lib.txt");
        },
        unit.toHex().toStdString());
  }
}

TEST_F(HostileInputTimeTest, AddressScanIsLinear) {
  f.SearchState = kSearchRunning;
  const struct {
    QString head;
    QString unit;
  } pages[] = {
      {"", "mms://"}, {"<a href=\"", "mms://a.cn/x.asf\">"}, {"<p>", "</"}, {"", "\r"},
      {"http://a.cn/", "a"},
  };
  for (const auto& p : pages) {
    const auto page = [&](qsizetype size) { return hostile(p.head, p.unit, size); };
    expectLinear(page, [&](const QString& text) { search::ScanTextForStations(f, text); },
                 shown(p.head, p.unit));
    expectLinear(page, [&](const QString& text) { search::ScanTextByLines(f, text); },
                 shown(p.head, p.unit));
  }
}

}  // namespace
