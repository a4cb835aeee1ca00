#include <gtest/gtest.h>

#include "library/source_lines.h"
#include "library/subscription_list.h"

using library::parseSubscriptions;
using library::readSourceLines;

TEST(SubscriptionList, SourcesSectionsAndBadLines) {
  const auto list = parseSubscriptions(QStringLiteral(
      "# 我的订阅\r\n"
      "央视源,http://a.example/cn.m3u|User-Agent=Box%2F1\r\n"
      "https://b.example/list.txt\n"
      "file:///etc/passwd\n"
      "\n"
      "[blacklist]\n"
      "购物\n"
      "bad.example\n"
      "[whitelist]\n"
      "央视源\n"
      "[sources]\n"
      "http://c.example/x.m3u8?a=1,2\n"));
  ASSERT_EQ(list.sources.size(), 3);
  EXPECT_EQ(list.sources[0].name, QStringLiteral("央视源"));
  EXPECT_EQ(list.sources[0].address, QStringLiteral("http://a.example/cn.m3u|User-Agent=Box%2F1"));
  EXPECT_TRUE(list.sources[0].trusted);
  EXPECT_EQ(list.sources[1].name, list.sources[1].address);
  EXPECT_FALSE(list.sources[1].trusted);
  // A comma in the query names nothing.
  EXPECT_EQ(list.sources[2].address, QStringLiteral("http://c.example/x.m3u8?a=1,2"));
  EXPECT_EQ(list.problems.size(), 1);
  EXPECT_TRUE(list.isBlacklisted(QStringLiteral("家家购物"), QStringLiteral("http://x/")));
  EXPECT_TRUE(list.isBlacklisted(QStringLiteral("A"), QStringLiteral("http://BAD.example/a")));
  EXPECT_FALSE(list.isBlacklisted(QStringLiteral("CCTV-1"), QStringLiteral("http://x/")));
}

TEST(SubscriptionList, WhatASourceGives) {
  const auto list = parseSubscriptions(QStringLiteral("[blacklist]\n购物\n"));
  struct Case {
    const char* what;
    QByteArray body;
    QString address;
    int stations;
    const char* reason;
  };
  const Case cases[] = {
      {"an M3U", "#EXTM3U\n#EXTINF:-1 group-title=\"央视\",CCTV-1\nhttp://x/1.m3u8\n",
       "http://s/a.m3u", 1, ""},
      {"a txt channel list, blacklisted and local lines left out",
       "央视,#genre#\nCCTV-1,http://x/1.m3u8\n购物台,http://x/2.m3u8\n本地,/etc/passwd\n"
       "文件,file:///etc/hosts\n",
       "http://s/b.txt", 1, ""},
      {"a web page", "<!DOCTYPE html><html><body><a href='http://x/1.m3u8'>1</a></body></html>",
       "http://s/c.txt", 0, "not_a_playlist"},
      {"binary bytes", QByteArray("\x00\x01\x02 http://x/1.m3u8\n", 20), "http://s/d.m3u", 0,
       "not_a_playlist"},
      {"only local files", "#EXTM3U\n#EXTINF:-1,A\n/dev/zero\n", "http://s/e.m3u", 0, "empty"},
      {"nothing", "\r\n", "http://s/f.m3u", 0, "empty"},
  };
  for (const Case& c : cases) {
    const auto lines = readSourceLines(c.body, c.address, list);
    EXPECT_EQ(lines.stations.size(), c.stations) << c.what;
    EXPECT_EQ(lines.reason, QString::fromUtf8(c.reason)) << c.what;
  }
}
