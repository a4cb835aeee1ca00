#pragma once

#include <QObject>
#include <QString>

// What a playing engine finds wrong with what it decodes.
enum class MediaFlag { Black, Silent, Frozen };

// The engine a channel's lines play on, one line at a time, in real time.
// play() takes a station's address text, headers included. Every signal
// refers to the line last started, arrives on the UI thread, and never comes
// from inside play() or stop(); after stop() nothing more comes.
class ChannelPlayer : public QObject {
  Q_OBJECT
 public:
  virtual void play(const QString& address) = 0;
  virtual void stop() = 0;

 Q_SIGNALS:
  // The first picture or sound of the line.
  void started();
  // The decoded position moved on (ms of media since the start).
  void progressed(qint64 positionMs);
  // The engine waits for data (true), or has enough again (false).
  void buffering(bool waiting);
  // A detector finds the media black, silent or frozen, and has for
  // lastingMs of media; raised as it lasts, and once with 0 when it ends.
  void flagged(MediaFlag flag, qint64 lastingMs);
  // The line stopped or never started: reason is an outcome's word (check::reasonKey),
  // httpStatus the server's answer (0 when none was read).
  void failed(const QString& reason, int httpStatus);
};
