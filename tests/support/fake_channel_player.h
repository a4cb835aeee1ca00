#pragma once

#include <QHash>
#include <QStringList>
#include <optional>

#include "form/channel_player.h"
#include "test_host.h"

// What a fake line does once played, on the test host's virtual clock.
struct FakeLine {
  int startAfterMs = 100;   // -1: never starts
  int playsForMs = -1;      // new media stops after this much; -1: never
  int failAfterMs = -1;     // from play(); -1: never
  QString failReason = QStringLiteral("refused");
  int failStatus = 0;
  std::optional<MediaFlag> flag;  // reported from the start on, growing
};

// A channel engine that follows a script per address, reporting every 100 ms
// of media. It records what it was asked to play.
class FakeChannelPlayer : public ChannelPlayer {
 public:
  static constexpr int kStepMs = 100;

  explicit FakeChannelPlayer(TestHost& host) : m_host(host) {}

  void play(const QString& address) override {
    played << address;
    const quint64 load = ++m_load;
    const FakeLine line = lines.value(address);
    if (line.failAfterMs >= 0)
      at(load, line.failAfterMs, [this, line] { fail(line); });
    if (line.startAfterMs >= 0)
      at(load, line.startAfterMs, [this, load, line] {
        Q_EMIT started();
        step(load, line, 0);
      });
  }
  void stop() override {
    ++m_load;
    ++stops;
  }

  QHash<QString, FakeLine> lines;
  QStringList played;
  int stops = 0;

 private:
  void at(quint64 load, int ms, std::function<void()> fn) {
    m_host.post([this, load, fn] { if (load == m_load) fn(); }, ms);
  }
  void fail(const FakeLine& line) {
    ++m_load;
    Q_EMIT failed(line.failReason, line.failStatus);
  }
  void step(quint64 load, const FakeLine& line, qint64 position) {
    if (line.playsForMs >= 0 && position >= line.playsForMs) return;
    if (line.flag && position > 0) Q_EMIT flagged(*line.flag, position);
    Q_EMIT progressed(position);
    at(load, kStepMs, [=, this] { step(load, line, position + kStepMs); });
  }

  TestHost& m_host;
  quint64 m_load = 0;
};
