// nettv check over 200 stations on 127.0.0.1, run as the user runs it:
// 100 that play (mp3, ogg, wmv, mpeg-ts, HLS, live mp3, and a slow server
// that answers after 3 s), 60 refused ports and 40 servers that accept and
// never answer, with --jobs 16 --timeout 5, measured by /usr/bin/time -v.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <iterator>

#include "local_http_server.h"
#include "media_fixtures.h"

namespace {

constexpr int kPlaying = 100;
constexpr int kRefused = 60;
constexpr int kSilent = 40;

// The playing stations take these kinds in turn: four files, HLS, a live
// stream, and a live stream whose server waits 3 s before it answers.
struct FileKind {
  const char* name;
  const char* type;
};
constexpr FileKind kFiles[] = {{"tone.mp3", "audio/mpeg"},
                               {"tone.ogg", "audio/ogg"},
                               {"tone.wmv", "video/x-ms-wmv"},
                               {"tone.ts", "video/mp2t"}};
constexpr int kKinds = std::size(kFiles) + 3;

QString serveHls(LocalHttpServer& server, const QString& prefix) {
  const MediaFixtures& media = MediaFixtures::instance();
  for (const QString& name : QDir(media.path("hls")).entryList(QDir::Files))
    server.addFile(prefix + "/" + name, media.bytes("hls/" + name),
                   name.endsWith(".m3u8") ? "application/vnd.apple.mpegurl" : "video/mp2t");
  return prefix + "/index.m3u8";
}

QString serveLive(LocalHttpServer& server, const QString& path, int delayMs) {
  LocalHttpServer::Route live;
  live.kind = LocalHttpServer::Route::Kind::Live;
  live.body = MediaFixtures::instance().bytes("live.mp3");
  live.contentType = "audio/mpeg";
  live.bytesPerSecond = 8000;
  live.delayMs = delayMs;
  server.addRoute(path, live);
  return path;
}

QString servePlaying(LocalHttpServer& server, int i) {
  const QString prefix = QStringLiteral("/s%1").arg(i);
  const int kind = i % kKinds;
  if (kind < static_cast<int>(std::size(kFiles))) {
    const QString path = prefix + "/" + kFiles[kind].name;
    server.addFile(path, MediaFixtures::instance().bytes(kFiles[kind].name), kFiles[kind].type);
    return path;
  }
  if (kind == kKinds - 3) return serveHls(server, prefix);
  return serveLive(server, prefix + "/live.mp3", kind == kKinds - 1 ? 3000 : 0);
}

QString playlist(LocalHttpServer& media, LocalHttpServer& silent) {
  QString text = QStringLiteral("#EXTM3U\n");
  auto add = [&text](const QString& name, const QString& address) {
    text += QStringLiteral("#EXTINF:-1,%1\n%2\n").arg(name, address);
  };
  for (int i = 0; i < kPlaying; ++i)
    add(QStringLiteral("play %1").arg(i), media.url(servePlaying(media, i)));
  const quint16 refused = LocalHttpServer::refusedPort();
  for (int i = 0; i < kRefused; ++i)
    add(QStringLiteral("refused %1").arg(i),
        QStringLiteral("http://127.0.0.1:%1/r%2.mp3").arg(refused).arg(i));
  for (int i = 0; i < kSilent; ++i) {
    silent.addHanging(QStringLiteral("/h%1.mp3").arg(i));
    add(QStringLiteral("silent %1").arg(i), silent.url(QStringLiteral("/h%1.mp3").arg(i)));
  }
  return text;
}

double timeField(const QString& report, const QString& pattern) {
  const auto m = QRegularExpression(pattern, QRegularExpression::MultilineOption).match(report);
  return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

// "Elapsed (wall clock) time (h:mm:ss or m:ss): 0:07.41"
double wallSeconds(const QString& report) {
  const auto m =
      QRegularExpression(QStringLiteral("Elapsed \\(wall clock\\).*: (?:(\\d+):)?(\\d+):([\\d.]+)"))
          .match(report);
  if (!m.hasMatch()) return -1;
  return m.captured(1).toDouble() * 3600 + m.captured(2).toDouble() * 60 + m.captured(3).toDouble();
}

void CheckCommand200Stations(benchmark::State& state) {
  if (!MediaFixtures::instance().ok()) return state.SkipWithError("ffmpeg could not make media");
  LocalHttpServer media, silent;
  if (!media.start() || !silent.start()) return state.SkipWithError("no local server");
  QTemporaryDir dir;
  QFile list(dir.filePath("stations.m3u"));
  list.open(QIODevice::WriteOnly);
  list.write(playlist(media, silent).toUtf8());
  list.close();

  int playing = 0, failed = 0;
  double wall = 0, peakMiB = 0;
  for (auto _ : state) {
    QProcess nettv;
    nettv.start("/usr/bin/time", {"-v", NETTV_BINARY, "check", list.fileName(), "--jobs", "16",
                                  "--timeout", "5", "--json", "--dir", dir.path()});
    nettv.waitForFinished(120000);
    playing = failed = 0;
    for (const QByteArray& line : nettv.readAllStandardOutput().split('\n')) {
      const QString verdict = QJsonDocument::fromJson(line).object().value("verdict").toString();
      if (verdict.isEmpty()) continue;
      ++(verdict == u"playing" ? playing : failed);
    }
    const QString report = QString::fromUtf8(nettv.readAllStandardError());
    wall = wallSeconds(report);
    peakMiB =
        timeField(report, QStringLiteral("Maximum resident set size \\(kbytes\\): (\\d+)")) / 1024;
    QFile::remove(dir.filePath("tv_lib_ss_jg.txt"));
  }
  state.counters["playing"] = playing;
  state.counters["failed"] = failed;
  state.counters["wall_s"] = wall;
  state.counters["peak_MiB"] = peakMiB;
  if (playing != kPlaying || failed != kRefused + kSilent)
    state.SkipWithError("wrong verdicts: expected 100 playing and 100 failed");
  else if (wall >= 12 || peakMiB >= 1024)
    state.SkipWithError("over the budget of 12 s and 1 GiB");
}
BENCHMARK(CheckCommand200Stations)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
