// The address record beside Text1.
#include "form/address_record.h"

#include <gtest/gtest.h>

#include "base/control_models.h"

namespace {

using search::AddressRecord;

TEST(AddressRecordTest, TextStaysUnderItsBoundWithWholeLinesAndEveryAddressIsKept) {
  TextBox box;
  AddressRecord record(box, 1000);
  for (int i = 0; i < 200; ++i) {
    record.append(QStringLiteral("http://site.cn/page%1").arg(i));
    if (i % 7 == 0) record.flush();
  }
  record.flush();
  EXPECT_LE(box.text().size(), 1000);
  EXPECT_TRUE(box.text().startsWith("http://site.cn/page"));
  EXPECT_TRUE(box.text().endsWith("http://site.cn/page199\r\n"));
  EXPECT_TRUE(record.contains("HTTP://SITE.CN/PAGE0"));
}

TEST(AddressRecordTest, AddressesWrittenByOthersJoinTheRecordAndPendingOnesSurvive) {
  TextBox box;
  AddressRecord record(box);
  record.append("http://a.cn/");
  record.flush();
  record.append("http://b.cn/");
  box.setText("mms://played.cn/x\r" + box.text());
  record.flush();
  EXPECT_EQ(box.text(), "mms://played.cn/x\rhttp://a.cn/\r\nhttp://b.cn/\r\n");
  EXPECT_TRUE(record.contains("MMS://PLAYED.CN/X"));
  box.setText("typed by hand");
  EXPECT_TRUE(record.contains("typed by hand"));
  record.forgetAddresses();
  EXPECT_FALSE(record.contains("http://a.cn/"));
  EXPECT_EQ(box.text(), "typed by hand");
}

TEST(AddressRecordTest, OversizedTextWrittenByOthersIsTrimmedFromTheFront) {
  TextBox box;
  AddressRecord record(box, 100);
  box.setText(QString(90, u'x') + "\r\n" + QString(50, u'y'));
  EXPECT_EQ(box.text(), QString(50, u'y'));
}

}  // namespace
