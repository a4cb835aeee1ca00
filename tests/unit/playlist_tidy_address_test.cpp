// The stored form of an address and the key that finds duplicates.
#include <gtest/gtest.h>

#include "playlists/network_address.h"
#include "playlists/tidy_address.h"

using namespace playlists;

TEST(DuplicateKey, SchemeAndHostCaseAndDefaultPortsDoNotMatter) {
  const QString key = playlists::duplicateKey(QStringLiteral("http://radio.example.com/Live.mp3"));
  for (const char* same :
       {"HTTP://Radio.Example.COM/Live.mp3", "http://radio.example.com:80/Live.mp3",
        "Http://RADIO.example.com:/Live.mp3"})
    EXPECT_EQ(playlists::duplicateKey(QString::fromUtf8(same)), key) << same;
  for (const char* other :
       {"http://radio.example.com/live.mp3", "http://radio.example.com:8080/Live.mp3",
        "https://radio.example.com/Live.mp3"})
    EXPECT_NE(playlists::duplicateKey(QString::fromUtf8(other)), key) << other;

  EXPECT_EQ(playlists::duplicateKey("HTTPS://A.example.com:443"), "https://a.example.com");
  EXPECT_EQ(playlists::duplicateKey("rtsp://A.example.com:554/s?x=Y#F"), "rtsp://a.example.com/s?x=Y#F");
  EXPECT_EQ(playlists::duplicateKey("mms://A.example.com:1755/s"), "mms://a.example.com/s");
  EXPECT_EQ(playlists::duplicateKey("mms://A.example.com:80/s"), "mms://a.example.com:80/s");
  EXPECT_EQ(playlists::duplicateKey("http://User:Pw@Host.example.com:80/"),
            "http://User:Pw@host.example.com/");
  EXPECT_EQ(playlists::duplicateKey("http://[::1]:80/a"), "http://[::1]/a");
  EXPECT_EQ(playlists::duplicateKey("http://[::1]:81/a"), "http://[::1]:81/a");
  EXPECT_EQ(playlists::duplicateKey("/Music/A.mp3"), "/Music/A.mp3");
}

TEST(TidyAddress, StoredFormsAndProblems) {
  const QString base = QStringLiteral("/lists");
  EXPECT_EQ(playlists::tidyAddress(" http://a.example.com/x y,z.mp3\t", base).address,
            "http://a.example.com/x%20y%2Cz.mp3");
  EXPECT_EQ(playlists::tidyAddress("http://a.example.com/already%20encoded", base).address,
            "http://a.example.com/already%20encoded");
  EXPECT_EQ(playlists::tidyAddress("rel/a.mp3", base).address, "/lists/rel/a.mp3");
  EXPECT_EQ(playlists::tidyAddress("../b.mp3", base).address, "/b.mp3");
  EXPECT_EQ(playlists::tidyAddress("dir /", base).address, "/lists/dir");
  EXPECT_EQ(playlists::tidyAddress("dir/ / /", base).address, "/lists/dir");
  EXPECT_EQ(playlists::tidyAddress("C:\\Music\\a.mp3", base).address, "C:\\Music\\a.mp3");
  EXPECT_FALSE(playlists::tidyAddress("mms://a.example.com/live", base).problem);

  EXPECT_EQ(playlists::tidyAddress("   ", base).problem, playlists::AddressProblem::Empty);
  EXPECT_EQ(playlists::tidyAddress("http://x/" + QString(playlists::kMaxAddressLength, u'a'), base).problem,
            playlists::AddressProblem::TooLong);
  EXPECT_EQ(playlists::tidyAddress("http://x/a\x1b", base).problem, playlists::AddressProblem::ControlCharacters);
  EXPECT_EQ(playlists::tidyAddress("http://", base).problem, playlists::AddressProblem::Malformed);
  EXPECT_EQ(playlists::tidyAddress("http://bad host/", base).problem, playlists::AddressProblem::Malformed);
  EXPECT_EQ(playlists::tidyAddress("/music/a,b.mp3", base).problem, playlists::AddressProblem::CommaInPath);
}

TEST(NameFromAddress, FileNameWithoutExtensionElseHostElseTheAddress) {
  const struct {
    const char* address;
    const char* name;
  } cases[] = {
      {"http://a.example.com/live/%E4%B8%AD%E5%A4%AE.m3u8?token=1#x", "中央"},
      {"http://user@a.example.com:8080/dir/news.tar.gz", "news.tar"},
      {"http://a.example.com:8080/", "a.example.com"},
      {"rtsp://a.example.com?x=/b.rm", "a.example.com"},
      {"/music/song.mp3", "song"},
      {"/music/.hidden", "/music/.hidden"},
  };
  for (const auto& c : cases) EXPECT_EQ(playlists::nameFromAddress(c.address), c.name) << c.address;
}

// Remote lists and pages may name streams on any network transport the
// engines play, and never a local file or an engine's own protocol.
TEST(NetworkScheme, NetworkTransportsOnly) {
  const struct {
    const char* address;
    bool network;
  } cases[] = {
      {"http://a/x.m3u8", true},         {"HTTPS://a/x", true},
      {"ftp://a/x.mp3", true},           {"mmsh://a/x", true},
      {"rtsp://a/x", true},              {"rtmpte://a/x", true},
      {"rtp://239.3.1.241:8000", true},  {"udp://@239.93.0.184:5140", true},
      {"srt://a:9000?mode=caller", true}, {"rist://a:1968", true},
      {"file:///etc/passwd", false},     {"/etc/passwd", false},
      {"av://lavfi:sine", false},        {"lavf://x", false},
      {"memory://x", false},             {"edl://a;b", false},
      {"udp://", false},                 {"://a", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(playlists::hasNetworkScheme(QString::fromUtf8(c.address)), c.network) << c.address;
}
