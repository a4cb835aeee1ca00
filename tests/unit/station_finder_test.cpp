#include <gtest/gtest.h>

#include "base/control_models.h"
#include "library/station_finder.h"

namespace {

QStringList names() {
  return {"CCTV-1 综合", "湖南卫视", "cctv-2 财经", "凤凰卫视 HD", "ＣＣＴＶ－５ 体育",
          "Radio CCTV", "卫视台", "ｈｄ电影"};
}

TEST(StationFinderTest, FindsContainingTextsStartersFirst) {
  ListControl list;
  for (const QString& n : names()) list.addItem(n);
  StationFinder finder(list);
  const struct {
    const char* text;
    int limit;
    QList<int> expected;
  } cases[] = {
      {"cctv", 10, {0, 2, 4, 5}},    // any case, full-width forms too
      {"ＣＣＴＶ", 10, {0, 2, 4, 5}},  // typed full-width finds half-width
      {"卫视", 10, {6, 1, 3}},        // the starter first, then list order
      {"hd", 10, {7, 3}},
      {"cctv", 2, {0, 2}},           // the limit keeps the starters
      {"-5", 10, {4}},               // full-width hyphen
      {"", 10, {}},
      {"无此台", 10, {}},
      {"cctv", 0, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(finder.find(QString::fromUtf8(c.text), c.limit), c.expected) << c.text;
}

TEST(StationFinderTest, FollowsTheListsEdits) {
  ListControl list;
  list.addItem("Alpha");
  StationFinder finder(list);
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

}  // namespace
