// Hostile pages: huge, deep, broken, or scanned with broken marker lists.
#include "playlists/station_files.h"
#include "search_fixture.h"

namespace {

class SearchBadInputTest : public SearchTest {
 protected:
  SearchBadInputTest() { f.SearchState = kSearchRunning; }
  void load(const Document& d) { web.complete("http://bad.cn/", d); }
};

TEST_F(SearchBadInputTest, FiftyMegabytePageIsScannedThrough) {
  const QString filler = QStringLiteral("<p>news of the day, nothing to play here</p>\n");
  QString text;
  text.reserve(50 << 20);
  for (int i = 0; text.size() < (50 << 20); ++i) {
    text += filler.repeated(200);
    text += QStringLiteral("<a href=\"mms://tv.cn/%1\">台%1</a>\n").arg(i);
  }
  // The root element and the body both hold the whole page.
  load(elementsOnly({text, text}));
  EXPECT_GT(f.dz1.count(), 1000);
  EXPECT_TRUE(f.Timer9.enabled());
}

TEST_F(SearchBadInputTest, HundredThousandNestedElementsNeedNoDeepStack) {
  const int depth = 100000;
  const QString nested = QStringLiteral("<div>").repeated(depth) +
                         QStringLiteral("<a href=\"mms://tv.cn/deep\">深</a>") +
                         QStringLiteral("</div>").repeated(depth);
  QStringList elements{nested};
  for (int i = 0; i < depth; ++i) elements << QStringLiteral("<div></div>");
  load(elementsOnly(elements));
  EXPECT_EQ(foundAddresses(), QStringList({"mms://tv.cn/deep"}));
}

TEST_F(SearchBadInputTest, HundredThousandAddressesInOneElementAreScannedInALoop) {
  QString text;
  for (int i = 0; i < 100000; ++i) text += QStringLiteral("<a href=\"mms://tv.cn/%1\">%1</a>").arg(i);
  load(elementsOnly({text}));
  // Each address is named by the next entry's text, and the scan goes on
  // after that entry, with the text a little shorter each time: nearly every
  // second address is taken.
  EXPECT_GT(f.dz1.count(), 40000);
  EXPECT_EQ(f.tvm.item(0), "tvm0");
}

TEST_F(SearchBadInputTest, MegabyteAddressWithoutEndMarkerIsNotKept) {
  const QString text = QStringLiteral("<p>http://long.cn/") + QString(1 << 20, u'a');
  load(elementsOnly({text, text, text}));
  EXPECT_EQ(f.tvmx.count() + f.List1.count(), 0);
  EXPECT_LE(f.Text1.text().size(), 1 << 20);
}

TEST_F(SearchBadInputTest, BrokenCharactersReachListsAndFileWithoutHarm) {
  const QString broken = QString(QChar(0xD800)) + QStringLiteral("台") + QChar(0xFFFD);
  load(page({link("mms://tv.cn/" + broken, broken)}));
  ASSERT_EQ(f.tvm.count(), 1);
  EXPECT_EQ(f.tvm.item(0), broken);
  EXPECT_EQ(readLines(library::kScannedFile).size(), 1);
}

// A link text across lines must not end the station line early, where the
// rest of it would read as a station of its own; an address holding a NUL
// or a line break is no station.
TEST_F(SearchBadInputTest, LineBreaksInTheTextForgeNoStation) {
  const QString nul(QChar(0));
  load(page({link("mms://tv.cn/a", "甲\nevil,file:///etc/passwd"),
             link("mms://tv.cn/b", "乙\r\n" + nul + "\t丙"), link("mms://tv.cn/c", "\n"),
             link("mms://tv.cn/d" + nul + "x", "丁"), link("mms://tv.cn/e\nx", "戊")}));
  EXPECT_EQ(f.tvm.items(), QStringList({"甲 evil，file:///etc/passwd", "乙 丙", "未知"}));
  EXPECT_EQ(readLines(library::kScannedFile),
            QStringList({"甲 evil，file:///etc/passwd,mms://tv.cn/a|Referer=http://bad.cn/,",
                         "乙 丙,mms://tv.cn/b|Referer=http://bad.cn/,",
                         "未知,mms://tv.cn/c|Referer=http://bad.cn/,"}));
}

TEST_F(SearchBadInputTest, ScannedStationFileWithBrokenBytesKeepsItsStations) {
  writeBytes(library::kScannedFile, "\xff\xfe\x80,mms://tv.cn/junk,\r\nold,mms://tv.cn/old,\r\n");
  load(page({link("mms://tv.cn/new", "new")}));
  const QStringList lines = readLines(library::kScannedFile);
  EXPECT_TRUE(lines.contains("old,mms://tv.cn/old,"));
  EXPECT_EQ(lines.last(), "new,mms://tv.cn/new|Referer=http://bad.cn/,");
}

TEST_F(SearchBadInputTest, MarkerListsWithoutSemicolonFindNothingAndEmptyOnesAskOnce) {
  const Document d = elementsOnly({"<a href=\"mms://tv.cn/a\">甲</a>", "<embed src=\"mms://tv.cn/b\">"});
  f.Text4.setText("mms://");
  load(d);
  f.Text4.setText("mms://;rtsp://");
  f.Text5.setText("\"");
  load(d);
  EXPECT_EQ(f.dz1.count(), 0);
  EXPECT_TRUE(host.messages.isEmpty());
  f.Text5.setText(QString());
  load(d);
  EXPECT_EQ(host.messages.size(), 1);
  EXPECT_EQ(f.dz1.count(), 0);
}

TEST_F(SearchBadInputTest, LongLinkTargetIsKeptWholeUpTo8KiB) {
  const QString target = "http://tv.cn/" + QString(8000, u'x') + ".asx";
  const QString tooLong = "http://tv.cn/" + QString(100 * 1024, u'x') + ".asx";
  load(page({link(target, "长"), link(tooLong, "太长")}));
  EXPECT_EQ(foundAddresses(), QStringList({target}));
  EXPECT_EQ(readLines(library::kScannedFile),
            QStringList({"长," + target + "|Referer=http://bad.cn/,"}));
}

}  // namespace
