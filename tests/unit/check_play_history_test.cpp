// The window's players record what they play and what fails into health.db.
#include <gtest/gtest.h>

#include "app/wiring.h"
#include "check/play_history.h"
#include "engines/mpv_media_player.h"
#include "engines/mpv_real_player.h"
#include "fake_rig.h"
#include "history/line_key.h"

namespace {

// Wired as the programs wire it: the history first, then the handlers.
struct PlayHistoryRig : FakeRig {
  PlayHistoryRig() {
    check::RecordPlays(f);
    app::wire(f);
  }
  std::optional<history::LineSummary> summary(const QString& address) {
    return f.health.summary(history::lineKey(address));
  }
};

}  // namespace

TEST(PlayHistory, PlaysAndFailuresOfNetworkStationsAreRecorded) {
  PlayHistoryRig rig;
  const QString good = QStringLiteral("http://a.example.cn/live.mp3|Referer=http://a.example.cn/");
  const QString bad = QStringLiteral("http://b.example.cn/x.mp3");
  rig.wmp.source = good;
  rig.wmp.raiseState(MediaPlayer::Playing);
  rig.wmp.source = bad;
  rig.wmp.raiseError(MpvMediaPlayer::errorCodeOf(LoadFailure::Missing));
  const QString refused = QStringLiteral("rtsp://c.example.cn/live.rm");
  rig.real.props[RealPlayer::Source] = refused;
  rig.real.raiseError(MpvRealPlayer::errorCodeOf(LoadFailure::Unreachable));
  rig.wmp.source = QStringLiteral("/home/user/song.mp3");
  rig.wmp.raiseState(MediaPlayer::Playing);

  ASSERT_TRUE(rig.summary(good));
  EXPECT_EQ(rig.summary(good)->last.outcome, history::outcome::kPlaying);
  EXPECT_EQ(rig.summary(good)->last.source, history::source::kPlay);
  ASSERT_TRUE(rig.summary(bad));
  EXPECT_EQ(rig.summary(bad)->last.reason, QStringLiteral("not_found"));
  ASSERT_TRUE(rig.summary(refused));
  EXPECT_EQ(rig.summary(refused)->last.reason, QStringLiteral("refused"));
  EXPECT_FALSE(rig.summary(QStringLiteral("/home/user/song.mp3")));
}
