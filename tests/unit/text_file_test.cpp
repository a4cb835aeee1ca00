#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/text_file.h"
#include "file_permissions.h"

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

TEST_F(TextFileTest, NamesReadRightInEitherEncoding) {
  const QString names[] = {
      "Первый канал,http://a/1,\r\nРоссия 1,http://a/2,\r\n",
      "НТВ,http://a/3,",
      "Café,http://a,",
      "Zürich,http://a,\r\nSão Paulo,http://b,\r\n",
      "Télé Lyon Métropole,http://a/x,\r\nRTP Açores,http://d,\r\n",
      "Ελληνική,http://a,",
      "中央一台,http://a,",
      "Café 中央",
  };
  for (const QString& text : names) {
    EXPECT_EQ(textfile::decode(text.toUtf8()), text);
    EXPECT_EQ(textfile::decode(QStringEncoder("GB18030")(text)), text);
  }
  // Short Chinese in GBK that is also valid UTF-8 of odd characters.
  for (const char* text : {"台,mms://a,", "台台,mms://a,", "一台,mms://a,", "飘怨,http://a,"})
    EXPECT_EQ(textfile::decode(QStringEncoder("GB18030")(QString(text))), text);
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
  EXPECT_EQ(bytes("a.txt"), old + "\r\n\xb1\xb1\xbe\xa9\r\n");
}

TEST_F(TextFileTest, AppendKeepsTheEncodingOfTheFile) {
  put("bom.txt", "\xef\xbb\xbf中央\r\n");
  ASSERT_TRUE(textfile::append(path("bom.txt"), "北京\r\n"));
  EXPECT_EQ(bytes("bom.txt"), "\xef\xbb\xbf中央\r\n北京\r\n");
  put("ru.txt", "Первый канал,http://a/1,\r\n");
  ASSERT_TRUE(textfile::append(path("ru.txt"), "北京\r\n"));
  EXPECT_EQ(bytes("ru.txt"), "Первый канал,http://a/1,\r\n北京\r\n");
  EXPECT_EQ(textfile::readLines(path("ru.txt")),
            QStringList({"Первый канал,http://a/1,", "北京"}));
  put("ascii.txt", "a,http://a,\r\n");
  ASSERT_TRUE(textfile::append(path("ascii.txt"), "北京\r\n"));
  EXPECT_EQ(bytes("ascii.txt"), "a,http://a,\r\n\xb1\xb1\xbe\xa9\r\n");
}

TEST_F(TextFileTest, AppendStartsOnAFreshLineAfterTheLastNonEmptyOne) {
  const struct {
    QByteArray old, expected;
    QStringList lines;
  } cases[] = {
      {"", "x\r\n", {"x"}},
      {"a", "a\r\nx\r\n", {"a", "x"}},
      {"a\r\n\r\n\r\n", "a\r\nx\r\n", {"a", "x"}},
      {"a\n\n", "a\r\nx\r\n", {"a", "x"}},
      {"a\rb\r", "a\rb\r\nx\r\n", {"a", "b", "x"}},
      // A lead byte without its second byte stays a broken character of its
      // own line instead of swallowing the first byte of the new one.
      {"\xd6\xd0\xd1", "\xd6\xd0\xd1\r\nx\r\n", {QString("中") + QChar(0xFFFD), "x"}},
      {"\xd6\xd0\xd1\r\n\r\n", "\xd6\xd0\xd1\r\nx\r\n", {QString("中") + QChar(0xFFFD), "x"}},
      {"\xef\xbb\xbf", "\xef\xbb\xbfx\r\n", {"x"}},
  };
  for (const auto& c : cases) {
    put("a.txt", c.old);
    ASSERT_TRUE(textfile::append(path("a.txt"), "x\r\n"));
    EXPECT_EQ(bytes("a.txt"), c.expected) << c.old.toHex().constData();
    EXPECT_EQ(textfile::readLines(path("a.txt")), c.lines) << c.old.toHex().constData();
  }
}

TEST_F(TextFileTest, FailedWritesLeaveWhatWasThereAndSayWhy) {
  ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder"));
  const textfile::WriteResult results[] = {
      textfile::write(path("folder"), "x"),
      textfile::write(path("no/such/file"), "x"),
      textfile::append(path("missing"), "x"),
      textfile::copy(path("missing"), path("b.txt")),
  };
  for (const auto& result : results) {
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error.isEmpty());
  }
  EXPECT_TRUE(QFileInfo(path("folder")).isDir());
  EXPECT_FALSE(QFile::exists(path("missing")));
}

TEST_F(TextFileTest, WritesGbkWithCrLfAndLosesNothing) {
  ASSERT_TRUE(textfile::writeLines(path("a.txt"), {"中央", "€😀"}));
  EXPECT_EQ(bytes("a.txt"), "\xd6\xd0\xd1\xeb\r\n\xa2\xe3\x94\x39\xfc\x36\r\n");
  EXPECT_EQ(textfile::readLines(path("a.txt")), QStringList({"中央", "€😀"}));
}

TEST_F(TextFileTest, SplitsLinesOnCrLfLfAndLoneCr) {
  put("a.txt", "a\r\nb\n\r\nc");
  EXPECT_EQ(textfile::readLines(path("a.txt")), QStringList({"a", "b", "", "c"}));
  put("cr.txt", "a\rb\r\rc\r");
  EXPECT_EQ(textfile::readLines(path("cr.txt")), QStringList({"a", "b", "", "c"}));
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

TEST_F(TextFileTest, AFileWhoseReadingFailsIsNotRead) {
  // This process's memory opens as a regular file, but reading its first
  // page fails, as a failing disk or a lost network share does.
  const QString failing = QStringLiteral("/proc/self/mem");
  put("b.txt", "old");
  EXPECT_FALSE(textfile::read(failing));
  EXPECT_FALSE(textfile::copy(failing, path("b.txt")));
  EXPECT_EQ(bytes("b.txt"), "old");
}

TEST_F(TextFileTest, ReadOnlyFolderKeepsTheOldFile) {
  put("a.txt", "old");
  QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  bool written = true;
  {
    FilePermissionsBind asUser;
    ASSERT_TRUE(asUser.bound());
    written = static_cast<bool>(textfile::write(path("a.txt"), "new"));
  }
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
