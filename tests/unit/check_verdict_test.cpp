#include <gtest/gtest.h>

#include "check/check_verdict.h"

using check::Outcome;

// Merged reports are read back by their reason words: every failure comes
// back as itself, and a line with no reason is never taken for a pass.
TEST(CheckVerdict, ReasonWordsReadBackAsTheirOutcome) {
  for (const Outcome o : check::kAllOutcomes) {
    if (o == Outcome::Playing) continue;
    EXPECT_EQ(check::outcomeOfKey(check::reasonKey(o)), o) << check::reasonKey(o).toStdString();
  }
  EXPECT_EQ(check::outcomeOfKey(QString()), std::nullopt);
  EXPECT_EQ(check::outcomeOfKey(QStringLiteral("refused ")), std::nullopt);
}
