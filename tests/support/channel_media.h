#pragma once

#include <QFile>
#include <QTemporaryDir>

#include "media_fixtures.h"

// Media for playing channels, made with ffmpeg once per process: 30 s each
// of a tone at 32 kb/s ("tone.mp3", 4000 bytes a second), a black picture
// with the tone ("black.ts") and a test picture with the tone ("picture.ts").
struct ChannelMedia {
  QTemporaryDir dir;
  bool ok = make("tone.mp3", {"-ac", "1", "-c:a", "libmp3lame", "-b:a", "32k"}) &&
            make("black.ts", {"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "mpegts"},
                 "color=black:size=160x120:rate=15") &&
            make("picture.ts", {"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "mpegts"},
                 "testsrc=size=320x240:rate=15");

  QByteArray bytes(const QString& name) const {
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  static const ChannelMedia& instance() {
    static const ChannelMedia media;
    return media;
  }

 private:
  bool make(const QString& name, const QStringList& output, const QString& picture = {}) {
    QStringList input;
    if (!picture.isEmpty()) input << "-f" << "lavfi" << "-i" << picture;
    input << "-f" << "lavfi" << "-i" << "sine=frequency=440:sample_rate=22050";
    return makeMedia(dir.filePath(name), input + QStringList{"-t", "30"} + output);
  }
};
