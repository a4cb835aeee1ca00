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

}  // namespace
