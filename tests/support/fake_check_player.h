#pragma once

#include <QHash>
#include <QTimer>

#include "engines/check_player.h"

// What a fake checking engine does with an address, after delayMs.
struct FakeStream {
  enum class Act { Play, Fail, Hang, Start, EndAfter };
  Act act = Act::Play;
  int delayMs = 10;
  LoadFailure failure = LoadFailure::Other;  // Fail, and Start: fails after starting
  qint64 decodedMs = 2000;                    // Play and EndAfter: media decoded
  qint64 receivedBytes = 0;                   // what the engine says reached it
  MediaFacts facts;
};

// Shared by every fake player of a test: the scripts per address (a list is
// used up one entry per open, the last one kept), and what happened.
struct FakeStreams {
  QHash<QString, QList<FakeStream>> scripts;
  bool startFails = false;
  int created = 0;
  int openNow = 0;
  int mostOpen = 0;
  QStringList opened;

  FakeStream next(const QString& address) {
    QList<FakeStream>& list = scripts[address];
    if (list.isEmpty()) return {};
    return list.size() > 1 ? list.takeFirst() : list.first();
  }
};

inline MediaFacts audioFacts() {
  MediaFacts f;
  f.audioCodec = QStringLiteral("mp3");
  f.container = QStringLiteral("mp3");
  return f;
}

// A checking engine that follows the scripts on timers.
class FakeCheckPlayer : public CheckPlayer {
 public:
  explicit FakeCheckPlayer(FakeStreams& streams) : m_streams(streams) {
    ++streams.created;
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { act(); });
  }

  QString startFailure() const override {
    return m_streams.startFails ? QStringLiteral("engine broken") : QString();
  }
  void open(const QString& address, int, std::shared_ptr<HeldStream>) override {
    close();
    m_streams.opened << address;
    m_streams.mostOpen = std::max(m_streams.mostOpen, ++m_streams.openNow);
    m_open = true;
    m_stream = m_streams.next(address);
    m_timer.start(m_stream.delayMs);
  }
  void close() override {
    m_timer.stop();
    if (m_open) --m_streams.openNow;
    m_open = false;
  }
  MediaFacts facts() const override { return m_stream.facts; }
  qint64 receivedBytes() const override { return m_open ? m_stream.receivedBytes : 0; }

 private:
  using Act = FakeStream::Act;
  void act() {
    switch (m_stream.act) {
      case Act::Play:
        Q_EMIT started();
        Q_EMIT decoded(m_stream.decodedMs);
        return;
      case Act::Fail: Q_EMIT failed(m_stream.failure); return;
      case Act::Start:
        Q_EMIT started();
        Q_EMIT failed(m_stream.failure);
        return;
      case Act::EndAfter:
        Q_EMIT started();
        Q_EMIT ended(m_stream.decodedMs);
        return;
      case Act::Hang: return;
    }
  }

  FakeStreams& m_streams;
  FakeStream m_stream;
  QTimer m_timer;
  bool m_open = false;
};

inline CheckPlayerFactory fakeCheckPlayers(FakeStreams& streams) {
  return [&streams] { return std::make_unique<FakeCheckPlayer>(streams); };
}
