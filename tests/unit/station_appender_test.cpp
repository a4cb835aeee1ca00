#include "form_fixture.h"

#include <QDir>

#include "library/station_appender.h"

using StationAppenderTest = FormTest;

// One line per request: the file's own lines count whatever their name or
// group, and so do the lines written before.
TEST_F(StationAppenderTest, WritesEachRequestOnce) {
  const struct {
    QStringList before;
    QList<playlists::Station> found;
    QStringList after;
  } cases[] = {
      {{"新电视,http://h/a,"}, {{"电视", "http://h/a", ""}}, {"新电视,http://h/a,"}},
      {{"卫视,http://h/b,卫视组,"}, {{"卫视", "HTTP://H:80/b", ""}}, {"卫视,http://h/b,卫视组,"}},
      {{"锁台,http://h/c,"},
       {{"锁台", "http://h/c|User-Agent=Box", ""}, {"锁台2", "http://h/c|user-agent=Box", ""}},
       {"锁台,http://h/c,", "锁台,http://h/c|User-Agent=Box,"}},
      {{"锁台,http://h/d|Referer=http://p/,"},
       {{"锁台", "http://h/d", ""}},
       {"锁台,http://h/d|Referer=http://p/,", "锁台,http://h/d,"}},
      {{}, {{"甲", "http://h/e", ""}, {"乙", "http://h/e", ""}}, {"甲,http://h/e,"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before.join(' ').toStdString());
    writeLines("found.txt", c.before);
    library::StationAppender appender(QDir(dir.path()).filePath("found.txt"));
    ASSERT_TRUE(appender.open());
    for (const playlists::Station& s : c.found) ASSERT_TRUE(appender.append(s));
    for (const playlists::Station& s : c.found) EXPECT_TRUE(appender.holds(s));
    EXPECT_EQ(readLines("found.txt"), c.after);
  }
}

TEST_F(StationAppenderTest, AnUnreadableFileIsNotOpened) {
  QDir(dir.path()).mkdir("found.txt");
  library::StationAppender appender(QDir(dir.path()).filePath("found.txt"));
  EXPECT_FALSE(appender.open());
}
