#include <gtest/gtest.h>

#include "channels/channel_play.h"
#include "channels/channel_titles.h"
#include "channels/channel_tree.h"
#include "form_fixture.h"
#include "history/health_db.h"
#include "line_verdicts.h"
#include "playlists/channel_aliases.h"
#include "playlists/station_file.h"
#include "playlists/station_files.h"

namespace {

using channels::TreeGroup;

const QDateTime kNow = QDateTime::fromSecsSinceEpoch(1800000000, Qt::UTC);

// The window's lists after loading the found file (one station) and the
// library, which names groups; CCTV-1 is listed under three spellings, once
// twice, CCTV-5 under three.
class ChannelTreeTest : public FormTest {
 protected:
  ChannelTreeTest() {
    writeLines(library::kFoundFile, {"Radio X,http://r/x,"});
    writeLines(library::kLibraryFile,
               {"CCTV-1 综合,http://a/1,央视,", "CCTV1,http://b/1,央视,",
                "cctv-1高清,http://c/1,央视,", "CCTV-5,http://a/5,央视,", "CCTV 5,http://b/5,央视,",
                "cctv-5高清,http://c/5,央视,", "CCTV-5+,http://a/5p,央视,", "湖南卫视,http://a/hn,卫视,",
                playlists::stationFileLine({"湖南衛視 HD", "http://b/hn", "卫视",
                                            {{}, {}, "http://logo/hn.png", {}}}),
                "CCTV1,http://b/1,央视,"});
    for (const QString& line : readLines(library::kFoundFile) + QStringList{library::kSeparator +
                                                                            u',' + library::kSeparator} +
                                   readLines(library::kLibraryFile)) {
      names << line.section(u',', 0, 0);
      addresses << line.section(u',', 1, 1);
    }
  }

  // CCTV-1's second line played in 720p, its first failed an hour ago; the
  // others were never checked.
  void recordVerdicts() {
    history::HealthDb db([] { return kNow; });
    ASSERT_TRUE(db.open(dir.path()).ok);
    history::LineVerdict played =
        verdictOf("http://b/1", history::outcome::kPlaying, kNow.addSecs(-7200));
    played.width = 1280;
    played.height = 720;
    played.firstFrameMs = 1200;
    played.silent = true;
    history::LineVerdict failed =
        verdictOf("http://a/1", history::outcome::kFailed, kNow.addSecs(-3600));
    failed.httpStatus = 403;
    ASSERT_TRUE(db.recordMany({played, failed}).ok);
  }

  QList<TreeGroup> tree() { return channels::loadChannelTree(dir.path(), names, addresses, kNow); }

  QStringList names;
  QStringList addresses;
};

// "group: channel [entry entry …]" for each channel, lines best first.
QStringList outline(const QList<TreeGroup>& tree) {
  QStringList out;
  for (const TreeGroup& g : tree) {
    for (const channels::TreeChannel& c : g.channels) {
      QStringList entries;
      for (const channels::TreeLine& line : c.lines) entries << QString::number(line.entry);
      out << QStringLiteral("%1: %2 [%3]").arg(channels::groupTitle(g), c.name, entries.join(u' '));
    }
  }
  return out;
}

TEST_F(ChannelTreeTest, MergesSpellingsKeepsGroupsAndRanksLines) {
  recordVerdicts();
  const QList<TreeGroup> groups = tree();
  EXPECT_EQ(outline(groups), (QStringList{
                                 "未分组: Radio X [0]",
                                 "央视: CCTV-1 [3 4 2]",  // played, never checked, failed
                                 "央视: CCTV-5 [5 6 7]",
                                 "央视: CCTV-5+ [8]",
                                 "卫视: 湖南卫视 [9 10]",
                             }));

  const channels::TreeChannel& cctv1 = groups[1].channels[0];
  EXPECT_EQ(channels::channelTitle(cctv1), QStringLiteral("CCTV-1 · 3 线路"));
  const QStringList lines{"线路 1 · 可播放 · 1280×720 · 1.2 s · 无声", "线路 2 · 未检测",
                          "线路 3 · 失败 · HTTP 403"};
  for (int i = 0; i < lines.size(); ++i)
    EXPECT_EQ(channels::lineTitle(cctv1.lines[i], i + 1), lines[i]);
  EXPECT_EQ(cctv1.lines[0].station.address, QStringLiteral("http://b/1"));
  // A channel's logo is the one a line names, whichever.
  EXPECT_TRUE(cctv1.logo.isEmpty());
  EXPECT_EQ(groups[2].channels[0].logo, QStringLiteral("http://logo/hn.png"));
}

TEST_F(ChannelTreeTest, QueriesFindChannelsByAnyOfTheirNames) {
  const QList<TreeGroup> groups = tree();
  const struct {
    const char* query;
    QStringList found;
  } cases[] = {
      {"cctv5", {"CCTV-5", "CCTV-5+"}},
      {"CCTV 5+", {"CCTV-5+"}},
      {"hnws", {"湖南卫视"}},
      {"hunan", {"湖南卫视"}},
      {"湖南衛視", {"湖南卫视"}},
      {"综合", {"CCTV-1"}},  // a line's own name
      {"gaoqing", {"CCTV-1", "CCTV-5"}},
      {"cctv", {"CCTV-1", "CCTV-5", "CCTV-5+"}},
      {"", {"Radio X", "CCTV-1", "CCTV-5", "CCTV-5+", "湖南卫视"}},
      {"xyz", {}},
  };
  for (const auto& c : cases) {
    QStringList found;
    for (const channels::FoundGroup& g :
         channels::findChannels(groups, playlists::NameQuery(QString::fromUtf8(c.query))))
      for (int channel : g.channels) found << groups[g.group].channels[channel].name;
    EXPECT_EQ(found, c.found) << c.query;
  }
}

TEST_F(ChannelTreeTest, ChannelsStartingWithTheQueryComeFirst) {
  names = QStringList{"Sport CCTV", "CCTV-5"};
  addresses = QStringList{"http://s/1", "http://s/5"};
  const QList<TreeGroup> groups = tree();
  const auto found = channels::findChannels(groups, playlists::NameQuery("cctv"));
  ASSERT_EQ(found.size(), 1);
  EXPECT_EQ(found[0].channels, (QList<int>{1, 0}));
}

TEST_F(ChannelTreeTest, PlaysALineAsTheNameBoxPlaysAChosenEntry) {
  for (int i = 0; i < names.size(); ++i) {
    f.tvm.addItem(names[i]);
    f.dz1.addItem(addresses[i]);
  }
  const playlists::Station line{"CCTV1", "http://b/1", "央视", {}};
  const struct {
    const char* what;
    int entry;
    QString played;
    int chosen;
  } cases[] = {
      {"at its entry", 3, "http://b/1", 3},
      {"moved since the tree was made", 7, "http://b/1", 3},
  };
  for (const auto& c : cases) {
    takeLog();
    channels::PlayChannelLine(f, c.entry, line);
    EXPECT_TRUE(takeLog().contains("wmp.URL=" + c.played)) << c.what;
    EXPECT_EQ(f.tvm.listIndex(), c.chosen) << c.what;
    EXPECT_EQ(f.dz1.text(), c.played) << c.what;
  }

  // A line no longer listed still plays, from the boxes.
  takeLog();
  channels::PlayChannelLine(f, 4, {"Gone", "http://gone/1", "", {}});
  EXPECT_TRUE(takeLog().contains("wmp.URL=http://gone/1"));
  EXPECT_EQ(f.tvm.text(), QStringLiteral("Gone"));
}

}  // namespace
