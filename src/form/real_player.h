#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// The second engine (RealAudio1), driven by dispatch id: put/get properties
// and call methods. Raises the state-change event (old, new) on every change
// and the error event (six arguments, the second the code) on a failure.
// Events arrive on the UI thread.
class RealPlayer : public QObject {
  Q_OBJECT
 public:
  enum DispId {
    Source = 102,       // put: source to play next; get: source now loaded
    Play = 257,         // start or resume
    Pause = 258,
    Stop = 202,
    HandOver = 206,     // issued before Stop when the media player takes over
    AutoStart = 273,    // Boolean, between setting the source and Play
    PlayState = 260,    // 0 stopped, 2 buffering, 3 playing, 4 paused
    Length = 261,       // clip length in ms, 0 for live
    StatusText = 331,
    Acknowledge = 293,  // called on the three-number event with 1 first
    Version = 329,      // "16.0.<engine version>", "" when not started
    SoundOn = 229,      // Boolean False: sound on
    Setting326 = 326,
    Setting271 = 271,
    Setting231 = 231,
    Setting307 = 307,
    Setting275 = 275,
    Setting220 = 220,
    Setting221 = 221,
  };
  enum State { Stopped = 0, Buffering = 2, Playing = 3, Paused = 4 };

  // Each returns false (or an invalid value) when the call fails.
  virtual bool put(int dispId, const QVariant& value) = 0;
  virtual QVariant get(int dispId) const = 0;
  virtual bool call(int dispId, const QVariantList& args = {}) = 0;

 Q_SIGNALS:
  void StateChange(int oldState, int newState);                              // 1042
  void ErrorEvent(int severity, int code, int userCode, const QString& file,
                  const QString& userString, const QString& moreInfo);      // 1014
  void ThreeNumberEvent(int first, int second, int third);                  // 1031
};
