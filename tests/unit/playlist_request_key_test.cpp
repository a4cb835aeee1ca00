#include <gtest/gtest.h>

#include "playlists/station_file.h"

namespace {

// Two address texts make the same request exactly when their keys match.
TEST(RequestKeyTest, SameBareAddressAndHeadersAreOneRequest) {
  struct Case {
    QString a;
    QString b;
    bool same;
  };
  const Case cases[] = {
      {"http://h/a.m3u8", "HTTP://H:80/a.m3u8", true},
      {"http://h/a.m3u8", "http://h/A.m3u8", false},
      {"http://h/a|Referer=http://p/", "http://h/a", false},
      {"http://h/a|Referer=http://p/", "http://h/a|Referer=http://q/", false},
      {"http://h/a|Referer=http://p/&User-Agent=Box", "http://h/a|user-agent=Box&referer=http://p/",
       true},
      {"http://h/a|Referer=http%3A%2F%2Fp%2F", "http://h/a|Referer=http://p/", true},
      {"http://h/a|User-Agent=Box", "http://h/a|User-Agent=box", false},
      // A malformed suffix is never sent: the bare address is the request.
      {"http://h/a|Referer", "http://h/a", true},
      {"http://h/a|Referer=a%26Cookie%3Db", "http://h/a|Referer=a&Cookie=b", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(playlists::requestKey(c.a) == playlists::requestKey(c.b), c.same)
        << c.a.toStdString() << " / " << c.b.toStdString();
    // Every request key of one bare address has the same known address key.
    if (c.same) {
      EXPECT_EQ(playlists::knownAddressKey(c.a), playlists::knownAddressKey(c.b)) << c.a.toStdString();
    }
  }
}

}  // namespace
