#pragma once

#include <QWidget>

class QLabel;

// A player's picture with what the engine is doing written over it. While
// no picture of the current load shows (opening, sound only, stopped, failed)
// a dark cover with the station's name hides whatever frame came before; the
// status line says 正在连接…, 正在缓冲… or why the load failed, the last
// until the next load.
class PictureArea : public QWidget {
  Q_OBJECT
 public:
  explicit PictureArea(QWidget* picture, QWidget* parent = nullptr);

  QString statusText() const;
  bool covered() const { return !m_showsPicture; }

  void loading(const QString& stationName);
  void stalled();
  void playing();
  void ended();
  void stopped();
  void failed(const QString& reason);
  // A frame of the picture was drawn.
  void pictureShown();

 Q_SIGNALS:
  void doubleClicked();
  void wheelTurned(int steps);
  void mouseMoved();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void showState();

  QWidget* m_picture;
  QWidget* m_cover;
  QLabel* m_name;
  QLabel* m_status;
  bool m_playing = false;
  bool m_showsPicture = false;
  int m_wheelAngle = 0;
};
