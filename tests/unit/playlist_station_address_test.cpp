#include <gtest/gtest.h>

#include "playlists/station_address.h"

using playlists::RequestHeader;
using playlists::StationAddress;

TEST(StationAddressTest, SplitsTheHeaderSuffixAndDropsAMalformedOneWhole) {
  struct Case {
    QString text;
    QString bare;
    QList<RequestHeader> headers;
  };
  const QString tooLong = QStringLiteral("http://h/a|Referer=") + QString(9000, u'x');
  const Case cases[] = {
      {"http://h/a.m3u8", "http://h/a.m3u8", {}},
      {"http://h/a|", "http://h/a", {}},
      {"http://h/a|Referer=http://p/x?a=1%26b=2&user-agent=Box 1.0",
       "http://h/a",
       {{"Referer", "http://p/x?a=1&b=2"}, {"user-agent", "Box 1.0"}}},
      {"http://h/a | Origin=http://p", "http://h/a", {{"Origin", "http://p"}}},
      {"http://h/a|Referer", "http://h/a", {}},
      {"http://h/a|=v", "http://h/a", {}},
      {"http://h/a|Bad Name=v", "http://h/a", {}},
      {"http://h/a|Referer=x%0D%0ASet-Cookie: a", "http://h/a", {}},
      {"http://h/a|Cookie=a&Referer", "http://h/a", {}},
      {tooLong, "http://h/a", {}},
      {"http://h/a|Referer=x%0By", "http://h/a", {}},
      {"http://h/a|Referer=x%1B[2J&Origin=o", "http://h/a", {}},
      {"http://h/a|Referer=x%7F", "http://h/a", {}},
      {"http://h/a|Referer=x%09y", "http://h/a", {{"Referer", "x\ty"}}},
      {"http://h/a|User-Agent=&Referer=r", "http://h/a", {{"Referer", "r"}}},
      {"http://h/a|user-agent=A&User-Agent=B", "http://h/a", {{"user-agent", "A"}}},
      {"http://h/a|Host=evil&Content-Length=0&transfer-encoding=chunked&Connection=close&Referer=r",
       "http://h/a",
       {{"Referer", "r"}}},
  };
  for (const Case& c : cases) {
    const StationAddress a = StationAddress::parse(c.text);
    EXPECT_EQ(a.bare, c.bare) << c.text.toStdString();
    EXPECT_EQ(a.headers, c.headers) << c.text.toStdString();
    EXPECT_EQ(playlists::bareAddress(c.text), c.bare) << c.text.toStdString();
  }
}

TEST(StationAddressTest, TextRoundTripsAndHoldsNoComma) {
  const StationAddress a{"http://h/a.flv",
                         {{"User-Agent", "Mozilla/5.0 (X11; Linux, like Gecko)"},
                          {"Referer", "http://p/x?a=1&b=%41"}}};
  const QString text = a.text();
  EXPECT_FALSE(text.contains(u','));
  const StationAddress back = StationAddress::parse(text);
  EXPECT_EQ(back.bare, a.bare);
  EXPECT_EQ(back.headers, a.headers);
  EXPECT_EQ(back.header("user-agent"), "Mozilla/5.0 (X11; Linux, like Gecko)");
  EXPECT_EQ(playlists::withHeader(text, "Referer", "http://other/"), text);
}

// One request per bare address (as the duplicate key sees it) and set of
// headers, whatever the order and the case of their names.
TEST(StationAddressTest, RequestKeyTellsRequestsApart) {
  const struct {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"http://h/a", "HTTP://H:80/a", true},
      {"http://h/a|Referer=r&User-Agent=u", "http://h:80/a|user-agent=u&referer=r", true},
      {"http://h/a|Referer=r", "http://h/a | Referer= r ", true},
      {"http://h/a", "http://h/a|Referer=r", false},
      {"http://h/a|Referer=r", "http://h/a|Referer=R", false},
      {"http://h/a|Referer=r", "http://h/a|Origin=r", false},
      {"http://h/a|Referer=r", "http://h/b|Referer=r", false},
      {"http://h/a|Referer", "http://h/a", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(playlists::requestKey(c.a) == playlists::requestKey(c.b), c.same)
        << c.a << " / " << c.b;
}
