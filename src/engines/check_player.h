#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "engines/held_stream.h"
#include "engines/media_facts.h"
#include "engines/mpv_failure.h"

// A headless engine that tells whether a station plays: it decodes as fast
// as the stream allows and reports how much media it decoded. One load at a
// time; every signal refers to the current load and arrives on the UI
// thread, never from inside open() or close().
class CheckPlayer : public QObject {
  Q_OBJECT
 public:
  // Empty when the engine started; otherwise, for the user, why it could
  // not. Such a player plays nothing: the engine is broken, not a station.
  virtual QString startFailure() const = 0;
  // Opens a station's address text (headers included) within timeoutMs.
  // held: the probe's connection to the address, to be read on instead of
  // asking the server again; null when there is none.
  virtual void open(const QString& address, int timeoutMs, std::shared_ptr<HeldStream> held) = 0;
  virtual void close() = 0;
  // The evidence of the current load; meaningful once it has started.
  virtual MediaFacts facts() const = 0;
  // Bytes of the current load's answer that reached the engine, as far as
  // it can tell (0 when it cannot).
  virtual qint64 receivedBytes() const = 0;

 Q_SIGNALS:
  // The first decoded media of the load.
  void started();
  // Media decoded since the first, in ms; raised as it grows.
  void decoded(qint64 ms);
  // A finite medium (or a stream that closed) was decoded to its end.
  void ended(qint64 decodedMs);
  // The load gave up before its end.
  void failed(LoadFailure failure);
};

using CheckPlayerFactory = std::function<std::unique_ptr<CheckPlayer>()>;
