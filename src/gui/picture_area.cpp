#include "gui/picture_area.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

constexpr int kWheelStep = 120;  // one notch of a mouse wheel

QLabel* centredLabel(QWidget* parent, const QString& name, int pointSize) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  // Station names come from lists and pages.
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  QFont font = label->font();
  font.setPointSize(pointSize);
  label->setFont(font);
  return label;
}

}  // namespace

PictureArea::PictureArea(QWidget* picture, QWidget* parent)
    : QWidget(parent),
      m_picture(picture),
      m_cover(new QWidget(this)),
      m_name(centredLabel(m_cover, QStringLiteral("stationName"), 14)),
      m_status(centredLabel(m_cover, QStringLiteral("pictureStatus"), 11)) {
  picture->setParent(this);
  picture->setFocusPolicy(Qt::NoFocus);
  picture->setMouseTracking(true);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // A window mpv draws into by itself hides every plain widget over it.
  if (picture->testAttribute(Qt::WA_NativeWindow)) m_cover->setAttribute(Qt::WA_NativeWindow);
  m_cover->setAttribute(Qt::WA_TransparentForMouseEvents);
  m_cover->setAutoFillBackground(true);
  m_name->setStyleSheet(QStringLiteral("color: #9a9a9a;"));
  m_status->setWordWrap(false);
  m_status->setStyleSheet(QStringLiteral(
      "color: white; background: rgba(0, 0, 0, 160); border-radius: 4px; padding: 4px 10px;"));
  auto* column = new QVBoxLayout(m_cover);
  column->addStretch(1);
  column->addWidget(m_name);
  column->addWidget(m_status, 0, Qt::AlignHCenter);
  column->addStretch(1);
  showState();
}

QString PictureArea::statusText() const { return m_status->isHidden() ? QString() : m_status->text(); }

void PictureArea::loading(const QString& stationName) {
  m_name->setText(stationName);
  m_status->setText(QStringLiteral("正在连接…"));
  m_playing = false;
  m_showsPicture = false;
  showState();
}

void PictureArea::stalled() {
  m_status->setText(QStringLiteral("正在缓冲…"));
  showState();
}

void PictureArea::playing() {
  m_status->clear();
  m_playing = true;
  showState();
}

void PictureArea::ended() {
  m_status->clear();
  showState();
}

void PictureArea::stopped() {
  m_name->clear();
  m_status->clear();
  m_playing = false;
  m_showsPicture = false;
  showState();
}

void PictureArea::failed(const QString& reason) {
  m_status->setText(QStringLiteral("无法播放：%1").arg(reason));
  m_playing = false;
  m_showsPicture = false;
  showState();
}

void PictureArea::pictureShown() {
  // Frames of an earlier load may still be on their way while a new one
  // opens; only a playing load's frames count.
  if (!m_playing || m_showsPicture) return;
  m_showsPicture = true;
  showState();
}

void PictureArea::showState() {
  const bool hasStatus = !m_status->text().isEmpty();
  m_status->setVisible(hasStatus);
  m_name->setVisible(!m_showsPicture);
  // Over a picture the cover is see-through and carries only the status.
  m_cover->setPalette(QPalette(m_showsPicture ? QColor(Qt::transparent) : QColor(16, 16, 16)));
  m_cover->setVisible(!m_showsPicture || hasStatus);
  m_cover->raise();
}

void PictureArea::resizeEvent(QResizeEvent* event) {
  m_picture->setGeometry(rect());
  m_cover->setGeometry(rect());
  QWidget::resizeEvent(event);
}

void PictureArea::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT doubleClicked();
}

void PictureArea::wheelEvent(QWheelEvent* event) {
  m_wheelAngle += event->angleDelta().y();
  const int steps = m_wheelAngle / kWheelStep;
  m_wheelAngle -= steps * kWheelStep;
  if (steps) Q_EMIT wheelTurned(steps);
  event->accept();
}

void PictureArea::mouseMoveEvent(QMouseEvent* event) {
  Q_EMIT mouseMoved();
  QWidget::mouseMoveEvent(event);
}
