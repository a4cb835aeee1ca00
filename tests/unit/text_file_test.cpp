#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
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

// Real names whose bytes are valid both as UTF-8 and as GBK read as they
// were written, and what is appended afterwards goes in the same encoding.
TEST_F(TextFileTest, TextValidInBothEncodingsReadsAndGrowsInItsOwn) {
  using textfile::Encoding;
  QString six;
  for (int i = 1; i <= 6; ++i) six += QStringLiteral("台%1,http://a.example.cn/%1.m3u8,\r\n").arg(i);
  const struct {
    QString text;
    Encoding written;
  } cases[] = {
      {six, Encoding::Gbk},
      {"台,mms://a,\r\n", Encoding::Gbk},
      {"太原,http://a/1,\r\n石狮,http://a/2,\r\n眉山,http://a/3,\r\n", Encoding::Gbk},
      {"台山,http://a/1,\r\n平台,http://a/2,\r\n", Encoding::Gbk},
      {"农业,http://a/1,\r\n", Encoding::Gbk},
      {"小小,http://a/1,\r\n", Encoding::Gbk},
      {"TVName1,mms://a一,\r\n", Encoding::Gbk},
      {"CCTV-1综合 (1080p),http://39.134.115.163:8080/PLTV/88888910/224/3221225618/index.m3u8,\r\n",
       Encoding::Utf8},
      {"CCTV-13新闻 (1080p),http://a/13,\r\n东方卫视 (1080p),http://a/df,\r\n"
       "上虞經濟文化 (720p),http://a/sy,\r\n",
       Encoding::Utf8},
      {"万州科教 (576p),http://a/wz,\r\n", Encoding::Utf8},
      {"CGTN Русский (576p),http://a/ru,\r\n", Encoding::Utf8},
      {"Café,http://a,\r\n", Encoding::Utf8},
      {"Zürich,http://a,\r\nSão Paulo,http://b,\r\n", Encoding::Utf8},
      {"Télé Lyon Métropole,http://a/x,\r\nRTP Açores,http://d,\r\n", Encoding::Utf8},
  };
  const QString added = QStringLiteral("新台,http://n,\r\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    const QByteArray written = textfile::encodeAs(c.text, c.written);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(written);
    ASSERT_FALSE(utf8.hasError());
    const QString asGbk = QStringDecoder("GB18030").decode(written);
    ASSERT_FALSE(asGbk.contains(QChar::ReplacementCharacter));
    EXPECT_EQ(textfile::decode(written), c.text);
    put("a.txt", written);
    ASSERT_TRUE(textfile::append(path("a.txt"), added));
    EXPECT_EQ(bytes("a.txt"), written + textfile::encodeAs(added, c.written));
    EXPECT_EQ(textfile::read(path("a.txt")), c.text + added);
  }
}

// A file with a UTF-16 byte order mark is read, appended to and edited in
// UTF-16 of its byte order, with no second mark.
TEST_F(TextFileTest, Utf16WithAByteOrderMarkStaysUtf16) {
  using textfile::Encoding;
  for (Encoding encoding : {Encoding::Utf16Le, Encoding::Utf16Be}) {
    SCOPED_TRACE(int(encoding));
    const auto utf16 = [encoding](const QString& text) { return textfile::encodeAs(text, encoding); };
    const QByteArray bom = utf16(QString(QChar::ByteOrderMark));
    put("a.txt", bom + utf16("甲,http://a/1,\r\n乙,http://a/2,\r\n\r\n"));
    EXPECT_EQ(textfile::readLines(path("a.txt")),
              QStringList({"甲,http://a/1,", "乙,http://a/2,", ""}));
    ASSERT_TRUE(textfile::append(path("a.txt"), "丙,http://a/3,\r\n"));
    EXPECT_EQ(bytes("a.txt"), bom + utf16("甲,http://a/1,\r\n乙,http://a/2,\r\n丙,http://a/3,\r\n"));
    put("b.txt", bom + utf16("甲,http://a/1,"));
    ASSERT_TRUE(textfile::editLines(
        path("b.txt"),
        [](const QString& line) -> std::optional<QString> { return line + "更新"; }, "丁\r\n"));
    EXPECT_EQ(bytes("b.txt"), bom + utf16("甲,http://a/1,更新\r\n丁\r\n"));
    // Cut in the middle of a unit: the half unit is completed, the byte kept,
    // and the appended line reads back whole.
    const QByteArray cut = bom + utf16("甲,http://a/1,") + 'x';
    put("d.txt", cut);
    ASSERT_TRUE(textfile::append(path("d.txt"), "丙,http://a/3,\r\n"));
    EXPECT_TRUE(bytes("d.txt").startsWith(cut));
    EXPECT_EQ(textfile::readLines(path("d.txt"))->back(), "丙,http://a/3,");
  }
  // Broken bytes that only look like a mark: no zero byte, no UTF-16.
  put("c.txt", "\xff\xfe\x80,mms://a,\r\n");
  ASSERT_TRUE(textfile::append(path("c.txt"), "北京\r\n"));
  EXPECT_EQ(bytes("c.txt"), "\xff\xfe\x80,mms://a,\r\n\xb1\xb1\xbe\xa9\r\n");
}

// Lines not edited keep their bytes, undecodable ones too, and so does
// every line end.
TEST_F(TextFileTest, EditLinesReplacesOnlyTheLinesItIsGiven) {
  const QByteArray old("a,1,\r\n\x80\xff,2,\nb,3,\rc,4,", 19);
  put("a.txt", old);
  ASSERT_TRUE(textfile::editLines(
      path("a.txt"),
      [](const QString& line) -> std::optional<QString> {
        if (!line.startsWith(u'b') && !line.startsWith(u'c')) return std::nullopt;
        return line.left(1) + QStringLiteral("北京");
      },
      "x\r\n"));
  EXPECT_EQ(bytes("a.txt"), QByteArray("a,1,\r\n\x80\xff,2,\nb\xb1\xb1\xbe\xa9\rc\xb1\xb1\xbe\xa9\r\nx\r\n"));
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
