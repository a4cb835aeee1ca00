// Stations whose servers refuse requests without the right Referer,
// User-Agent or other header play from the window's procedures on the real
// engines, which get the bare address and the headers apart.
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include "form/form.h"
#include "base/core_host.h"
#include "engines/mpv_media_player.h"
#include "engines/mpv_real_player.h"
#include "event_loop_wait.h"
#include "fake_engines.h"
#include "media_fixtures.h"
#include "playback/play_address.h"

namespace {

constexpr char kPage[] = "http://tv.example.cn/live/page.html";
constexpr char kAgent[] = "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko)";

class StationHeadersPlayTest : public MediaServerTest {
 protected:
  void SetUp() override {
    MediaServerTest::SetUp();
    const MediaFixtures& media = MediaFixtures::instance();
    server.addLocked("/referer.mp3", media.bytes("live.mp3"), "audio/mpeg", "Referer", kPage);
    server.addLocked("/agent.mp3", media.bytes("live.mp3"), "audio/mpeg", "User-Agent", kAgent);
    server.addLocked("/token.mp3", media.bytes("live.mp3"), "audio/mpeg", "X-Token", "a,b\\");
    server.addLocked("/locked.rm", media.bytes("tone.rm"), "audio/x-pn-realaudio", "Referer",
                     kPage);
    server.addLocked("/list.asx",
                     "<asx><entry><ref href=\"" + server.url("/referer.mp3").toUtf8() +
                         "\"/></entry></asx>",
                     "video/x-ms-asf", "Referer", kPage);
    server.addLocked("/agent.asx",
                     "<asx><entry><ref href=\"" + server.url("/agent.mp3").toUtf8() +
                         "\"/></entry></asx>",
                     "video/x-ms-asf", "User-Agent", kAgent);
    lockHls("/locked-hls/", "Referer", kPage);
    wmp.session().setStartTimeout(3000);
    real.session().setStartTimeout(3000);
    QObject::connect(&wmp, &MediaPlayer::Error, &guard, [this] { ++failures; });
    QObject::connect(&real, &RealPlayer::ErrorEvent, &guard, [this] { ++failures; });
  }

  // The fixture's HLS stream under prefix, its playlist and every segment
  // refused without the header, as hosts of live TV do.
  void lockHls(const QString& prefix, const QByteArray& header, const QByteArray& value) {
    const MediaFixtures& media = MediaFixtures::instance();
    const QByteArray playlist = media.bytes("hls/index.m3u8");
    server.addLocked(prefix + "index.m3u8", playlist, "application/vnd.apple.mpegurl", header,
                     value);
    for (const QByteArray& line : playlist.split('\n')) {
      const QString segment = QString::fromUtf8(line.trimmed());
      if (segment.isEmpty() || segment.startsWith(u'#')) continue;
      server.addLocked(prefix + segment, media.bytes("hls/" + segment), "video/mp2t", header,
                       value);
    }
  }

  QString locked(const QString& path, const QString& suffix) const {
    return suffix.isEmpty() ? server.url(path) : server.url(path) + u'|' + suffix;
  }

  bool playing() const {
    return wmp.playState() == MediaPlayer::Playing ||
           real.get(RealPlayer::PlayState).toInt() == RealPlayer::Playing;
  }

  // Plays the address through the window's procedure; true once it plays,
  // false once an engine gives up on it.
  bool plays(const QString& address) {
    failures = 0;
    playback::PlayAddress(f, address);
    waitUntil([&] { return playing() || failures > 0; }, 8000);
    const bool played = playing();
    playback::StopAll(f);
    return played;
  }

  QTemporaryDir dir;
  CoreHost host{[](const QString&, const QString&) {}};
  MpvMediaPlayer wmp;
  MpvRealPlayer real;
  QStringList browserLog;
  FakeBrowser browser{browserLog};
  Form f{host, wmp, real, browser, dir.path()};
  QObject guard;
  int failures = 0;
};

TEST_F(StationHeadersPlayTest, PlaysOnlyWithTheHeadersTheServerWants) {
  const QString referer = QStringLiteral("Referer=") + kPage;
  const QString agent = QStringLiteral("User-Agent=") + QUrl::toPercentEncoding(kAgent);
  struct Case {
    QString path;
    QString suffix;
    bool realPlayer;
    bool plays;
  };
  const QList<Case> cases = {
      {"/referer.mp3", "", false, false},
      {"/referer.mp3", referer, false, true},
      {"/referer.mp3", "referer=" + QString(kPage), false, true},
      {"/agent.mp3", "", false, false},
      {"/agent.mp3", agent, false, true},
      {"/agent.mp3", referer + "&" + agent, false, true},
      // A comma and a trailing backslash survive mpv's list option.
      {"/token.mp3", "X-Token=a%2Cb%5C", false, true},
      // A malformed suffix is dropped: the bare address is asked for.
      {"/referer.mp3", "Referer", false, false},
      // Every segment of a live HLS stream is asked for with the headers.
      {"/locked-hls/index.m3u8", referer, false, true},
      {"/locked-hls/index.m3u8", "", false, false},
      {"/list.asx", referer, false, true},
      {"/list.asx", "", false, false},
      // The station's User-Agent replaces the engine's on the list and its entries.
      {"/agent.asx", agent, false, true},
      {"/agent.asx", "", false, false},
      {"/locked.rm", referer, true, true},
      // The route is chosen by the bare address, not by a header ending in .rm.
      {"/referer.mp3", referer + "&X-Note=clip.rm", false, true},
  };
  for (const Case& c : cases) {
    const QString address = locked(c.path, c.suffix);
    EXPECT_EQ(plays(address), c.plays) << address.toStdString();
    EXPECT_EQ(f.PlayerKind, c.realPlayer ? "real" : "win") << address.toStdString();
  }
}

}  // namespace
