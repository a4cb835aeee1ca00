#pragma once

#include <array>
#include <functional>
#include <memory>

#include "engines/mpv_media_facts.h"
#include "engines/mpv_session.h"
#include "form/channel_player.h"

// Where a channel's media goes.
struct ChannelOutput {
  QByteArray audioDriver;  // mpv's audio output; empty: the default device; "null": none
  bool video = true;       // false: the picture is not even decoded
  QByteArray userAgent = useragent::kDefault;  // for stations that name none
};

// A channel's engine on libmpv: plays in real time, runs the checker's
// silence, black and freeze detectors on what it decodes, and reports as
// ChannelPlayer promises. It has an engine of its own, or plays on the
// session of a player the window shows.
class MpvChannelPlayer : public ChannelPlayer {
  Q_OBJECT
 public:
  using Load = std::function<void(const QString& address)>;
  // Silence and a still picture count once they last this long.
  static constexpr int kDetectorRunMs = 1000;

  explicit MpvChannelPlayer(const ChannelOutput& output, QObject* parent = nullptr);
  // On a session another player owns, made with withChannels(): lines load
  // and stop through that player's own procedures. A load or a stop the
  // channel did not ask for ends it: taken() comes, and nothing more.
  MpvChannelPlayer(MpvSession& session, Load load, std::function<void()> stop,
                   QObject* parent = nullptr);
  ~MpvChannelPlayer() override;

  // A shown player's options with what channels need of its session:
  // progress reports and the detectors, the picture left as it is.
  static MpvOptions withChannels(MpvOptions options);

  // Empty when the engine started; otherwise, for the user, why it could not.
  QString startFailure() const;
  void play(const QString& address) override;
  void stop() override;

 Q_SIGNALS:
  void taken();

 private:
  void watch();
  void onOthersLoad();
  void onReport(MpvReport report);
  void onFailed(LoadFailure failure);
  void onProgress(double seconds);
  void checkFlags(qint64 positionMs);
  // Raises failed() from the event loop, after the owner's own handlers.
  void fail(const QString& reason, int status);

  std::unique_ptr<MpvSession> m_own;
  MpvSession& m_session;
  Load m_load;
  std::function<void()> m_stop;
  bool m_active = false;   // a line of the channel is loaded
  bool m_calling = false;  // inside our own load or stop
  quint64 m_line = 0;      // bumped by every play and stop
  bool m_started = false;
  // What the line now playing is: its tracks and the detectors' findings.
  ObservedMediaFacts m_facts;
  qint64 m_reportedMs = -1;
  // Per flag: the position its run began at, -1 while it does not hold.
  std::array<qint64, 3> m_flagSince{-1, -1, -1};
};
