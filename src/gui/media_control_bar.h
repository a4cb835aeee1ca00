#pragma once

#include <QWidget>

class MpvSession;
class QLabel;
class QSlider;
class QToolButton;

// The media player's own control bar under its picture: position slider,
// elapsed and total time, volume and mute. It shows the session's control
// events and sets the session's controls, which never wait for the engine;
// the procedures never see it.
class MediaControlBar : public QWidget {
  Q_OBJECT
 public:
  explicit MediaControlBar(MpvSession& player, QWidget* parent = nullptr);

  // The keyboard's and the mouse wheel's ways to the same settings.
  void toggleMute();
  void changeVolume(int steps);
  void seekBy(double seconds);

  // "MM:SS", or "H:MM:SS" from one hour on.
  static QString formatTime(double seconds);

 private:
  void showPosition();
  void showVolume(double percent);
  void showMute(bool muted);

  MpvSession& m_player;
  double m_elapsed = 0;
  double m_total = 0;
  QSlider* m_position;
  QLabel* m_elapsedText;
  QLabel* m_totalText;
  QToolButton* m_mute;
  QSlider* m_volume;
};
