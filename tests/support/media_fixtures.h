#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "local_http_server.h"

// Runs ffmpeg with args to make path; true when it did.
bool makeMedia(const QString& path, const QStringList& ffmpegArgs);

// Tiny media made with ffmpeg the first time a test asks, once per process,
// in a temporary folder: "tone.mp3" (2 s), "long.mp3" (6 s), "live.mp3" (a
// chunk to repeat as an endless stream), "tone.ogg", "tone.wmv" (ASF),
// "tone.ts", "tone.rm" (RealAudio 14.4), "video.ts" (3 s of H.264 at 640x360
// with AAC sound), "hls/index.m3u8" with its segments, and "bad.bin" (no
// media at all).
class MediaFixtures {
 public:
  static const MediaFixtures& instance();

  // False when ffmpeg could not make every file.
  bool ok() const { return m_ok; }
  QString path(const QString& name) const;
  QByteArray bytes(const QString& name) const;
  // Serves every file under "/media/<name>".
  void serve(LocalHttpServer& server) const;

 private:
  MediaFixtures();
  bool make(const QString& name, const QStringList& ffmpegArgs) const;

  QTemporaryDir m_dir;
  bool m_ok = false;
};

// A test with the fixture media served under "/media/" by its own server.
class MediaServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(MediaFixtures::instance().ok()); }
  void SetUp() override {
    ASSERT_TRUE(server.start());
    MediaFixtures::instance().serve(server);
  }
  // Serves "long.mp3" (6 s) at "/stall.mp3", stopping for 3 s after its
  // first third: a stall in the middle of play.
  void addStallingMp3() {
    LocalHttpServer::Route route;
    route.body = MediaFixtures::instance().bytes("long.mp3");
    route.contentType = "audio/mpeg";
    route.stallAfterBytes = route.body.size() / 3;
    route.stallMs = 3000;
    server.addRoute("/stall.mp3", route);
  }

  LocalHttpServer server;
};
