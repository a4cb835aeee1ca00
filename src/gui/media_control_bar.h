#pragma once

#include <QTimer>
#include <QWidget>

struct mpv_handle;
class QLabel;
class QSlider;
class QToolButton;

// The media player's own control bar under its picture: position slider,
// elapsed and total time, volume and mute. It reads and sets the player's
// properties directly; the program's procedures never see it.
class MediaControlBar : public QWidget {
  Q_OBJECT
 public:
  explicit MediaControlBar(mpv_handle* mpv, QWidget* parent = nullptr);

  // "MM:SS", or "H:MM:SS" from one hour on.
  static QString formatTime(double seconds);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void refresh();
  void seek();
  double number(const char* name, double fallback) const;
  bool flag(const char* name) const;
  void setNumber(const char* name, double value);
  void setFlag(const char* name, bool value);

  mpv_handle* m_mpv;
  QSlider* m_position;
  QLabel* m_elapsed;
  QLabel* m_total;
  QToolButton* m_mute;
  QSlider* m_volume;
  QTimer m_poll;
};
