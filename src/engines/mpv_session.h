#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <atomic>
#include <cstdint>
#include <utility>

#include "base/user_agent.h"
#include "engines/mpv_failure.h"
#include "engines/playlist_refs.h"
#include "playlists/station_address.h"

struct mpv_handle;
struct mpv_event;
struct mpv_stream_cb_info;
class MpvVideoOutput;
class PlaylistFetch;
namespace mpvname {
struct ObservedProperty;
}

// Opens an address of a protocol of the caller's (on an mpv thread); 0 when
// it fills in info, an mpv error when the address is unknown.
using MpvStreamOpener = int (*)(void* owner, char* uri, mpv_stream_cb_info* info);

enum class MpvReport { Playing, Stalled, Ended, Failed };

struct MpvOptions {
  bool video = false;  // on: the window renders through the libmpv render API
  bool audio = false;  // on: a real sound device
  int startTimeoutMs = 15000;
  int networkTimeoutMs = 10000;
  QByteArray userAgent = useragent::kDefault;  // a station's own User-Agent wins
  // Further options set before the engine starts (names from mpv_names.h).
  QList<std::pair<const char*, QByteArray>> extra;
  // On: progressed() and endReached() are raised.
  bool reportProgress = false;
  // On: what each entry is (mpvname::kFactsObserved) is observed and told
  // by factsCleared() and observed(); the session then never waits on the
  // engine, and durationMs() follows what is observed.
  bool observeFacts = false;
};

// One libmpv handle, which nothing outside the engines sees, and what the
// players and their views need from it: loads tagged by generation, the start
// watchdog, live detection, .ram/.asx expansion with fall-over to the next
// entry, a control bar's events and settings, the picture's output, and the
// translation of mpv's events (in one drain) into the few facts below. All
// signals are raised on the UI thread.
class MpvSession : public QObject {
  Q_OBJECT
 public:
  // A control bar's position moves a few times a second, not with every frame.
  static constexpr int kPositionIntervalMs = 250;

  explicit MpvSession(const MpvOptions& options, QObject* parent = nullptr);
  ~MpvSession() override;
  MpvSession(const MpvSession&) = delete;
  MpvSession& operator=(const MpvSession&) = delete;

  bool started() const { return m_handle != nullptr; }
  // Where the picture goes; null without video or when the engine did not start.
  MpvVideoOutput* video() const { return m_video; }
  // libmpv's version ("0.35.1"), "" when the engine did not start.
  QString version() const { return m_version; }
  // Why the engine did not start, "" when it did.
  QString startError() const { return m_startError; }

  void setStartTimeout(int ms);
  void setNetworkTimeout(int ms);
  // How often each medium plays (1: once).
  void setPlays(int plays) { m_plays = plays; }
  // From now on addresses "<protocol>://…" are read through open.
  void addStreamProtocol(const char* protocol, void* owner, MpvStreamOpener open);

  // Starts a new load of the bare address, sending the station's headers
  // with it (and with every entry of a list it names); from now on the
  // events of earlier loads are dropped.
  void load(const playlists::StationAddress& address);
  // Ends the current load; it reports nothing more.
  void stop();
  // Pauses a load that opens or plays; false when there is none. A paused
  // load reports neither playing nor stalling.
  bool pause();
  // Resumes a paused load; false when none is paused.
  bool resume();

  // What a control bar shows is raised from now on: positionChanged,
  // durationChanged, volumeChanged and muteChanged.
  void reportControls();
  // The controls' settings. They do not wait for the engine: a busy engine
  // never holds up the window.
  void seekTo(double seconds);
  void seekBy(double seconds);
  void setVolume(double percent);
  void setMuted(bool muted);

  // With observeFacts: asks the engine for the detectors' findings as they
  // are now (mpvname::kFindings), which mpv tells later than the position
  // that passed them; observed() brings the answers and findingsCurrent()
  // follows the last. False when nothing could be asked.
  bool askFindings();

  // True while the current load has not yet played.
  bool isOpening() const { return m_phase == Phase::Opening; }
  // Facts of the current load, known once it plays.
  // A live stream has none: no size, or no length (live HLS).
  qint64 durationMs() const { return m_sized && m_length > 0 ? qRound64(m_length * 1000) : 0; }
  int bitrate() const;
  quint64 generation() const { return m_generation; }
  // The HTTP status the current load's failure came with, 0 when none.
  int failureStatus() const { return m_failureStatus; }

 Q_SIGNALS:
  // What the engine did by itself. Playing: the first time, and again after
  // a stall. Stalled: playing, but waiting for data. Ended: a finite medium
  // played to its end. Failed: follows failed() unless its handler started
  // or stopped a load meanwhile.
  void reported(MpvReport what);
  // The load gave up; nothing plays.
  void failed(LoadFailure failure);
  // With reportProgress: the current entry's position moved (seconds; it
  // may move before the entry is reported playing), and the decoder reached
  // the end of what the medium or stream gave, at this position.
  void progressed(double seconds);
  void endReached(double seconds);
  // With observeFacts: an entry of the current load begins, nothing is
  // known of it yet; then one of its facts (an mpvname::Observed) is known
  // or changed, as Qt values (maps, lists, strings, numbers; invalid when
  // mpv has none).
  void factsCleared();
  void findingsCurrent();
  void observed(quint64 which, const QVariant& value);
  // A new load begins (its bare address; empty loads nothing), or stop() ended one;
  // for views that show what the engine does.
  void loading(const QString& address);
  void stopped();
  // With reportControls(), each as the engine has it: the play position (at
  // most every kPositionIntervalMs) and the medium's length in seconds, 0
  // when there is none (nothing loaded, a live stream); the volume in
  // percent; the mute flag.
  void positionChanged(double seconds);
  void durationChanged(double seconds);
  void volumeChanged(double percent);
  void muteChanged(bool muted);

 private:
  enum class Phase { Idle, Opening, Playing, Stalled, Failing };
  struct Event;

  void configure(const MpvOptions& options);
  void observe(const mpvname::ObservedProperty& property);
  void observeEntry();
  void onPropertyChange(const Event& e);
  void onFindingAnswer(Event e);
  void onEntryQueued(const Event& e);
  void queuePosition(double seconds);
  void drain();
  static Event copyEvent(const mpv_event& e);
  void translate(const Event& e);
  void onStartFile(const Event& e);
  void onEndFile(const Event& e);
  void onCacheChange(bool waiting);
  void startPlaying();
  void loadEntries(const QStringList& entries);
  bool isCurrent(std::int64_t entry) const { return entry >= m_firstEntry; }
  // Whether mpv has no entry of this load after this one, nor may get one.
  bool isLastEntry(std::int64_t entry) const { return entry >= m_lastEntry && m_queueing == 0; }
  void abandon();
  void fail(LoadFailure failure);
  // The last entry failed: the reason is given once mpv's log lines are in.
  void failAfterEntry(int mpvError);
  void reportEntryFailure();
  void onWatchdog();
  void command(const char* name);
  void seek(double seconds, const char* how);
  void setFlag(const char* name, bool on);
  void readExtent();
  void setPaused(bool paused);
  void report(MpvReport what);

  mpv_handle* m_handle = nullptr;
  MpvVideoOutput* m_video = nullptr;
  QString m_version;
  QString m_startError;
  PlaylistFetch* m_fetch = nullptr;
  QTimer m_watchdog;
  int m_networkTimeoutMs = 0;
  QByteArray m_userAgent;
  int m_plays = 1;
  bool m_reportProgress = false;
  bool m_observesFacts = false;
  bool m_reportControls = false;
  // The last position not yet raised; positionChanged() waits for the timer.
  QTimer m_positionTimer;
  double m_position = 0;
  std::atomic<bool> m_drainPosted{false};  // a drain waits in the UI thread's queue
  bool m_draining = false;

  // The current load: its generation, its playlist entries (every id from
  // the first on belongs to it), the entry now opening and what it logged.
  quint64 m_generation = 0;
  Phase m_phase = Phase::Idle;
  bool m_paused = false;
  playlists::StationAddress m_address;
  std::int64_t m_firstEntry = INT64_MAX;
  std::int64_t m_lastEntry = 0;
  std::int64_t m_currentEntry = 0;
  int m_queueing = 0;  // entries asked for whose place in mpv's list is not known yet
  bool m_entryActive = false;
  QElapsedTimer m_entryClock;
  QStringList m_entryLog;
  int m_failedError = 0;
  qint64 m_failedAfterMs = 0;
  int m_failureStatus = 0;
  bool m_sized = false;
  double m_length = 0;  // seconds
  int m_findingsAsked = 0;  // answers of askFindings() still to come
};
