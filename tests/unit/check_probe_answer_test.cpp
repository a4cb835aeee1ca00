#include <gtest/gtest.h>

#include <QUrl>

#include "check/probe_answer.h"

TEST(ProbeAnswerTest, VariantsOfARemoteMasterPlaylistAreNetworkAddressesOnly) {
  const QByteArray master =
      "#EXTM3U\n"
      "#EXT-X-STREAM-INF:BANDWIDTH=1\nlow/index.m3u8\n"
      "#EXT-X-STREAM-INF:BANDWIDTH=2\nfile:///etc/passwd\n"
      "#EXT-X-STREAM-INF:BANDWIDTH=3\n/abs/hi.m3u8\n"
      "#EXT-X-STREAM-INF:BANDWIDTH=4\nav://lavfi:sine\n"
      "#EXT-X-STREAM-INF:BANDWIDTH=5\nhttps://cdn.example.com/v.m3u8\n";
  EXPECT_EQ(check::variantsOf(master, QUrl("http://127.0.0.1:8080/live/master.m3u8")),
            (QStringList{"http://127.0.0.1:8080/live/low/index.m3u8",
                         "http://127.0.0.1:8080/abs/hi.m3u8", "https://cdn.example.com/v.m3u8"}));
}
