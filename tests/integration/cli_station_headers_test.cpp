// Anti-hotlinking servers on 127.0.0.1 (403 without the right Referer or
// User-Agent) through the commands: check of M3U and station files that
// carry headers, import → export → check, the default User-Agent the user
// sets, and export refusing the program's own files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "temp_files.h"
#include "base/text_file.h"
#include "base/user_agent.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "fresh_check.h"
#include "playlists/station_files.h"
#include "media_fixtures.h"

using namespace cli;

namespace {

constexpr char kPage[] = "http://tv.example.cn/live/";
constexpr char kBoxAgent[] = "TVBox/1.0 (Linux, like Gecko)";
constexpr char kUserChoice[] = "MyPlayer/2.0 (X11; Linux x86_64) (KHTML, like Gecko)";

class StationHeadersCommands : public MediaServerTest {
 protected:
  void SetUp() override {
    MediaServerTest::SetUp();
    const QByteArray live = MediaFixtures::instance().bytes("live.mp3");
    server.addLocked("/referer.mp3", live, "audio/mpeg", "Referer", kPage);
    server.addLocked("/agent.mp3", live, "audio/mpeg", "User-Agent", kBoxAgent);
    server.addLocked("/chosen.mp3", live, "audio/mpeg", "User-Agent", kUserChoice);
  }

  QString write(const QString& name, const QByteArray& bytes) { return writeFile(dir, name, bytes); }

  // "name: verdict" of each station checked, sorted, from check --json.
  QStringList check(const QStringList& files, const QString& userAgent = {},
                                int* exitCode = nullptr) {
    CommandLine c = freshCheck(files, 4, 4);
    c.json = true;
    c.userAgent = userAgent;
    c.out = dir.filePath("passed.txt");
    ConsoleCapture capture;
    const int code = runCheck(c, dir.path(), capture.console);
    if (exitCode) *exitCode = code;
    QStringList verdicts;
    for (const QString& line : capture.outLines()) {
      const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
      // A failed station shows its reason.
      const QString verdict = o.value("reason").isString() ? o.value("reason").toString()
                                                           : o.value("verdict").toString();
      verdicts << o.value("name").toString() + QStringLiteral(": ") + verdict;
    }
    verdicts.sort();
    return verdicts;
  }

  int run(Command kind, const QString& file, ConsoleCapture& capture) {
    CommandLine c;
    c.command = kind;
    c.files = {file};
    return kind == Command::Import ? runImport(c, dir.path(), capture.console)
                                   : runExport(c, dir.path(), capture.console);
  }

  QString url(const QString& path) const { return server.url(path); }

  QTemporaryDir dir;
};

TEST_F(StationHeadersCommands, CheckSendsEachStationsHeadersOnTheProbeAndInTheEngine) {
  const QString m3u = write(
      "locked.m3u",
      QStringLiteral("#EXTM3U\n"
                     "#EXTINF:-1,M3U Referer\n#EXTVLCOPT:http-referrer=%1\n%2\n"
                     "#EXTINF:-1,M3U Agent\n#EXTVLCOPT:http-user-agent=%3\n%4\n"
                     "#EXTINF:-1,M3U bare\n%4\n")
          .arg(kPage, url("/referer.mp3"), kBoxAgent, url("/agent.mp3"))
          .toUtf8());
  const QString txt = write(
      "locked.txt", QStringLiteral("txt bare,%1,\ntxt Referer,%1|Referer=%2,\n"
                                   "txt Agent,%3|user-agent=%4,\n")
                        .arg(url("/referer.mp3"), kPage, url("/agent.mp3"),
                             QUrl::toPercentEncoding(kBoxAgent))
                        .toUtf8());
  // Both files name the same requests (a header's name in any case) once
  // each: the same bare address with other headers is another request, and
  // a copy without the headers, even the first, never stands in for them.
  EXPECT_EQ(check({m3u, txt}), (QStringList{"M3U Agent: playing", "M3U Referer: playing",
                                            "M3U bare: forbidden", "txt bare: forbidden"}));
  const QStringList stored = textfile::readLines(dir.filePath("passed.txt")).value_or(QStringList());
  ASSERT_EQ(stored.size(), 2);
  EXPECT_TRUE(stored.filter(QStringLiteral("|Referer=%1,").arg(kPage)).size() == 1) << stored.join('\n').toStdString();

  EXPECT_EQ(check({txt}),
            (QStringList{"txt Agent: playing", "txt Referer: playing", "txt bare: forbidden"}));
  const QString bare = write("bare.txt", QStringLiteral("甲,%1,\n乙,%2,\n")
                                             .arg(url("/referer.mp3"), url("/agent.mp3"))
                                             .toUtf8());
  EXPECT_EQ(check({bare}), (QStringList{"乙: forbidden", "甲: forbidden"}));
}

TEST_F(StationHeadersCommands, ImportExportCheckKeepsHeadersAndGroups) {
  QStringEncoder gbk("GB18030");
  const QString txt = write(
      "频道.txt",
      gbk(QStringLiteral("防盗链,#genre#\r\n"
                         "引用页,%1|Referer=%2$线路1#%3$线路2\r\n"
                         "代理,%4|User-Agent=%5\r\n")
              .arg(url("/referer.mp3"), kPage, url("/media/tone.mp3"), url("/agent.mp3"),
                   QUrl::toPercentEncoding(kBoxAgent))));
  const QString m3u = write("list.m3u",
                            QStringLiteral("#EXTM3U\n#EXTINF:-1 group-title=\"电台\",M3U台\n"
                                           "#EXTVLCOPT:http-referrer=%1\n%2?m=1\n")
                                .arg(kPage, url("/referer.mp3"))
                                .toUtf8());
  ConsoleCapture imported;
  EXPECT_EQ(run(Command::Import, txt, imported), kExitDone) << imported.errText().toStdString();
  EXPECT_EQ(run(Command::Import, m3u, imported), kExitDone);
  ConsoleCapture exported;
  const QString out = dir.filePath("out.m3u8");
  EXPECT_EQ(run(Command::Export, out, exported), kExitDone) << exported.errText().toStdString();

  // The exported playlist is UTF-8 whatever the station file's encoding.
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(text.contains(QStringLiteral("#EXTINF:-1 group-title=\"防盗链\",引用页\n"
                                           "#EXTVLCOPT:http-referrer=%1\n%2\n")
                                .arg(kPage, url("/referer.mp3"))))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("#EXTVLCOPT:http-user-agent=%1\n").arg(kBoxAgent)));
  EXPECT_TRUE(text.contains(QStringLiteral("group-title=\"电台\",M3U台\n")));
  EXPECT_FALSE(text.contains(u'$'));

  int code = -1;
  EXPECT_EQ(check({out}, {}, &code),
            (QStringList{"M3U台: playing", "代理: playing", "引用页: playing", "引用页: playing"}));
  EXPECT_EQ(code, kExitDone);
}

// Stations stored without the headers their streams need get them from an
// imported list, in place, and then play.
TEST_F(StationHeadersCommands, ImportGivesStoredStationsTheirHeaders) {
  const QString found = dir.filePath(library::kFoundFile);
  ASSERT_TRUE(textfile::writeLines(
      found, {"引用页," + url("/referer.mp3") + ",", "代理," + url("/agent.mp3") + ","}));
  const QString m3u = write("locked.m3u",
                            QStringLiteral("#EXTM3U\n#EXTINF:-1,A\n#EXTVLCOPT:http-referrer=%1\n%2\n"
                                           "#EXTINF:-1,B\n#EXTVLCOPT:http-user-agent=%3\n%4\n")
                                .arg(kPage, url("/referer.mp3"), kBoxAgent, url("/agent.mp3"))
                                .toUtf8());
  ConsoleCapture imported;
  EXPECT_EQ(run(Command::Import, m3u, imported), kExitDone);
  EXPECT_TRUE(imported.outLines().last().contains(
      "imported 0 stations, 0 duplicates, 2 stored stations given their headers"))
      << imported.outLines().last().toStdString();
  EXPECT_EQ(check({found}), (QStringList{"代理: playing", "引用页: playing"}));
}

TEST_F(StationHeadersCommands, TheUsersUserAgentIsTheDefaultAndAStationsOwnWins) {
  const QString txt = write(
      "agents.txt", QStringLiteral("默认,%1,\n自带,%2|User-Agent=%3,\n")
                        .arg(url("/chosen.mp3"), url("/agent.mp3"), QUrl::toPercentEncoding(kBoxAgent))
                        .toUtf8());
  struct Case {
    const char* what;
    QString option;
    QString settingsLine;
    QString chosenVerdict;
  };
  const QList<Case> cases = {
      {"built-in default", "", "", "forbidden"},
      {"--user-agent", kUserChoice, "", "playing"},
      {"settings file", "", kUserChoice, "playing"},
      {"--user-agent over the settings file", kUserChoice, "Other/1.0", "playing"},
  };
  for (const Case& c : cases) {
    // Written by hand, as a user would, without quotes.
    write(useragent::kSettingsFile, "[network]\r\nuser-agent=" + c.settingsLine.toUtf8() + "\r\n");
    QStringList expected{"默认: " + c.chosenVerdict, "自带: playing"};
    expected.sort();
    EXPECT_EQ(check({txt}, c.option).join(u'\n').toStdString(), expected.join(u'\n').toStdString())
        << c.what;
  }
}

TEST_F(StationHeadersCommands, ExportNeverWritesOverTheProgramsOwnFiles) {
  ASSERT_TRUE(textfile::writeLines(dir.filePath(library::kFoundFile), {"台,http://a.example.cn/,"}));
  for (const QString& name : {library::kLibraryFile, library::kFoundFile, library::kScannedFile,
                              library::kDefaultResultsFile, library::kMarkerFile,
                              QStringLiteral("TV_LIB_SS_JG.TXT"), QStringLiteral("sub/../gjz.txt")}) {
    QDir(dir.path()).mkpath("sub");
    const QString target = dir.filePath(name);
    const QByteArray before = QFile::exists(target) ? textfile::read(target)->toUtf8() : "";
    ConsoleCapture capture;
    EXPECT_EQ(run(Command::Export, target, capture), kExitBadInput) << name.toStdString();
    EXPECT_TRUE(capture.errText().contains("cannot be an export target")) << name.toStdString();
    const QByteArray after = QFile::exists(target) ? textfile::read(target)->toUtf8() : "";
    EXPECT_EQ(after, before) << name.toStdString();
  }
  ConsoleCapture elsewhere;
  EXPECT_EQ(run(Command::Export, dir.filePath("sub/tv_lib.txt"), elsewhere), kExitDone);
}

}  // namespace
