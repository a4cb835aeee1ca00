#include "media_fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include "local_http_server.h"

namespace {

QStringList tone(int seconds) {
  return {"-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
          "-ac", "1"};
}

QByteArray contentType(const QString& name) {
  static const QList<std::pair<QString, QByteArray>> types = {
      {".mp3", "audio/mpeg"},          {".ogg", "audio/ogg"},
      {".wmv", "video/x-ms-wmv"},      {".ts", "video/mp2t"},
      {".rm", "application/vnd.rn-realmedia"},
      {".m3u8", "application/vnd.apple.mpegurl"}};
  for (const auto& [ext, type] : types)
    if (name.endsWith(ext)) return type;
  return "application/octet-stream";
}

}  // namespace

const MediaFixtures& MediaFixtures::instance() {
  static const MediaFixtures fixtures;
  return fixtures;
}

MediaFixtures::MediaFixtures() {
  QDir(m_dir.path()).mkpath("hls");
  const QStringList mp3 = {"-ar", "22050", "-b:a", "32k"};
  m_ok = make("tone.mp3", tone(2) + mp3) && make("long.mp3", tone(6) + mp3) &&
         // No tag or index header, so the chunk can repeat endlessly.
         make("live.mp3", tone(4) + mp3 + QStringList{"-id3v2_version", "0", "-write_xing", "0"}) &&
         make("tone.ogg", tone(2) + QStringList{"-c:a", "libvorbis", "-ar", "22050"}) &&
         make("tone.wmv", tone(2) + QStringList{"-c:a", "wmav2", "-ar", "22050", "-b:a", "32k",
                                                "-f", "asf"}) &&
         make("tone.ts", tone(2) + QStringList{"-c:a", "mp2", "-ar", "22050", "-f", "mpegts"}) &&
         make("tone.rm", tone(2) + QStringList{"-c:a", "real_144", "-ar", "8000"}) &&
         make("video.ts", QStringList{"-f", "lavfi", "-i", "testsrc=size=640x360:rate=25"} +
                              tone(3) +
                              QStringList{"-t", "3", "-c:v", "libx264", "-preset", "veryfast",
                                          "-c:a", "aac", "-f", "mpegts"}) &&
         make("hls/index.m3u8",
              tone(3) + QStringList{"-c:a", "aac", "-ar", "22050", "-f", "hls", "-hls_time", "1",
                                    "-hls_list_size", "0", "-hls_segment_filename",
                                    path("hls/seg%d.ts")});
  QFile bad(path("bad.bin"));
  m_ok = m_ok && bad.open(QIODevice::WriteOnly) && bad.write("this is not media\n") > 0;
}

bool makeMedia(const QString& path, const QStringList& ffmpegArgs) {
  QProcess ffmpeg;
  const QStringList quiet = {"-hide_banner", "-loglevel", "error", "-y"};
  ffmpeg.start("ffmpeg", quiet + ffmpegArgs + QStringList{path});
  return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
         ffmpeg.exitCode() == 0;
}

bool MediaFixtures::make(const QString& name, const QStringList& ffmpegArgs) const {
  return makeMedia(path(name), ffmpegArgs);
}

QString MediaFixtures::path(const QString& name) const { return m_dir.filePath(name); }

QByteArray MediaFixtures::bytes(const QString& name) const {
  QFile file(path(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void MediaFixtures::serve(LocalHttpServer& server) const {
  QDirIterator it(m_dir.path(), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString name = QDir(m_dir.path()).relativeFilePath(it.next());
    server.addFile("/media/" + name, bytes(name), contentType(name));
  }
}
