#pragma once

#include <QObject>
#include <QString>
#include <optional>

// The general media engine (WindowsMediaPlayer1). setURL starts playback by
// itself: state 6 (buffering) while opening, 3 once media plays; 8 at the end
// of a finite medium until close(), stop() or a new URL; stop() gives 1;
// close() releases the medium and reports 10. A failure raises Error with one
// item in the error queue, then state 10. Events arrive on the UI thread.
class MediaPlayer : public QObject {
  Q_OBJECT
 public:
  enum State { Undefined = 0, Stopped = 1, Paused = 2, Playing = 3, Buffering = 6,
               MediaEnded = 8, Ready = 10 };
  // The code of an address whose format the engine does not recognise.
  static constexpr int kUnsupportedFormat = -1072885317;

  struct ErrorItem {
    int code = 0;
    QString description;
  };

  virtual void setURL(const QString& url) = 0;
  virtual void close() = 0;
  // controls.play / controls.stop / controls.pause
  virtual void play() = 0;
  virtual void stop() = 0;
  virtual void pause() = 0;
  // settings.playCount and settings.mute
  virtual void setPlayCount(int count) = 0;
  virtual void setMute(bool mute) = 0;
  // currentMedia.sourceURL and currentMedia.durationString ("00:00" when live)
  virtual QString sourceURL() const = 0;
  virtual QString durationString() const = 0;
  virtual int bandWidth() const = 0;
  virtual int playState() const = 0;
  // "12.0.<engine version>" when the engine started, "" when it did not.
  virtual QString versionInfo() const = 0;
  // The error queue: nothing when an item cannot be read.
  virtual void clearErrorQueue() = 0;
  virtual int errorCount() const = 0;
  virtual std::optional<ErrorItem> errorItem(int index) const = 0;

 Q_SIGNALS:
  void PlayStateChange(int newState);
  void Error();
  void PositionChange(double oldPosition, double newPosition);
};
