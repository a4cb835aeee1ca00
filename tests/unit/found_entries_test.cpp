#include <QDir>
#include <QFileInfo>

#include "file_permissions.h"
#include "form_fixture.h"
#include "library/found_entries.h"

namespace {
const QString kFound = QStringLiteral("tv_lib_ss_jg.txt");
}  // namespace

class FoundEntriesTest : public FormTest {
 protected:
  void append(const QString& entry) { library::AppendFoundEntry(f, entry); }
};

TEST_F(FoundEntriesTest, MissingFileIsCreatedInGbkWithCrLf) {
  append("中央一台,mms://a,");
  EXPECT_EQ(readBytes(kFound), "\xd6\xd0\xd1\xeb\xd2\xbb\xcc\xa8,mms://a,\r\n");
}

TEST_F(FoundEntriesTest, EntryBecomesTheLastLineAndOldBytesStayExact) {
  // GBK text, and a hand-edited line with bytes that are neither UTF-8 nor GBK.
  for (const QByteArray old : {"\xb1\xb1\xbe\xa9,mms://b,\r\nx,rtsp://c,\r\n",
                               "\x80\xff name,mms://a,\r\n"}) {
    writeBytes(kFound, old);
    append("新闻台,mms://n,");
    EXPECT_EQ(readBytes(kFound), old + "\xd0\xc2\xce\xc5\xcc\xa8,mms://n,\r\n");
  }
}

TEST_F(FoundEntriesTest, EntryInsideALongerLineWritesNothing) {
  const QByteArray old = "CCTV1,mms://live.example/cctv1,extra\r\n";
  writeBytes(kFound, old);
  append("mms://live.example/cctv1");
  append("CCTV1,mms://live.example/cctv1,");
  EXPECT_EQ(readBytes(kFound), old);
}

TEST_F(FoundEntriesTest, SubstringTestIsCaseSensitive) {
  writeLines(kFound, {"a,mms://host/x,"});
  append("A,MMS://HOST/X,");
  EXPECT_EQ(readLines(kFound), QStringList({"a,mms://host/x,", "A,MMS://HOST/X,"}));
}

TEST_F(FoundEntriesTest, EmptyEntryWritesNothing) {
  append("");
  EXPECT_FALSE(exists(kFound));
}

TEST_F(FoundEntriesTest, EmptyFileGetsTheEntryAsItsOnlyLine) {
  writeBytes(kFound, "");
  append("甲,mms://a,");
  EXPECT_EQ(readLines(kFound), QStringList({"甲,mms://a,"}));
}

TEST_F(FoundEntriesTest, HandEditedLastLineWithoutLineEndStaysWhole) {
  writeBytes(kFound, "a,mms://a,\r\nb,mms://b,");
  append("c,mms://c,");
  EXPECT_EQ(readBytes(kFound), "a,mms://a,\r\nb,mms://b,\r\nc,mms://c,\r\n");
}

TEST_F(FoundEntriesTest, Utf8FileKeepsItsChineseNames) {
  writeBytes(kFound, "中央一台,mms://a,\n");
  append("北京,mms://b,");
  EXPECT_EQ(readLines(kFound), QStringList({"中央一台,mms://a,", "北京,mms://b,"}));
}

TEST_F(FoundEntriesTest, StoredNameWhoseGbkBytesLookLikeUtf8SurvivesAnAppend) {
  append("台,mms://a,");
  append("乙,mms://b,");
  append("台,mms://a,");
  EXPECT_EQ(readLines(kFound), QStringList({"台,mms://a,", "乙,mms://b,"}));
}

TEST_F(FoundEntriesTest, FileThatCannotBeReadIsNeverReplaced) {
  ASSERT_TRUE(QDir(dir.path()).mkdir(kFound));
  append("a,mms://a,");
  EXPECT_TRUE(QFileInfo(f.path(kFound)).isDir());
}

TEST_F(FoundEntriesTest, FileWithoutReadPermissionIsNeverReplaced) {
  writeLines(kFound, {"a,mms://a,"});
  QFile::setPermissions(f.path(kFound), QFileDevice::WriteOwner);
  {
    FilePermissionsBind asUser;
    ASSERT_TRUE(asUser.bound());
    append("b,mms://b,");
  }
  QFile::setPermissions(f.path(kFound), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_EQ(readLines(kFound), QStringList({"a,mms://a,"}));
}

TEST_F(FoundEntriesTest, SaveLastFoundEntryKeepsTheOtherStations) {
  writeLines(kFound, {"甲,mms://a,", "乙,mms://b,", "丙,mms://c,"});
  f.Text2.setText("丁,mms://d,");
  library::SaveLastFoundEntry(f);
  library::SaveLastFoundEntry(f);
  EXPECT_EQ(readLines(kFound),
            QStringList({"甲,mms://a,", "乙,mms://b,", "丙,mms://c,", "丁,mms://d,"}));
}

TEST_F(FoundEntriesTest, SaveLastFoundEntryWithEmptyTextWritesNothing) {
  const QByteArray old = "甲,mms://a,\r\n";
  writeBytes(kFound, old);
  f.Text2.setText("");
  library::SaveLastFoundEntry(f);
  EXPECT_EQ(readBytes(kFound), old);
}

TEST_F(FoundEntriesTest, RecordFoundAddressStoresItUnderTheCurrentName) {
  writeLines(kFound, {"甲,mms://a,"});
  f.tvm.setText("直播");
  f.dz1.addItem("mms://x");
  library::RecordFoundAddress(f, "mms://live/1");
  EXPECT_EQ(f.dz1.text(), "mms://live/1");
  EXPECT_EQ(f.dz1.listIndex(), -1);
  library::RecordFoundAddress(f, "mms://x");
  EXPECT_EQ(f.dz1.listIndex(), 0);
  library::RecordFoundAddress(f, "mms://live/1");
  EXPECT_EQ(readLines(kFound),
            QStringList({"甲,mms://a,", "直播,mms://live/1,", "直播,mms://x,"}));
}

TEST_F(FoundEntriesTest, FailedWriteIsToldOncePerFileAndItsEntriesGoWithTheNextWrite) {
  ASSERT_TRUE(QDir(dir.path()).mkdir(kFound));
  append("甲,mms://a,");
  append("乙,mms://b,");
  ASSERT_EQ(host.messages.size(), 1);
  EXPECT_TRUE(host.messages[0].text.startsWith("无法写入 " + f.path(kFound) + "："));
  ASSERT_TRUE(QDir(dir.path()).rmdir(kFound));
  append("丙,mms://c,");
  EXPECT_EQ(readLines(kFound), QStringList({"甲,mms://a,", "乙,mms://b,", "丙,mms://c,"}));
  // After a write that worked, the next failure is told again.
  QFile::remove(f.path(kFound));
  ASSERT_TRUE(QDir(dir.path()).mkdir(kFound));
  append("丁,mms://d,");
  EXPECT_EQ(host.messages.size(), 2);
}
