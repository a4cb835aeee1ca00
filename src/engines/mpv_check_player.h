#pragma once

#include "engines/check_player.h"
#include "engines/mpv_session.h"

// The checking engine on libmpv: no picture or sound output, decoding as
// fast as the data comes, small read-ahead, one decoding thread, and
// libavfilter's silence, black and freeze detectors on what it decodes.
class MpvCheckPlayer : public CheckPlayer {
 public:
  // minPlayMs: how much decoded media the checker asks for; the detectors
  // judge within it.
  // userAgent: for stations that name none.
  MpvCheckPlayer(int minPlayMs, const QByteArray& userAgent, QObject* parent = nullptr);

  QString startFailure() const override;
  void open(const QString& address, int timeoutMs) override;
  void close() override;
  MediaFacts facts() const override;

  // A factory for the checker.
  static CheckPlayerFactory factory(int minPlayMs, const QByteArray& userAgent);

 private:
  void onProgress(double seconds);
  void onEnd();

  MpvSession m_session;
  bool m_started = false;
  bool m_ended = false;
  qint64 m_decodedMs = 0;
  qint64 m_reportedMs = -1;
};
