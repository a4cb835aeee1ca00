#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/text_file.h"

class TextFileTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
  void put(const QString& name, const QByteArray& bytes) {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray bytes(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  QTemporaryDir m_dir;
};

TEST_F(TextFileTest, ReadsUtf8AsUtf8AndEverythingElseAsGbk) {
  EXPECT_EQ(textfile::decode("中央一台"), "中央一台");
  EXPECT_EQ(textfile::decode("\xef\xbb\xbf中央"), "中央");
  EXPECT_EQ(textfile::decode("\xd6\xd0\xd1\xeb"), "中央");
  // One stray byte makes the whole text GBK, not half of each.
  EXPECT_TRUE(textfile::decode("\xd6\xd0\xd1\xeb" "abc\x80").startsWith("中央abc"));
}

TEST_F(TextFileTest, GbkTextThatHappensToBeValidUtf8ReadsAsGbk) {
  // 台 is CC A8 in GBK, which is also the UTF-8 of a combining mark.
  ASSERT_TRUE(textfile::writeLines(path("a.txt"), {"台,mms://a,"}));
  EXPECT_EQ(textfile::readLines(path("a.txt")), QStringList({"台,mms://a,"}));
  EXPECT_EQ(textfile::decode("Caf\xc3\xa9 \xe4\xb8\xad\xe5\xa4\xae"), "Café 中央");
  EXPECT_EQ(textfile::decode("\xcc\xa8\x80"), QString("台") + QChar(0xFFFD));
}

TEST_F(TextFileTest, AppendKeepsTheBytesOfAGbkFile) {
  const QByteArray old("\xcc\xa8,mms://a,\r\n\x80\xff\x00\r\n", 16);
  put("a.txt", old);
  ASSERT_TRUE(textfile::append(path("a.txt"), "北京\r\n"));
  EXPECT_EQ(bytes("a.txt"), old + "\xb1\xb1\xbe\xa9\r\n");
}

TEST_F(TextFileTest, AppendRewritesAUtf8FileInGbk) {
  put("a.txt", "\xef\xbb\xbf中央\r\n");
  ASSERT_TRUE(textfile::append(path("a.txt"), "北京\r\n"));
  EXPECT_EQ(bytes("a.txt"), "\xd6\xd0\xd1\xeb\r\n\xb1\xb1\xbe\xa9\r\n");
  EXPECT_FALSE(textfile::append(path("missing"), "x"));
  EXPECT_FALSE(QFile::exists(path("missing")));
}

TEST_F(TextFileTest, WritesGbkWithCrLfAndLosesNothing) {
  ASSERT_TRUE(textfile::writeLines(path("a.txt"), {"中央", "€😀"}));
  EXPECT_EQ(bytes("a.txt"), "\xd6\xd0\xd1\xeb\r\n\xa2\xe3\x94\x39\xfc\x36\r\n");
  EXPECT_EQ(textfile::readLines(path("a.txt")), QStringList({"中央", "€😀"}));
}

TEST_F(TextFileTest, SplitsLinesOnCrLfAndLf) {
  put("a.txt", "a\r\nb\n\r\nc");
  EXPECT_EQ(textfile::readLines(path("a.txt")), QStringList({"a", "b", "", "c"}));
  put("b.txt", "\r\n");
  EXPECT_EQ(textfile::readLines(path("b.txt")), QStringList({""}));
  put("c.txt", "");
  EXPECT_EQ(textfile::readLines(path("c.txt")), QStringList());
}

TEST_F(TextFileTest, OnlyRegularFilesAreRead) {
  EXPECT_FALSE(textfile::read(path("missing")));
  ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder"));
  EXPECT_FALSE(textfile::read(path("folder")));
  ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
  EXPECT_FALSE(textfile::read(path("pipe")));
}

TEST_F(TextFileTest, FailedWriteLeavesWhatWasThere) {
  ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder"));
  EXPECT_FALSE(textfile::write(path("folder"), "x"));
  EXPECT_TRUE(QFileInfo(path("folder")).isDir());
  EXPECT_FALSE(textfile::write(path("no/such/file"), "x"));
}

TEST_F(TextFileTest, ReadOnlyFolderKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  put("a.txt", "old");
  QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  const bool written = textfile::write(path("a.txt"), "new");
  QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
  EXPECT_FALSE(written);
  EXPECT_EQ(bytes("a.txt"), "old");
}

TEST_F(TextFileTest, CopyKeepsEveryByte) {
  const QByteArray raw("\x80\xff\x00\r\n\xd6", 6);
  put("a.txt", raw);
  put("b.txt", "old");
  EXPECT_TRUE(textfile::copy(path("a.txt"), path("b.txt")));
  EXPECT_EQ(bytes("b.txt"), raw);
  EXPECT_FALSE(textfile::copy(path("missing"), path("b.txt")));
  EXPECT_EQ(bytes("b.txt"), raw);
}
