#pragma once

#include <array>

#include "engines/mpv_session.h"
#include "form/channel_player.h"

// Where a channel's media goes.
struct ChannelOutput {
  QByteArray audioDriver;  // mpv's audio output; empty: the default device; "null": none
  bool video = true;       // false: the picture is not even decoded
  bool render = false;     // a view shows the picture through the render API
  QByteArray userAgent = useragent::kDefault;  // for stations that name none
};

// A channel's engine on libmpv: plays in real time with the options the
// caller chose (sound device, picture), runs the checker's silence, black
// and freeze detectors on what it decodes, and reports as ChannelPlayer
// promises.
class MpvChannelPlayer : public ChannelPlayer {
 public:
  // Silence and a still picture count once they last this long.
  static constexpr int kDetectorRunMs = 1000;

  explicit MpvChannelPlayer(const ChannelOutput& output, QObject* parent = nullptr);

  // Empty when the engine started; otherwise, for the user, why it could not.
  QString startFailure() const;
  void play(const QString& address) override;
  void stop() override;
  // The session for views that show what it plays.
  MpvSession& session() { return m_session; }

 private:
  void onReport(MpvReport report);
  void onFailed(LoadFailure failure);
  void onProgress(double seconds);
  void checkFlags(qint64 positionMs);

  MpvSession m_session;
  bool m_started = false;
  bool m_hasAudio = false;
  bool m_hasVideo = false;
  qint64 m_reportedMs = -1;
  // Per flag: the position its run began at, -1 while it does not hold.
  std::array<qint64, 3> m_flagSince{-1, -1, -1};
};
