// nettv import and export: the found-stations file grows through the
// window's writer without duplicates, and comes back out as M3U8.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "cli/commands.h"
#include "plain_build.h"
#include "playlists/playlist.h"
#include "cli_capture.h"
#include "playlists/station_files.h"
#include "thread_cpu_time.h"

using namespace cli;

namespace {

class ImportExport : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir.filePath(name); }

  void writeBytes(const QString& name, const QByteArray& bytes) {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  QByteArray readBytes(const QString& name) const {
    QFile f(path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  static CommandLine command(Command kind, const QString& file) {
    CommandLine c;
    c.command = kind;
    c.files = {file};
    return c;
  }

  int import(const QString& file, ConsoleCapture& capture) {
    return runImport(command(Command::Import, file), dir.path(), capture.console);
  }

  QTemporaryDir dir;
};

}  // namespace

TEST_F(ImportExport, ImportAppendsNewStationsOnlyAndReportsWhatItSkipped) {
  // A found file in GBK whose hand-edited last line has no line end.
  QStringEncoder gbk("GB18030");
  writeBytes(library::kFoundFile, gbk(QStringLiteral("老台,http://old.example.cn/a.mp3,\r\n"
                                                     "手写,http://hand.example.cn/b.mp3,")));
  writeBytes("new.m3u", QStringLiteral("#EXTM3U\n"
                                       "#EXTINF:-1,老台重复\nHTTP://OLD.example.cn:80/a.mp3\n"
                                       "#EXTINF:-1,新闻台\nhttp://news.example.cn/live\n"
                                       "#EXTINF:-1,Twice\nhttp://news.example.cn:80/live\n"
                                       "http://\n"
                                       "#EXTINF:-1,音乐 台\nhttp://music.example.cn/my list.mp3\n")
                            .toUtf8());
  ConsoleCapture capture;
  EXPECT_EQ(import(path("new.m3u"), capture), kExitDone);
  EXPECT_EQ(readBytes(library::kFoundFile),
            gbk(QStringLiteral("老台,http://old.example.cn/a.mp3,\r\n"
                               "手写,http://hand.example.cn/b.mp3,\r\n"
                               "新闻台,http://news.example.cn/live,\r\n"
                               "音乐 台,http://music.example.cn/my%20list.mp3,\r\n")));
  EXPECT_TRUE(
      capture.outLines().last().contains("imported 2 stations, 2 duplicates, 1 entries skipped"));
  EXPECT_TRUE(capture.errText().contains("new.m3u:8:")) << capture.errText().toStdString();

  ConsoleCapture again;
  EXPECT_EQ(import(path("new.m3u"), again), kExitDone);
  EXPECT_TRUE(again.outLines().last().contains("imported 0 stations, 4 duplicates"));
  EXPECT_EQ(textfile::readLines(path(library::kFoundFile))->size(), 4);
}

TEST_F(ImportExport, LargeAndUnreadableInputs) {
  QString big = QStringLiteral("[playlist]\n");
  for (int i = 1; i <= 100000; ++i)
    big += QStringLiteral("File%1=http://live.example.cn/%1.mp3\nTitle%1=台 %1\n").arg(i);
  big += QStringLiteral("File=") + QString(1024 * 1024, u'x') + u'\n';
  writeBytes("big.pls", big.toUtf8());
  ConsoleCapture capture;
  int exitCode = -1;
  const qint64 importMs = msToRun([&] { exitCode = import(path("big.pls"), capture); });
  EXPECT_EQ(exitCode, kExitDone);
  EXPECT_BOUND_LT(importMs, 1500);  // about 0.7 s
  EXPECT_EQ(textfile::readLines(path(library::kFoundFile))->size(), 100000);
  EXPECT_TRUE(capture.outLines().last().contains("1 entries skipped"));

  const QByteArray before = readBytes(library::kFoundFile);
  ConsoleCapture missing;
  EXPECT_EQ(import(path("missing.asx"), missing), kExitBadInput);
  EXPECT_EQ(missing.errText().count(u'\n'), 1);
  EXPECT_EQ(readBytes(library::kFoundFile), before);
}

TEST_F(ImportExport, ExportWritesM3u8ThatReadsBackTheSameStations) {
  QStringEncoder gbk("GB18030");
  writeBytes(library::kFoundFile, gbk(QStringLiteral("中央台,http://a.example.cn/1.asx,\r\n"
                                                     "Radio,mms://b.example.cn/live,\r\n")));
  ConsoleCapture capture;
  EXPECT_EQ(runExport(command(Command::Export, path("out.m3u")), dir.path(), capture.console),
            kExitDone);
  EXPECT_EQ(readBytes("out.m3u"), QStringLiteral("#EXTM3U\n#EXTINF:-1,中央台\n"
                                                 "http://a.example.cn/1.asx\n"
                                                 "#EXTINF:-1,Radio\nmms://b.example.cn/live\n")
                                      .toUtf8());
  const auto back = playlists::readPlaylist(path("out.m3u"));
  ASSERT_TRUE(back);
  ASSERT_EQ(back->stations.size(), 2);
  EXPECT_EQ(back->stations[0].name, QStringLiteral("中央台"));
  EXPECT_EQ(back->stations[1].address, QStringLiteral("mms://b.example.cn/live"));

  ConsoleCapture blocked;
  EXPECT_EQ(runExport(command(Command::Export, dir.path()), dir.path(), blocked.console),
            kExitBadInput);
  // A link elsewhere that leads to a station file is that file.
  QTemporaryDir other;
  const QString link = QDir(other.path()).filePath("found.m3u8");
  ASSERT_TRUE(QFile::link(path(library::kFoundFile), link));
  const QByteArray found = readBytes(library::kFoundFile);
  ConsoleCapture linked;
  EXPECT_EQ(runExport(command(Command::Export, link), dir.path(), linked.console), kExitBadInput);
  EXPECT_EQ(readBytes(library::kFoundFile), found);
  // No found stations yet: an empty playlist.
  QTemporaryDir fresh;
  ConsoleCapture noSource;
  EXPECT_EQ(runExport(command(Command::Export, path("x.m3u")), fresh.path(), noSource.console),
            kExitDone);
  EXPECT_EQ(readBytes("x.m3u"), "#EXTM3U\n");
}
