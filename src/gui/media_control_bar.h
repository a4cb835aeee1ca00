#pragma once

#include <QWidget>

struct mpv_handle;
class QLabel;
class QSlider;
class QToolButton;

// The media player's own control bar under its picture: position slider,
// elapsed and total time, volume and mute. It watches and sets the player's
// properties through a client handle of its own, so it never waits for the
// player and never sees the program's events; the procedures never see it.
class MediaControlBar : public QWidget {
  Q_OBJECT
 public:
  explicit MediaControlBar(mpv_handle* player, QWidget* parent = nullptr);
  ~MediaControlBar() override;

  // The keyboard's and the mouse wheel's ways to the same settings.
  void toggleMute();
  void changeVolume(int steps);
  void seekBy(double seconds);

  // "MM:SS", or "H:MM:SS" from one hour on.
  static QString formatTime(double seconds);

 private:
  // Runs on an mpv thread: only posts a drain to the UI thread.
  static void wakeUp(void* bar);
  void drain();
  void showProperty(quint64 id, const void* data);
  void showPosition();
  void setNumber(const char* name, double value);
  void setFlag(const char* name, bool value);

  mpv_handle* m_mpv = nullptr;
  double m_elapsed = 0;
  double m_total = 0;
  QSlider* m_position;
  QLabel* m_elapsedText;
  QLabel* m_totalText;
  QToolButton* m_mute;
  QSlider* m_volume;
};
