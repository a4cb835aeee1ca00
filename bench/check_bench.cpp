// nettv check over 2,000 stations on 127.0.0.1, run as the user runs it:
// 1,000 that play (mp3, ogg, wmv, mpeg-ts, H.264 video, HLS, live mp3, and a
// slow server that answers after 3 s), 500 refused ports and 500 servers that accept and
// never answer, with --timeout 5 and --jobs 16 or 64. Wall time, peak memory
// (the kernel's high-water mark of the process) and the sockets it holds at
// once are sampled from /proc while it runs.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <iterator>

#include "local_http_server.h"
#include "media_fixtures.h"

namespace {

constexpr int kPlaying = 1000;
constexpr int kRefused = 500;
constexpr int kSilent = 500;

// The playing stations take these kinds in turn: five files, HLS, a live
// stream, and a live stream whose server waits 3 s before it answers.
struct FileKind {
  const char* name;
  const char* type;
};
constexpr FileKind kFiles[] = {{"tone.mp3", "audio/mpeg"},
                               {"tone.ogg", "audio/ogg"},
                               {"tone.wmv", "video/x-ms-wmv"},
                               {"tone.ts", "video/mp2t"},
                               {"video.ts", "video/mp2t"}};
constexpr int kKinds = std::size(kFiles) + 3;

QString serveHls(LocalHttpServer& server, const QString& prefix) {
  const MediaFixtures& media = MediaFixtures::instance();
  for (const QString& name : QDir(media.path("hls")).entryList(QDir::Files))
    server.addFile(prefix + "/" + name, media.bytes("hls/" + name),
                   name.endsWith(".m3u8") ? "application/vnd.apple.mpegurl" : "video/mp2t");
  return prefix + "/index.m3u8";
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
  const QString path = prefix + "/live.mp3";
  server.addLive(path, MediaFixtures::instance().bytes("live.mp3"), "audio/mpeg", 8000,
                 kind == kKinds - 1 ? 3000 : 0);
  return path;
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

// The kernel's high-water mark of the process's resident memory, in MiB.
double peakMiB(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
  return -1;
}

// The sockets the process holds now.
int openSockets(qint64 pid) {
  int sockets = 0;
  const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
  for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot))
    if (fd.symLinkTarget().contains(QLatin1String("socket:"))) ++sockets;
  return sockets;
}

void CheckCommand2000Stations(benchmark::State& state) {
  const int jobs = static_cast<int>(state.range(0));
  if (!MediaFixtures::instance().ok()) return state.SkipWithError("ffmpeg could not make media");
  LocalHttpServer media, silent;
  if (!media.start() || !silent.start()) return state.SkipWithError("no local server");
  QTemporaryDir dir;
  QFile list(dir.filePath("stations.m3u"));
  list.open(QIODevice::WriteOnly);
  list.write(playlist(media, silent).toUtf8());
  list.close();

  int playing = 0, failed = 0, sockets = 0;
  double wall = 0, peak = 0;
  QStringList wrong;  // stations judged against their kind
  for (auto _ : state) {
    QProcess nettv;
    QElapsedTimer clock;
    clock.start();
    nettv.start(NETTV_BINARY, {"check", list.fileName(), "--jobs", QString::number(jobs),
                               "--timeout", "5", "--json", "--dir", dir.path()});
    nettv.waitForStarted();
    const qint64 pid = nettv.processId();
    QByteArray out;
    while (!nettv.waitForFinished(50)) {
      out += nettv.readAllStandardOutput();
      peak = std::max(peak, peakMiB(pid));
      sockets = std::max(sockets, openSockets(pid));
    }
    wall = clock.elapsed() / 1000.0;
    out += nettv.readAllStandardOutput();
    playing = failed = 0;
    wrong.clear();
    for (const QByteArray& line : out.split('\n')) {
      const QJsonObject result = QJsonDocument::fromJson(line).object();
      const QString verdict = result.value("verdict").toString();
      if (verdict.isEmpty()) continue;
      ++(verdict == u"playing" ? playing : failed);
      const QString name = result.value("name").toString();
      if ((verdict == u"playing") != name.startsWith(u"play "))
        wrong << name + ": " + verdict + " " + result.value("reason").toString();
    }
    QFile::remove(dir.filePath("tv_lib_ss_jg.txt"));
  }
  state.counters["jobs"] = jobs;
  state.counters["playing"] = playing;
  state.counters["failed"] = failed;
  state.counters["wall_s"] = wall;
  state.counters["peak_MiB"] = peak;
  state.counters["sockets_at_once"] = sockets;
  const double budget = jobs <= 16 ? 300 : 600;
  const QString figures =
      QStringLiteral("%1 s, %2 MiB, %3 sockets at once").arg(wall).arg(peak).arg(sockets);
  if (!wrong.isEmpty())
    state.SkipWithError(QStringLiteral("%1 wrong verdicts (%2), such as %3")
                            .arg(wrong.size())
                            .arg(figures, wrong.mid(0, 5).join(QStringLiteral("; ")))
                            .toStdString()
                            .c_str());
  else if (peak >= budget)
    state.SkipWithError(QStringLiteral("over the memory budget of %1 MB (%2)")
                            .arg(budget)
                            .arg(figures)
                            .toStdString()
                            .c_str());
}
BENCHMARK(CheckCommand2000Stations)->Arg(16)->Arg(64)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
