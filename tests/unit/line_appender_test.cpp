#include "form_fixture.h"

#include <QDir>
#include <QFile>
#include <functional>

#include "base/text_file.h"
#include "library/line_appender.h"
#include "library/station_list.h"

using LineAppenderTest = FormTest;

namespace {

// The text in UTF-16 with its byte order mark.
QByteArray utf16(const QString& text) {
  return textfile::encodeAs(QChar(QChar::ByteOrderMark) + text, textfile::Encoding::Utf16Le);
}

}  // namespace

// Whatever the file's end, a line appended later is one the window's loader
// reaches: empty lines before it would end the list there. It goes in the
// file's encoding, UTF-16 too.
TEST_F(LineAppenderTest, AppendedLineFollowsTheLastStation) {
  const struct {
    QByteArray before;
    QByteArray after;
    QStringList listed;  // the addresses the window's loader finds
  } cases[] = {
      {"a,u,\r\n\r\n", "a,u,\r\nb,v,\r\n", {"u", "v"}},
      {"a,u,\n\n", "a,u,\r\nb,v,\r\n", {"u", "v"}},
      {"a,u,\r\r\n\n", "a,u,\r\nb,v,\r\n", {"u", "v"}},
      {"a,u,", "a,u,\r\nb,v,\r\n", {"u", "v"}},
      {"a,u,\r\n", "a,u,\r\nb,v,\r\n", {"u", "v"}},
      {"", "b,v,\r\n", {"v"}},
      {"\r\n\r\n", "b,v,\r\n", {"v"}},
      {"\xef\xbb\xbf", "\xef\xbb\xbf" "b,v,\r\n", {"v"}},
      {utf16("a,u,\r\n\r\n"), utf16("a,u,\r\nb,v,\r\n"), {"u", "v"}},
      {utf16("a,u,"), utf16("a,u,\r\nb,v,\r\n"), {"u", "v"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before.toStdString());
    writeBytes("list.txt", c.before);
    {
      library::LineAppender appender(QDir(dir.path()).filePath("list.txt"));
      ASSERT_TRUE(appender.open());
      ASSERT_TRUE(appender.append("b,v,"));
    }
    EXPECT_EQ(readBytes("list.txt"), c.after);
    f.tvm.clear();
    f.dz1.clear();
    library::LoadStationList(f, "list.txt");
    EXPECT_EQ(f.dz1.items(), c.listed);
  }
}

// Another process may replace the file (an import, the window's writes),
// delete it, or append to it while a check keeps it open: every line the
// check appends afterwards is in the file the name leads to, once.
TEST_F(LineAppenderTest, EveryLineReachesTheFileWhateverOthersDidToIt) {
  const QString path = QDir(dir.path()).filePath("list.txt");
  const struct {
    const char* what;
    std::function<void()> meanwhile;
    QByteArray after;
  } cases[] = {
      {"replaced by a rename", [&] { ASSERT_TRUE(textfile::write(path, "b,v,\r\n")); },
       "b,v,\r\nc,w,\r\n"},
      {"deleted", [&] { QFile::remove(path); }, "c,w,\r\n"},
      {"appended to", [&] { ASSERT_TRUE(textfile::append(path, "b,v,\r\n")); },
       "a,u,\r\nb,v,\r\nc,w,\r\n"},
      {"the same request appended under another name",
       [&] { ASSERT_TRUE(textfile::append(path, "xc,w,\r\n")); }, "a,u,\r\nxc,w,\r\n"},
      {"an open line appended by hand",
       [&] {
         QFile f(path);
         f.open(QIODevice::Append);
         f.write("b,v,");
       },
       "a,u,\r\nb,v,\r\nc,w,\r\n"},
      {"truncated", [&] { QFile(path).resize(0); }, "c,w,\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    writeBytes("list.txt", "a,u,\r\n");
    library::LineAppender appender(path);
    ASSERT_TRUE(appender.open());
    c.meanwhile();
    ASSERT_TRUE(appender.append("c,w,"));
    ASSERT_TRUE(appender.append("c,w,"));
    EXPECT_EQ(readBytes("list.txt"), c.after);
  }
}
