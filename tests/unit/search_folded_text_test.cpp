// Case-blind searches that remember their answers.
#include "search/folded_text.h"

#include <gtest/gtest.h>

namespace {

using search::FoldedText;

TEST(FoldedTextTest, RememberedAnswersHoldForLaterStartsAndAreRedoneForEarlierOnes) {
  FoldedText text("a HTTP://x b http://y c");
  EXPECT_EQ(text.find(0, u"http://", 0, text.size()), 2);
  EXPECT_EQ(text.find(0, u"http://", 2, text.size()), 2);
  EXPECT_EQ(text.find(0, u"http://", 3, text.size()), 13);
  EXPECT_EQ(text.find(0, u"http://", 14, text.size()), -1);
  EXPECT_EQ(text.find(0, u"http://", 1, text.size()), 2) << "an earlier start searches again";
  EXPECT_EQ(text.find(1, u"c", 0, text.size()), 22) << "each slot keeps its own answer";
}

TEST(FoldedTextTest, OccurrenceMustEndInsideTheWindow) {
  FoldedText text("xx.asx yy");
  EXPECT_EQ(text.find(0, u".asx", 0, 6), 2);
  EXPECT_EQ(text.find(0, u".asx", 0, 5), -1);
  EXPECT_EQ(text.find(1, u"", 0, 9), -1) << "an empty marker is never found";
  EXPECT_EQ(text.findExact(u"yy", 0, 9), 7);
  EXPECT_EQ(text.findExact(u"YY", 0, 9), -1);
  EXPECT_EQ(text.findLast(u'x', 0, 5), 1);
  EXPECT_EQ(text.findLast(u'y', 0, 7), -1);
}

TEST(FoldedTextTest, FoldingKeepsEveryPosition) {
  const QString text = QString::fromUtf16(u"\u0130STANBUL mms://A");
  FoldedText folded(text);
  EXPECT_EQ(folded.folded().size(), text.size());
  EXPECT_EQ(folded.find(0, u"mms://a", 0, folded.size()), 9);
}

}  // namespace
