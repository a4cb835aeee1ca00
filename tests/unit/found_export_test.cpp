#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "library/found_export.h"

namespace {

QByteArray bytesOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A target that is, or leads to, a file the program keeps is refused and
// left as it was, whatever the links on the way; any other is written.
TEST(FoundExportTest, NeverWritesOverAFileTheProgramKeeps) {
  QTemporaryDir program;
  QTemporaryDir other;
  const QDir dir(program.path());
  const QDir elsewhere(other.path());
  const QByteArray library = "台,http://h/a,\r\n";
  ASSERT_TRUE(textfile::writeBytes(dir.filePath("tv_lib.txt"), library));
  ASSERT_TRUE(textfile::writeBytes(dir.filePath("tv_lib_ss_jg.txt"), "好台,http://h/b,\r\n"));
  ASSERT_TRUE(QFile::link(dir.filePath("tv_lib.txt"), elsewhere.filePath("lib.m3u8")));
  ASSERT_TRUE(QFile::link(elsewhere.filePath("lib.m3u8"), elsewhere.filePath("chain.m3u8")));
  ASSERT_TRUE(QFile::link(dir.filePath("nettv.ini"), elsewhere.filePath("settings.m3u8")));
  ASSERT_TRUE(QFile::link(dir.path(), elsewhere.filePath("folder")));
  ASSERT_TRUE(QFile::link("../" + QDir(other.path()).dirName() + "/folder/gjz.txt",
                          elsewhere.filePath("relative.m3u8")));

  const struct {
    QString target;
    bool refused;
  } cases[] = {
      {dir.filePath("tv_lib.txt"), true},
      {dir.filePath("TV_LIB_SS_JG.TXT"), true},
      {elsewhere.filePath("lib.m3u8"), true},
      {elsewhere.filePath("chain.m3u8"), true},
      {elsewhere.filePath("settings.m3u8"), true},
      {elsewhere.filePath("folder/bfwz.dat"), true},
      {elsewhere.filePath("relative.m3u8"), true},
      {dir.filePath("dqwz.dat"), true},
      {dir.filePath("alias.txt"), true},
      {dir.filePath("subscribe.txt"), true},
      {dir.filePath("health.db"), true},
      {dir.filePath("health.db-wal"), true},
      {dir.filePath("nettv.m3u8"), false},
      {elsewhere.filePath("tv_lib.txt"), false},
      {elsewhere.filePath("folder/found.m3u8"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target.toStdString());
    EXPECT_EQ(library::isProgramFile(c.target, dir.path()), c.refused);
    const library::FoundExport done = library::exportFoundStations(dir.path(), c.target);
    EXPECT_EQ(done.result, c.refused ? library::FoundExport::Result::ProgramFile
                                     : library::FoundExport::Result::Written);
    EXPECT_EQ(done.stations, c.refused ? 0 : 1);
    EXPECT_EQ(bytesOf(dir.filePath("tv_lib.txt")), library);
  }
  for (const char* kept : {"nettv.ini", "gjz.txt", "bfwz.dat", "dqwz.dat", "health.db"})
    EXPECT_FALSE(QFile::exists(dir.filePath(kept))) << kept;
}

}  // namespace
