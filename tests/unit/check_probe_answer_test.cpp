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

// A live stream its server calls audio or video needs no body before the
// engine takes over, nor does an ICY or RTSP answer; other HTTP answers need
// their first bytes.
TEST(ProbeAnswerTest, TheHeadOfALiveAudioOrVideoStreamIsEnough) {
  const struct {
    const char* head;
    bool enough;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n", true},
      {"HTTP/1.0 200 OK\r\nContent-Type: Video/MP2T; x=1\r\n\r\n", true},
      {"HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\nContent-Length: 9000\r\n\r\n", false},
      {"HTTP/1.1 200 OK\r\nContent-Type: audio/x-mpegurl\r\n\r\n", false},
      {"HTTP/1.1 200 OK\r\nContent-Type: audio/aac\r\nTransfer-Encoding: chunked\r\n\r\n", false},
      {"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n", false},
      {"HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\n", false},
      {"ICY 200 OK\r\nicy-name: x\r\n\r\n", true},
      {"RTSP/1.0 200 OK\r\nCSeq: 1\r\n\r\n", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(check::parseAnswer(c.head).enough(false), c.enough) << c.head;
}

// A list of addresses is no media the engine could read on from the probe,
// whatever its server calls it.
TEST(ProbeAnswerTest, KindsOfBody) {
  const struct {
    const char* answer;
    check::BodyKind kind;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Type: audio/x-scpls\r\n\r\n[playlist]\nFile1=a.mp3\n",
       check::BodyKind::AddressList},
      {"HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n<ASX version=\"3\"><entry>",
       check::BodyKind::AddressList},
      {"HTTP/1.1 200 OK\r\n\r\n#EXTM3U\nhttp://h/a.mp3\n", check::BodyKind::AddressList},
      {"HTTP/1.1 200 OK\r\n\r\n#EXTM3U\n#EXT-X-TARGETDURATION:2\n", check::BodyKind::MediaPlaylist},
      {"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<p>hi", check::BodyKind::WebPage},
      {"HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n\xff\xfb\x90\x01",
       check::BodyKind::Unknown},
      {"HTTP/1.1 200 OK\r\n\r\nhttp://h/a.mp3\nhttp://h/b.mp3\n", check::BodyKind::AddressList},
      // An encoder's name in a video's first frame is no list.
      {"HTTP/1.1 200 OK\r\nContent-Type: video/mp4\r\n\r\n\x01\x02\x03\x04x264 - "
       "http://www.videolan.org/x264.html",
       check::BodyKind::Unknown},
  };
  for (const auto& c : cases)
    EXPECT_EQ(check::kindOf(check::parseAnswer(c.answer)), c.kind) << c.answer;
}
