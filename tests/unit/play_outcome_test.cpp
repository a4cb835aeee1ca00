#include <gtest/gtest.h>

#include "form/play_outcome.h"

using check::Outcome;

// Merged reports are read back by their reason words: every failure comes
// back as itself, and a line with no reason is never taken for a pass.
TEST(PlayOutcome, ReasonWordsReadBackAsTheirOutcome) {
  for (const Outcome o : check::kAllOutcomes) {
    if (o == Outcome::Playing) continue;
    EXPECT_EQ(check::outcomeOfKey(check::reasonKey(o)), o) << check::reasonKey(o).toStdString();
  }
  EXPECT_EQ(check::outcomeOfKey(QString()), std::nullopt);
  EXPECT_EQ(check::outcomeOfKey(QStringLiteral("refused ")), std::nullopt);
}

// The window tells an outcome in Chinese with its hint; reports add the
// English words after the same text.
TEST(PlayOutcome, WindowAndReportsTellTheSameWords) {
  for (const Outcome o : check::kAllOutcomes) {
    const QString window = check::failureText(o);
    EXPECT_FALSE(window.isEmpty());
    EXPECT_TRUE(check::outcomeText(o).startsWith(window + u' ')) << window.toStdString();
  }
  EXPECT_EQ(check::failureText(Outcome::Forbidden),
            QStringLiteral("禁止访问（防盗链/Referer、地区限制或令牌过期）"));
}
