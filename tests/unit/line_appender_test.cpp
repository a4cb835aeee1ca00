#include "form_fixture.h"

#include <QDir>

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
