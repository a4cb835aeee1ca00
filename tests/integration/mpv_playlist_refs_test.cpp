#include <gtest/gtest.h>

#include "engines/playlist_refs.h"

namespace {

using namespace playlistrefs;

TEST(PlaylistRefs, KindComesFromTheExtensionInAnyCase) {
  EXPECT_EQ(kindOf("http://h/a/b.RAM"), Kind::Ram);
  EXPECT_EQ(kindOf("http://h/a/b.ram?x=1"), Kind::Ram);
  EXPECT_EQ(kindOf("/tmp/play/temp/x.Asx"), Kind::Asx);
  EXPECT_EQ(kindOf("mms://h/x.wax"), Kind::Asx);
  EXPECT_EQ(kindOf("http://h/x.rm"), Kind::None);
  EXPECT_EQ(kindOf("http://h/x.asx.mp3"), Kind::None);
  EXPECT_EQ(kindOf(""), Kind::None);
}

TEST(PlaylistRefs, RamSkipsBlankLinesCommentsAndStopMarkers) {
  const QString text = QStringLiteral(
      "\xFEFF# heading\r\n\r\n  rtsp://a/1.rm  \r\n--stop--\r\nhttp://b/2.rm\n\n#x\nfile:///c.rm");
  EXPECT_EQ(parseRam(text), (QStringList{"rtsp://a/1.rm", "http://b/2.rm", "file:///c.rm"}));
  EXPECT_TRUE(parseRam("").isEmpty());
  EXPECT_TRUE(parseRam("\r\n# only comments\r\n--stop--").isEmpty());
}

TEST(PlaylistRefs, AsxReadsEveryRefHrefHoweverWritten) {
  const QString text = QStringLiteral(
      "<ASX version=\"3.0\"><TITLE>t</TITLE>\n"
      "<!-- <ref href=\"http://commented/out\"/> -->\n"
      "<Entry><REF HREF=\"mms://a/1\"/><ref  href = 'http://b/2?x=1&amp;y=2' />\n"
      "<Ref Href=http://c/3></Entry>\n"
      "<entry><ref title=\"x\" href=\"http://d/&#x34;\"></ref><ref href=\"\"/>"
      "<refx href=\"http://not/a/ref\"/><entryref href=\"http://other.asx\"/></entry></ASX>");
  EXPECT_EQ(parseAsx(text),
            (QStringList{"mms://a/1", "http://b/2?x=1&y=2", "http://c/3", "http://d/4"}));
}

TEST(PlaylistRefs, MalformedAsxGivesWhatCanBeRead) {
  EXPECT_TRUE(parseAsx("<asx><entry><ref href=").isEmpty());
  EXPECT_TRUE(parseAsx("not xml at all").isEmpty());
  EXPECT_EQ(parseAsx("<asx><ref href=\"http://a/1\"><entry"), QStringList{"http://a/1"});
}

TEST(PlaylistRefs, RelativeEntriesResolveAgainstTheList) {
  EXPECT_EQ(entries(Kind::Ram, "a.rm\n/b.rm\nrtsp://h/c.rm", "http://host/dir/list.ram"),
            (QStringList{"http://host/dir/a.rm", "http://host/b.rm", "rtsp://h/c.rm"}));
  EXPECT_EQ(entries(Kind::Asx, "<ref href=\"a.wmv\"/><ref href=\"/abs/b.wmv\"/>",
                    "/home/u/temp/x.asx"),
            (QStringList{"/home/u/temp/a.wmv", "/abs/b.wmv"}));
}

TEST(PlaylistRefs, ListsFromTheNetworkKeepOnlyNetworkAddresses) {
  const QString text = QStringLiteral(
      "<ref href=\"file:///etc/passwd\"/><ref href=\"http://a/1\"/><ref href=\"/abs/local.wmv\"/>"
      "<ref href=\"mmsh://b/2\"/><ref href=\"av://lavfi:sine\"/><ref href=\"rtmp://c/3\"/>"
      "<ref href=\"memory://x\"/><ref href=\"rtsp://d/4\"/>");
  struct Case {
    const char* listAddress;
    QStringList kept;
  };
  const Case cases[] = {
      {"http://host/dir/list.asx",
       {"http://a/1", "http://host/abs/local.wmv", "mmsh://b/2", "rtmp://c/3", "rtsp://d/4"}},
      {"mms://host/list.asx",
       {"http://a/1", "mms://host/abs/local.wmv", "mmsh://b/2", "rtmp://c/3", "rtsp://d/4"}},
      {"/home/u/temp/x.asx",
       {"file:///etc/passwd", "http://a/1", "/abs/local.wmv", "mmsh://b/2", "av://lavfi:sine",
        "rtmp://c/3", "memory://x", "rtsp://d/4"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(entries(Kind::Asx, text, c.listAddress), c.kept) << c.listAddress;
  EXPECT_EQ(entries(Kind::Ram, "file:///etc/passwd\nhttp://a/1.rm\n", "http://host/x.ram"),
            QStringList{"http://a/1.rm"});
}

}  // namespace
