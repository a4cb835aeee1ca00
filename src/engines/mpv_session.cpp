#include "engines/mpv_session.h"

#include <QUrl>
#include <algorithm>
#include <deque>
#include <mpv/client.h>
#include <mpv/stream_cb.h>
#include <optional>
#include <vector>

#include "engines/mpv_names.h"
#include "engines/mpv_video_output.h"
#include "engines/playlist_fetch.h"

using namespace mpvname;

namespace {

// Marks the answers of askFindings(); the load's generation and the
// finding's id are below it.
constexpr quint64 kFindingAnswer = quint64{1} << 63;

// A map node for mpv_command_node; its strings live as long as the map.
class NodeMap {
 public:
  void add(const char* key, const QByteArray& value) {
    m_strings.push_back(value);
    mpv_node node{};
    node.format = MPV_FORMAT_STRING;
    node.u.string = m_strings.back().data();
    m_keys.push_back(const_cast<char*>(key));
    m_values.push_back(node);
  }
  void add(const char* key, NodeMap& map) {
    m_keys.push_back(const_cast<char*>(key));
    m_values.push_back(map.node());
  }
  mpv_node node() {
    m_list = {static_cast<int>(m_values.size()), m_values.data(), m_keys.data()};
    mpv_node node{};
    node.format = MPV_FORMAT_NODE_MAP;
    node.u.list = &m_list;
    return node;
  }

 private:
  std::deque<QByteArray> m_strings;
  std::vector<char*> m_keys;
  std::vector<mpv_node> m_values;
  mpv_node_list m_list{};
};

std::optional<std::int64_t> entryIdOf(const mpv_node& result) {
  if (result.format != MPV_FORMAT_NODE_MAP) return std::nullopt;
  for (int i = 0; i < result.u.list->num; ++i)
    if (qstrcmp(result.u.list->keys[i], kEntryId) == 0 &&
        result.u.list->values[i].format == MPV_FORMAT_INT64)
      return result.u.list->values[i].u.int64;
  return std::nullopt;
}

QVariant valueOf(const mpv_node& node) {
  switch (node.format) {
    case MPV_FORMAT_STRING: return QString::fromUtf8(node.u.string);
    case MPV_FORMAT_FLAG: return node.u.flag != 0;
    case MPV_FORMAT_INT64: return static_cast<qint64>(node.u.int64);
    case MPV_FORMAT_DOUBLE: return node.u.double_;
    case MPV_FORMAT_NODE_ARRAY: {
      QVariantList list;
      for (int i = 0; i < node.u.list->num; ++i) list << valueOf(node.u.list->values[i]);
      return list;
    }
    case MPV_FORMAT_NODE_MAP: {
      QVariantMap map;
      for (int i = 0; i < node.u.list->num; ++i)
        map.insert(QString::fromUtf8(node.u.list->keys[i]), valueOf(node.u.list->values[i]));
      return map;
    }
    default: return {};
  }
}

bool isHttp(const QString& address) {
  const QString scheme = QUrl(address).scheme().toLower();
  return scheme == u"http" || scheme == u"https";
}

// "\," keeps a comma inside one item of mpv's list option. A value ending in
// a backslash would escape the separator after it; a trailing space (which
// HTTP ignores) keeps them apart.
QByteArray headerField(const playlists::RequestHeader& header) {
  QByteArray value = header.value;
  if (value.endsWith('\\')) value += ' ';
  QByteArray field = header.name + ": " + value;
  return field.replace(",", "\\,");
}

// User-Agent and Referer have options of their own; the station's
// User-Agent replaces the session's for this file only.
void addHeaderOptions(NodeMap& options, const QList<playlists::RequestHeader>& headers) {
  QByteArrayList fields;
  for (const playlists::RequestHeader& h : headers) {
    if (h.name.compare("User-Agent", Qt::CaseInsensitive) == 0)
      options.add(kUserAgent, h.value);
    else if (h.name.compare("Referer", Qt::CaseInsensitive) == 0)
      options.add(kReferrer, h.value);
    else
      fields << headerField(h);
  }
  if (!fields.isEmpty()) options.add(kHttpHeaderFields, fields.join(','));
}

bool isRtsp(const QString& address) {
  return QUrl(address).scheme().toLower().startsWith(u"rtsp");
}

QByteArray secondsText(int ms) { return QByteArray::number(ms / 1000.0); }

}  // namespace

// An mpv event copied out of mpv's buffer, which the next mpv_wait_event
// reuses: a handler we signal may run the event loop and drain again.
struct MpvSession::Event {
  mpv_event_id id = MPV_EVENT_NONE;
  std::int64_t entry = -1;
  int reason = 0;
  int error = 0;
  std::int64_t insertId = 0;
  int insertCount = 0;
  std::uint64_t userdata = 0;  // the observed property, or the request replied to
  bool hasFlag = false;
  bool flag = false;
  bool hasNumber = false;
  double number = 0;
  QVariant value;  // of a property observed as a node
  QString text;
};

MpvSession::MpvSession(const MpvOptions& options, QObject* parent)
    : QObject(parent),
      m_fetch(new PlaylistFetch(this)),
      m_userAgent(options.userAgent),
      m_reportProgress(options.reportProgress),
      m_observesFacts(options.observeFacts) {
  m_watchdog.setSingleShot(true);
  m_watchdog.setInterval(options.startTimeoutMs);
  connect(&m_watchdog, &QTimer::timeout, this, &MpvSession::onWatchdog);
  m_positionTimer.setSingleShot(true);
  m_positionTimer.setInterval(kPositionIntervalMs);
  connect(&m_positionTimer, &QTimer::timeout, this,
          [this] { Q_EMIT positionChanged(m_position); });
  connect(m_fetch, &PlaylistFetch::fetched, this, [this](const QString& text, const QString& from) {
    const QStringList found =
        playlistrefs::entries(playlistrefs::kindOf(m_address.bare), text, from);
    loadEntries(found.isEmpty() ? QStringList{m_address.bare} : found);
  });
  connect(m_fetch, &PlaylistFetch::failed, this, &MpvSession::fail);
  // Fails under a locale whose numbers are not written as in C: main sets it.
  m_handle = mpv_create();
  if (!m_handle) {
    m_startError = QStringLiteral("libmpv could not be created");
    return;
  }
  configure(options);
  if (const int error = mpv_initialize(m_handle); error < 0) {
    m_startError = QString::fromUtf8(mpv_error_string(error));
    mpv_terminate_destroy(m_handle);
    m_handle = nullptr;
    return;
  }
  for (const ObservedProperty& p : kObserved) observe(p);
  // With the facts, the position is observed for each entry, after them.
  if (m_reportProgress && !m_observesFacts) {
    observe(kPositionObserved);
    for (const ObservedProperty& p : kProgressObserved) observe(p);
  }
  if (options.video) m_video = new MpvVideoOutput(m_handle, this);
  mpv_request_log_messages(m_handle, kFailureLogLevel);
  char* version = mpv_get_property_string(m_handle, kVersion);
  m_version = QString::fromUtf8(version).section(u' ', -1);
  mpv_free(version);
  mpv_set_wakeup_callback(
      m_handle,
      [](void* self) {
        // Runs on an mpv thread: only post to the UI thread here, and once
        // until the drain runs; a decoding engine wakes us for every frame.
        auto* session = static_cast<MpvSession*>(self);
        if (!session->m_drainPosted.exchange(true))
          QMetaObject::invokeMethod(session, &MpvSession::drain, Qt::QueuedConnection);
      },
      this);
}

MpvSession::~MpvSession() {
  if (!m_handle) return;
  delete m_video;
  mpv_set_wakeup_callback(m_handle, nullptr, nullptr);
  mpv_terminate_destroy(m_handle);
}

void MpvSession::configure(const MpvOptions& options) {
  auto set = [this](const char* name, const QByteArray& value) {
    mpv_set_option_string(m_handle, name, value.constData());
  };
  set(kYtdl, "no");
  set(kLoadScripts, "no");
  for (const char* script : {kLoadStats, kLoadConsole, kLoadAutoProfiles}) set(script, "no");
  set(kAudioFallbackToNull, "yes");
  set(kUserAgent, options.userAgent);
  set(kIdle, "yes");
  set(kTerminal, "no");
  set(kVideoOutput, options.video ? "libmpv" : "null");
  if (!options.audio) set(kAudioOutput, "null");
  setNetworkTimeout(options.networkTimeoutMs);
  set(kNetworkTimeout, secondsText(options.networkTimeoutMs));
  for (const auto& [name, value] : options.extra) set(name, value);
}

// Observes the property anew: an earlier observation of it ends.
void MpvSession::observe(const ObservedProperty& property) {
  const auto id = static_cast<std::uint64_t>(property.id);
  mpv_unobserve_property(m_handle, id);
  mpv_observe_property(m_handle, id, property.name, property.format);
}

void MpvSession::reportControls() {
  if (!m_handle || m_reportControls) return;
  m_reportControls = true;
  // Observing sends each property's value as it is now.
  if (!m_reportProgress) observe(kPositionObserved);
  for (const ObservedProperty& p : kControlsObserved) observe(p);
}

void MpvSession::addStreamProtocol(const char* protocol, void* owner, MpvStreamOpener open) {
  if (m_handle) mpv_stream_cb_add_ro(m_handle, protocol, owner, open);
}

// A fresh observation delivers only values read after it began, none of an
// earlier entry's. The position comes last: mpv reads what changed in the
// order it was observed, so by the time a position is told, the facts of
// that moment are too.
void MpvSession::observeEntry() {
  for (const ObservedProperty& p : kFactsObserved) observe(p);
  if (!m_reportProgress) return;
  observe(kPositionObserved);
  for (const ObservedProperty& p : kProgressObserved) observe(p);
}

void MpvSession::setStartTimeout(int ms) { m_watchdog.setInterval(ms); }

// Given with each load, not set and waited for.
void MpvSession::setNetworkTimeout(int ms) { m_networkTimeoutMs = ms; }

void MpvSession::load(const playlists::StationAddress& address) {
  abandon();
  m_address = address;
  m_sized = false;
  m_length = 0;
  m_failureStatus = 0;
  Q_EMIT loading(address.bare);
  if (!m_handle) return;
  setPaused(false);
  const QString& bare = address.bare;
  if (bare.trimmed().isEmpty()) {
    command(kStop);
    return;
  }
  m_phase = Phase::Opening;
  m_watchdog.start();
  if (playlistrefs::kindOf(bare) != playlistrefs::Kind::None &&
      (isLocalAddress(bare) || isHttp(bare))) {
    command(kStop);
    m_fetch->start(address, m_networkTimeoutMs, m_userAgent);
    return;
  }
  loadEntries({bare});
}

void MpvSession::stop() {
  abandon();
  if (m_handle) command(kStop);
  Q_EMIT stopped();
}

bool MpvSession::pause() {
  if (m_paused || (m_phase != Phase::Opening && m_phase != Phase::Playing &&
                   m_phase != Phase::Stalled))
    return false;
  m_paused = true;
  setPaused(true);
  return true;
}

bool MpvSession::resume() {
  if (!m_paused) return false;
  m_paused = false;
  setPaused(false);
  return true;
}

void MpvSession::setPaused(bool paused) { setFlag(kPause, paused); }

void MpvSession::setMuted(bool muted) { setFlag(kMute, muted); }

// Requests go to mpv's queue and are carried out in order; their replies
// are not waited for.
void MpvSession::setFlag(const char* name, bool on) {
  int flag = on;
  if (m_handle) mpv_set_property_async(m_handle, 0, name, MPV_FORMAT_FLAG, &flag);
}

void MpvSession::setVolume(double percent) {
  if (m_handle) mpv_set_property_async(m_handle, 0, kVolume, MPV_FORMAT_DOUBLE, &percent);
}

void MpvSession::seekTo(double seconds) { seek(seconds, kAbsolute); }

void MpvSession::seekBy(double seconds) { seek(seconds, kRelative); }

void MpvSession::seek(double seconds, const char* how) {
  if (!m_handle) return;
  const QByteArray offset = QByteArray::number(seconds);
  const char* args[] = {kSeek, offset.constData(), how, nullptr};
  mpv_command_async(m_handle, 0, args);
}

int MpvSession::bitrate() const {
  double total = 0;
  for (const char* name : {kAudioBitrate, kVideoBitrate}) {
    double value = 0;
    if (m_handle && mpv_get_property(m_handle, name, MPV_FORMAT_DOUBLE, &value) >= 0)
      total += value;
  }
  return static_cast<int>(total);
}

void MpvSession::loadEntries(const QStringList& entries) {
  for (qsizetype i = 0; i < entries.size(); ++i) {
    NodeMap options;
    options.add(kNetworkTimeout, secondsText(m_networkTimeoutMs));
    if (m_plays > 1) options.add(kLoopFile, QByteArray::number(m_plays - 1));
    // rtsp gives no network timeout of its own.
    if (isRtsp(entries[i]))
      options.add(kLavfOptions, "timeout=" + QByteArray::number(qint64(m_networkTimeoutMs) * 1000));
    addHeaderOptions(options, m_address.headers);
    NodeMap args;
    args.add(kName, kLoadFile);
    args.add(kUrl, entries[i].toUtf8());
    // An earlier entry may already have failed and left mpv idle.
    args.add(kFlags, i == 0 ? kReplace : kAppendPlay);
    args.add(kOptions, options);
    mpv_node request = args.node();
    // The reply, tagged with the load, tells the entry's place in the list.
    if (mpv_command_node_async(m_handle, m_generation, &request) >= 0) ++m_queueing;
  }
  if (m_queueing > 0) return;
  // Nothing could be queued: fail from the event loop, as every failure does.
  QTimer::singleShot(0, this, [this, generation = m_generation] {
    if (generation == m_generation) fail(LoadFailure::Other);
  });
}

void MpvSession::drain() {
  m_drainPosted = false;
  // A handler we signal may run the event loop; the outer loop reads on.
  if (m_draining || !m_handle) return;
  m_draining = true;
  for (;;) {
    const mpv_event* e = mpv_wait_event(m_handle, 0);
    if (e->event_id == MPV_EVENT_NONE) break;
    translate(copyEvent(*e));
  }
  m_draining = false;
  // mpv hands out log lines only once its event queue is empty, so the
  // lines that tell why an entry failed come after the entry's end.
  if (m_phase == Phase::Failing) reportEntryFailure();
}

MpvSession::Event MpvSession::copyEvent(const mpv_event& e) {
  Event out;
  out.id = e.event_id;
  out.error = e.error;
  switch (e.event_id) {
    case MPV_EVENT_START_FILE:
      out.entry = static_cast<const mpv_event_start_file*>(e.data)->playlist_entry_id;
      break;
    case MPV_EVENT_END_FILE: {
      const auto* end = static_cast<const mpv_event_end_file*>(e.data);
      out.entry = end->playlist_entry_id;
      out.reason = end->reason;
      out.error = end->error;
      out.insertId = end->playlist_insert_id;
      out.insertCount = end->playlist_insert_num_entries;
      break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
      const auto* property = static_cast<const mpv_event_property*>(e.data);
      out.userdata = e.reply_userdata;
      out.hasFlag = property->format == MPV_FORMAT_FLAG;
      if (out.hasFlag) out.flag = *static_cast<const int*>(property->data) != 0;
      out.hasNumber = property->format == MPV_FORMAT_DOUBLE;
      if (out.hasNumber) out.number = *static_cast<const double*>(property->data);
      if (property->format == MPV_FORMAT_NODE)
        out.value = valueOf(*static_cast<const mpv_node*>(property->data));
      break;
    }
    case MPV_EVENT_COMMAND_REPLY:
      out.userdata = e.reply_userdata;
      if (e.error >= 0)
        out.entry = entryIdOf(static_cast<const mpv_event_command*>(e.data)->result).value_or(-1);
      break;
    case MPV_EVENT_GET_PROPERTY_REPLY: {
      const auto* property = static_cast<const mpv_event_property*>(e.data);
      out.userdata = e.reply_userdata;
      out.hasNumber = e.error >= 0 && property->format == MPV_FORMAT_DOUBLE;
      if (out.hasNumber) out.number = *static_cast<const double*>(property->data);
      if (e.error >= 0 && property->format == MPV_FORMAT_NODE)
        out.value = valueOf(*static_cast<const mpv_node*>(property->data));
      break;
    }
    case MPV_EVENT_LOG_MESSAGE:
      out.text = QString::fromUtf8(static_cast<const mpv_event_log_message*>(e.data)->text);
      break;
    default:
      break;
  }
  return out;
}

// Each branch raises at most one signal, as its last step: the handler may
// start another load, which this translation must not touch.
void MpvSession::translate(const Event& e) {
  switch (e.id) {
    case MPV_EVENT_START_FILE:
      return onStartFile(e);
    case MPV_EVENT_END_FILE:
      return onEndFile(e);
    case MPV_EVENT_PLAYBACK_RESTART:
      if (m_entryActive && m_phase == Phase::Opening) startPlaying();
      return;
    case MPV_EVENT_PROPERTY_CHANGE:
      return onPropertyChange(e);
    case MPV_EVENT_COMMAND_REPLY:
      return onEntryQueued(e);
    case MPV_EVENT_GET_PROPERTY_REPLY:
      if (e.userdata & kFindingAnswer) return onFindingAnswer(e);
      // Otherwise the position at the end.
      if (e.userdata == m_generation && m_entryActive) Q_EMIT endReached(e.number);
      return;
    case MPV_EVENT_LOG_MESSAGE:
      if ((m_entryActive || m_phase == Phase::Failing) && m_entryLog.size() < 40)
        m_entryLog << e.text;
      return;
    default:
      return;
  }
}

void MpvSession::onStartFile(const Event& e) {
  if (!isCurrent(e.entry)) return;
  m_entryActive = true;
  m_currentEntry = e.entry;
  m_entryLog.clear();
  m_entryClock.start();
  // Each entry of a list gets the full start limit.
  if (m_phase == Phase::Opening) m_watchdog.start();
  if (!m_observesFacts) return;
  observeEntry();
  Q_EMIT factsCleared();
}

// Only loads carry a tag; the replies of other requests are not awaited.
void MpvSession::onEntryQueued(const Event& e) {
  if (e.userdata != m_generation || m_queueing == 0) return;
  --m_queueing;
  if (e.entry >= 0) {
    if (m_firstEntry == INT64_MAX) m_firstEntry = e.entry;
    // Once an entry plays, the ones queued after it are dropped.
    if (m_phase == Phase::Opening) m_lastEntry = e.entry;
  }
  if (m_queueing == 0 && m_firstEntry == INT64_MAX) fail(LoadFailure::Other);
}

void MpvSession::onEndFile(const Event& e) {
  if (!isCurrent(e.entry)) return;
  m_entryActive = false;
  if (e.reason == MPV_END_FILE_REASON_REDIRECT) {
    if (e.insertCount > 0) m_lastEntry = std::max(m_lastEntry, e.insertId + e.insertCount - 1);
    else if (isLastEntry(e.entry)) fail(LoadFailure::Other);
    return;
  }
  // mpv goes on with the next entry of this load by itself.
  if (!isLastEntry(e.entry)) return;
  if (e.reason == MPV_END_FILE_REASON_ERROR) return failAfterEntry(e.error);
  if (e.reason != MPV_END_FILE_REASON_EOF) return;
  if (m_phase == Phase::Opening) return failAfterEntry(0);
  // A stream without a size ends only when its data stops for longer than
  // the network timeout.
  if (!m_sized) return fail(LoadFailure::Dropped);
  abandon();
  report(MpvReport::Ended);
}

// A property without a value (nothing loaded, a live stream's length) reads
// as 0 or false.
void MpvSession::onPropertyChange(const Event& e) {
  const bool loadPlays = m_entryActive && m_phase != Phase::Opening;
  switch (static_cast<Observed>(e.userdata)) {
    case Observed::PausedForCache:
      if (m_entryActive && e.hasFlag) onCacheChange(e.flag);
      return;
    case Observed::TimePos:
      if (m_reportControls) queuePosition(e.number);
      // Media may be decoded before its first frame is told.
      if (m_reportProgress && m_entryActive && e.hasNumber) Q_EMIT progressed(e.number);
      return;
    case Observed::EofReached:
      // The position observed lags behind the end: ask for it.
      if (loadPlays && e.hasFlag && e.flag)
        mpv_get_property_async(m_handle, m_generation, kTimePos, MPV_FORMAT_DOUBLE);
      return;
    case Observed::Duration:
      Q_EMIT durationChanged(e.number);
      return;
    case Observed::Volume:
      if (e.hasNumber) Q_EMIT volumeChanged(e.number);
      return;
    case Observed::Mute:
      Q_EMIT muteChanged(e.flag);
      return;
    case Observed::FileSize:
      // A live stream has no size.
      if (m_entryActive) m_sized = e.value.isValid();
      break;
    case Observed::MediaLength:
      if (m_entryActive) m_length = e.value.toDouble();
      break;
    default: break;
  }
  if (m_entryActive) Q_EMIT observed(e.userdata, e.value);
}

bool MpvSession::askFindings() {
  m_findingsAsked = 0;
  if (!m_handle || !m_observesFacts) return false;
  for (const ObservedProperty& p : kFactsObserved) {
    if (std::find(std::begin(kFindings), std::end(kFindings), p.id) == std::end(kFindings)) continue;
    const quint64 tag = kFindingAnswer | m_generation << 8 | static_cast<quint64>(p.id);
    if (mpv_get_property_async(m_handle, tag, p.name, MPV_FORMAT_NODE) >= 0) ++m_findingsAsked;
  }
  return m_findingsAsked > 0;
}

// An answer is taken as a change of the finding, for the load it was asked in.
void MpvSession::onFindingAnswer(Event e) {
  if (((e.userdata & ~kFindingAnswer) >> 8) != m_generation || m_findingsAsked == 0) return;
  e.userdata &= 0xff;
  onPropertyChange(e);
  if (--m_findingsAsked == 0) Q_EMIT findingsCurrent();
}

// The timer raises the latest position, so a moving position shows at a
// steady pace and the last one is never lost.
void MpvSession::queuePosition(double seconds) {
  m_position = seconds;
  if (!m_positionTimer.isActive()) m_positionTimer.start();
}

void MpvSession::onCacheChange(bool waiting) {
  if (waiting && m_phase == Phase::Playing) {
    m_phase = Phase::Stalled;
    report(MpvReport::Stalled);
  } else if (!waiting && m_phase == Phase::Stalled) {
    m_phase = Phase::Playing;
    report(MpvReport::Playing);
  }
}

void MpvSession::startPlaying() {
  m_watchdog.stop();
  // The window's players show the length as play starts.
  if (!m_observesFacts) readExtent();
  // The first entry that plays is the medium: drop the fall-backs after it.
  if (m_lastEntry > m_currentEntry || m_queueing > 0) {
    command(kPlaylistClear);
    m_lastEntry = m_currentEntry;
  }
  m_phase = Phase::Playing;
  report(MpvReport::Playing);
}

void MpvSession::readExtent() {
  std::int64_t size = 0;
  double duration = 0;
  const bool sized = mpv_get_property(m_handle, kFileSize, MPV_FORMAT_INT64, &size) >= 0;
  const bool timed = mpv_get_property(m_handle, kDuration, MPV_FORMAT_DOUBLE, &duration) >= 0;
  m_sized = sized;
  m_length = timed ? duration : 0;
}

void MpvSession::abandon() {
  ++m_generation;
  m_phase = Phase::Idle;
  m_paused = false;
  m_firstEntry = INT64_MAX;
  m_lastEntry = 0;
  m_currentEntry = 0;
  m_queueing = 0;
  m_findingsAsked = 0;
  m_entryActive = false;
  m_watchdog.stop();
  m_fetch->cancel();
}

void MpvSession::fail(LoadFailure failure) {
  abandon();
  const quint64 generation = m_generation;
  Q_EMIT failed(failure);
  if (generation == m_generation) Q_EMIT reported(MpvReport::Failed);
}

void MpvSession::report(MpvReport what) {
  if (!m_paused) Q_EMIT reported(what);
}

void MpvSession::failAfterEntry(int mpvError) {
  m_watchdog.stop();
  m_phase = Phase::Failing;
  m_failedError = mpvError;
  m_failedAfterMs = m_entryClock.isValid() ? m_entryClock.elapsed() : 0;
}

void MpvSession::reportEntryFailure() {
  FailureFacts facts;
  facts.mpvError = m_failedError;
  facts.log = m_entryLog;
  facts.address = m_address.bare;
  facts.elapsedMs = m_failedAfterMs;
  facts.networkTimeoutMs = m_networkTimeoutMs;
  m_failureStatus = httpStatusOf(facts.log);
  fail(classifyFailure(facts));
}

void MpvSession::onWatchdog() {
  if (m_phase != Phase::Opening) return;
  if (m_currentEntry < m_lastEntry) {
    command(kPlaylistNext);
    m_watchdog.start();
    return;
  }
  command(kStop);
  fail(LoadFailure::TimedOut);
}

void MpvSession::command(const char* name) {
  const char* args[] = {name, nullptr};
  mpv_command_async(m_handle, 0, args);
}
