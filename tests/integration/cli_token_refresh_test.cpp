// Tokens refreshed from their page on the real engines (libmpv and the
// offscreen web engine) against a site on 127.0.0.1: the page hands out
// HMAC-signed addresses valid for 10 s, the stream refuses any other. A
// stored line with an expired token plays through nettv play --list and
// passes nettv check --refresh, and its file then holds the fresh address.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QTemporaryDir>
#include <QUrlQuery>

#include "cli/commands.h"
#include "cli_capture.h"
#include "local_http_server.h"
#include "media_fixtures.h"
#include "temp_files.h"

using namespace cli;

namespace {

constexpr qint64 kValidSeconds = 10;
const QByteArray kSecret = "not a real secret";

QByteArray signature(const QString& path, qint64 expiry) {
  return QMessageAuthenticationCode::hash((path + QString::number(expiry)).toUtf8(), kSecret,
                                          QCryptographicHash::Sha256)
      .toHex();
}

// The stream's address for a token that runs out at expiry: "exp" and "sig"
// in the query, or one opaque "tk" that names no time to a reader.
QString signedQuery(const QString& path, qint64 expiry, bool opaque) {
  const QString sig = QString::fromLatin1(signature(path, expiry));
  return opaque ? QStringLiteral("tk=%1.%2").arg(expiry).arg(sig)
                : QStringLiteral("exp=%1&sig=%2").arg(expiry).arg(sig);
}

class TokenSite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(MediaFixtures::instance().ok()); }

  void SetUp() override {
    ASSERT_TRUE(server.start());
    const QByteArray media = MediaFixtures::instance().bytes("long.mp3");
    server.addDynamic(kStreamPath, [media](const QUrl& target) {
      LocalHttpServer::Route r;
      if (!validToken(target)) {
        r.kind = LocalHttpServer::Route::Kind::Status;
        r.status = 403;
        return r;
      }
      r.body = media;
      r.contentType = "audio/mpeg";
      return r;
    });
    for (const bool opaque : {false, true})
      server.addDynamic(opaque ? "/opaque.html" : "/watch.html", [this, opaque](const QUrl&) {
        LocalHttpServer::Route r;
        r.contentType = "text/html";
        r.body = QStringLiteral("<html><head><title>CCTV-1</title></head><body>"
                                "<p>CCTV-1 直播</p><a href=\"%1\">播放</a></body></html>")
                     .arg(streamUrl(QDateTime::currentSecsSinceEpoch() + kValidSeconds, opaque))
                     .toUtf8();
        return r;
      });
  }

  static bool validToken(const QUrl& target) {
    const QUrlQuery q(target);
    QString expiry = q.queryItemValue("exp");
    QString sig = q.queryItemValue("sig");
    if (q.hasQueryItem("tk")) {
      expiry = q.queryItemValue("tk").section(u'.', 0, 0);
      sig = q.queryItemValue("tk").section(u'.', 1);
    }
    return expiry.toLongLong() >= QDateTime::currentSecsSinceEpoch() &&
           sig.toLatin1() == signature(target.path(), expiry.toLongLong());
  }

  QString streamUrl(qint64 expiry, bool opaque) const {
    return server.url(kStreamPath) + u'?' + signedQuery(kStreamPath, expiry, opaque);
  }
  // A stored line whose token ran out a minute ago.
  QString expiredLine(bool opaque, const QString& page) const {
    return streamUrl(QDateTime::currentSecsSinceEpoch() - 60, opaque) + "|Referer=" +
           server.url(page);
  }
  QString listFile(const QStringList& lines) {
    QString text;
    for (const QString& l : lines) text += QStringLiteral("CCTV-1,%1\r\n").arg(l);
    return writeFile(dir, "channels.txt", text.toUtf8());
  }
  QStringList fileLines(const QString& path) const {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }
  // The line of the file is the stream with a token valid now, and the page.
  void expectFresh(const QString& fileLine, const QString& page) const {
    const QString address = fileLine.section(u',', 1);
    EXPECT_TRUE(validToken(QUrl(address.section(u'|', 0, 0)))) << fileLine.toStdString();
    EXPECT_TRUE(address.endsWith("|Referer=" + server.url(page))) << fileLine.toStdString();
  }

  static inline const QString kStreamPath = QStringLiteral("/live/cctv1.mp3");
  LocalHttpServer server;
  QTemporaryDir dir;
};

TEST_F(TokenSite, PlayRefreshesAnExpiredLineAndWritesItBack) {
  const QString stored = expiredLine(false, "/watch.html");
  ASSERT_FALSE(validToken(QUrl(stored.section(u'|', 0, 0))));
  const QString list = listFile({stored});
  ConsoleCapture out;
  const auto parsed = parseCommandLine(
      {"play", "CCTV-1", "--list", list, "--json", "--ao", "null", "--for", "1"});
  EXPECT_EQ(runPlay(std::get<CommandLine>(parsed), dir.path(), out.console), kExitDone)
      << out.errText().toStdString();
  QStringList events;
  for (const QString& l : out.outLines())
    events << QJsonDocument::fromJson(l.toUtf8()).object().value("event").toString();
  EXPECT_EQ(events, (QStringList{"chosen", "refreshed", "started"}));
  const QStringList lines = fileLines(list);
  ASSERT_EQ(lines.size(), 1);
  expectFresh(lines.first(), "/watch.html");
}

TEST_F(TokenSite, CheckRefreshesRefusedLinesAndStoresTheFreshAddress) {
  // The first line's token names no time: only the server's 403 tells.
  const QString refused = expiredLine(true, "/opaque.html");
  const QString pageless = expiredLine(false, "/gone.html");
  const QString list = listFile({refused, pageless});
  ConsoleCapture out;
  const QString passing = dir.filePath("passing.txt");
  const auto parsed =
      parseCommandLine({"check", list, "--refresh", "--json", "--out", passing, "--timeout", "8"});
  EXPECT_EQ(runCheck(std::get<CommandLine>(parsed), dir.path(), out.console), kExitSomeFailed)
      << out.errText().toStdString();

  QHash<QString, QJsonObject> verdicts;
  for (const QString& l : out.outLines()) {
    const QJsonObject o = QJsonDocument::fromJson(l.toUtf8()).object();
    verdicts.insert(o.value("address").toString().contains("opaque") ? "opaque" : "gone", o);
  }
  ASSERT_EQ(verdicts.size(), 2) << out.outLines().join('\n').toStdString();
  const QJsonObject fresh = verdicts.value("opaque");
  EXPECT_EQ(fresh.value("verdict").toString(), "playing");
  EXPECT_NE(fresh.value("address").toString(), refused);
  const QJsonObject gone = verdicts.value("gone");
  EXPECT_EQ(gone.value("reason").toString(), "forbidden");
  EXPECT_EQ(gone.value("address").toString(), pageless);

  const QStringList lines = fileLines(list);
  ASSERT_EQ(lines.size(), 2);
  expectFresh(lines.at(0), "/opaque.html");
  EXPECT_EQ(lines.at(1), "CCTV-1," + pageless);
  const QStringList stored = fileLines(passing);
  ASSERT_EQ(stored.size(), 1);
  const auto bare = [](const QString& line) { return line.section(u',', 1).section(u'|', 0, 0); };
  EXPECT_EQ(bare(stored.first()), bare(lines.at(0)));
}

}  // namespace
