#pragma once

#include <QTimer>
#include <QWidget>

#include "playlists/station.h"

class QLabel;
class QToolButton;

namespace channels {
struct LineEvent;
}

// Over a channel's picture: the line playing ("线路 2/5") as a button whose
// menu lists the channel's lines to pick one by hand, and below it what
// happened to a line, for a few seconds.
class LineOverlay : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kMessageMs = 6000;

  explicit LineOverlay(QWidget* picture);

  // The channel's lines and the number (from 1) of the one playing.
  void showLines(const playlists::StationList& lines, int current);
  void tell(const QString& text);
  void clear();
  QString lineText() const;
  QString message() const;

 Q_SIGNALS:
  void picked(int number);

 private:
  QToolButton* m_button;
  QLabel* m_message;
  QTimer m_messageTimer;
};
