#include <gtest/gtest.h>

#include <QCoreApplication>

#include "base/control_models.h"
#include "library/station_finder.h"
#include "thread_cpu_time.h"

namespace {

QStringList names() {
  return {"CCTV-1 综合", "湖南卫视", "cctv-2 财经", "凤凰卫视 HD", "ＣＣＴＶ－５ 体育",
          "Radio CCTV", "卫视台", "ｈｄ电影", "CCTV 5+", "cctv5高清", "中央五台", "湖南經視"};
}

const playlists::ChannelNames& channelNames() {
  static const auto names = playlists::ChannelNames::forFolder(QString());
  return names;
}

TEST(StationFinderTest, FindsNamesByTextKeyAndPinyinStartersFirst) {
  ListControl list;
  for (const QString& n : names()) list.addItem(n);
  StationFinder finder(list, channelNames());
  const struct {
    const char* text;
    int limit;
    QList<int> expected;
  } cases[] = {
      // Any case, full-width forms too; 中央五台 by its alias CCTV-5.
      {"cctv", 10, {0, 2, 4, 8, 9, 10, 5}},
      {"ＣＣＴＶ", 10, {0, 2, 4, 8, 9, 10, 5}},
      {"卫视", 10, {6, 1, 3}},             // the starter first, then list order
      {"hd", 10, {7, 3}},
      {"cctv", 2, {0, 2}},                 // the limit keeps the starters
      {"-5 体", 10, {4}},                  // full-width hyphen, by text
      {"cctv5", 10, {4, 8, 9, 10}},        // by key: separators, widths, aliases
      {"CCTV-5", 10, {4, 8, 9, 10}},
      {"cctv5+", 10, {8}},
      {"hnws", 10, {1}},                   // by pinyin initials
      {"hunan", 10, {1, 11}},              // by full pinyin, traditional too
      {"湖南经视", 10, {11}},              // traditional typed as simplified
      {"weishi", 10, {6, 1, 3}},
      {"", 10, {}},
      {"无此台", 10, {}},
      {"cctv", 0, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(finder.find(QString::fromUtf8(c.text), c.limit), c.expected) << c.text;
}

TEST(StationFinderTest, AddressesAreFoundByTextAlone) {
  ListControl list;
  for (const char* a : {"http://a/cctv-5.m3u8", "http://b/cctv5.m3u8", "http://c/hnws.ts"})
    list.addItem(a);
  StationFinder finder(list);
  EXPECT_EQ(finder.find("cctv5", 10), QList<int>{1});
  EXPECT_EQ(finder.find("CCTV-5", 10), QList<int>{0});
  EXPECT_EQ(finder.find("http://c", 10), QList<int>{2});
}

TEST(StationFinderTest, FollowsTheListsEdits) {
  ListControl list;
  list.addItem("Alpha");
  StationFinder finder(list, channelNames());
  list.addItem("Beta");
  EXPECT_EQ(finder.find("alph", 10), QList<int>{0});
  list.insertItem(0, "Alphorn");
  list.insertItem(1, "Gamma");
  list.addItem("Alpine");
  EXPECT_EQ(finder.find("alp", 10), (QList<int>{0, 2, 4}));
  list.removeItem(1);
  EXPECT_EQ(finder.find("a", 10), (QList<int>{0, 1, 3, 2}));
  list.clear();
  EXPECT_EQ(finder.find("a", 10), QList<int>{});
  list.addItem("Gamma");
  EXPECT_EQ(finder.find("MM", 10), QList<int>{0});
}

// 100,000 names of the kind lists hold, under 5,000 channels.
QStringList manyNames() {
  const QStringList channels{"CCTV-%1 综合", "湖南卫视 %1", "鳳凰衛視中文台 %1", "北京卫视[%1]",
                             "Channel %1 HD"};
  QStringList list;
  for (int i = 0; i < 100000; ++i) list << channels[i % channels.size()].arg(i / 20);
  return list;
}

TEST(StationFinderTest, AKeystrokeAmong100000NamesOnlySearches) {
  ListControl list;
  for (const QString& n : manyNames()) list.addItem(n);
  StationFinder finder(list, channelNames());
  // The names are made ready once, about ten microseconds each.
  const qint64 readyMs = msToRun([&] { finder.find("c", 60); });
  EXPECT_LT(readyMs, 2000) << readyMs;
  // Then each keystroke searches them, the worst when nothing is found.
  qint64 worstMs = 0;
  for (const char* typed : {"c", "cc", "cctv", "cctv-9", "hnws", "hunan", "湖南", "频道",
                            "zhongwentai", "channel 4999", "无此台xyz"}) {
    const qint64 ms = msToRun([&] { finder.find(QString::fromUtf8(typed), 60); });
    EXPECT_LT(ms, 30) << typed;
    worstMs = qMax(worstMs, ms);
  }
  RecordProperty("ready_ms", static_cast<int>(readyMs));
  RecordProperty("worst_keystroke_ms", static_cast<int>(worstMs));
}

TEST(StationFinderTest, AppendedNamesAreMadeReadyWhileIdle) {
  ListControl list;
  StationFinder finder(list, channelNames());
  for (const QString& n : manyNames().mid(0, 20000)) list.addItem(n);
  // The program goes idle after the load.
  for (int i = 0; i < 1000; ++i) QCoreApplication::processEvents();
  const qint64 ms = msToRun([&] { EXPECT_EQ(finder.find("hnws 999", 60).size(), 4); });
  EXPECT_LT(ms, 30);
}

}  // namespace
