#pragma once

#include <QTimer>
#include <mutex>

#include "engines/check_player.h"
#include "engines/mpv_media_facts.h"
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
  ~MpvCheckPlayer() override;

  QString startFailure() const override;
  void open(const QString& address, int timeoutMs, std::shared_ptr<HeldStream> held) override;
  void close() override;
  MediaFacts facts() const override;
  // Known for a held connection only: mpv's own reads are not counted.
  qint64 receivedBytes() const override;

  // A factory for the checker.
  static CheckPlayerFactory factory(int minPlayMs, const QByteArray& userAgent);

 private:
  // The engine's reader of held connections, on an mpv thread.
  static int openHeld(void* self, char* uri, struct mpv_stream_cb_info* info);
  std::shared_ptr<HeldStream> heldFor(const QByteArray& uri);
  // Ends the current held stream's reads and lets it go.
  void releaseHeld();
  // Clears what is known of the load that ends.
  void forgetLoad();
  void onProgress(double seconds);
  void onEnd(double seconds);
  void postReport();
  void askFindingsOnce();
  void deliverReport();
  void report();

  // Before the session: mpv may open a held stream until the session ends.
  mutable std::mutex m_heldLock;
  std::shared_ptr<HeldStream> m_held;
  QByteArray m_heldUri;
  quint64 m_heldCount = 0;
  MpvSession m_session;
  ObservedMediaFacts m_facts;
  const qint64 m_minPlayMs;
  const qint64 m_detectorRunMs;
  quint64 m_load = 0;
  bool m_started = false;
  bool m_ended = false;
  bool m_reportPosted = false;
  // The detectors' findings are asked for once they have judged the load;
  // the report the checker judges by waits a little for the answers.
  bool m_findingsAsked = false;
  bool m_findingsPending = false;
  QTimer m_findingsWait;
  qint64 m_decodedMs = 0;
  qint64 m_reportedMs = -1;
};
