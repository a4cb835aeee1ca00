#include "gui/media_control_bar.h"

#include <mpv/client.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr int kPollMs = 250;
constexpr int kMaxVolume = 100;

}  // namespace

MediaControlBar::MediaControlBar(mpv_handle* mpv, QWidget* parent)
    : QWidget(parent),
      m_mpv(mpv),
      m_position(new QSlider(Qt::Horizontal, this)),
      m_elapsed(new QLabel(formatTime(0), this)),
      m_total(new QLabel(formatTime(0), this)),
      m_mute(new QToolButton(this)),
      m_volume(new QSlider(Qt::Horizontal, this)) {
  m_position->setObjectName(QStringLiteral("position"));
  m_elapsed->setObjectName(QStringLiteral("elapsed"));
  m_total->setObjectName(QStringLiteral("total"));
  m_mute->setObjectName(QStringLiteral("mute"));
  m_volume->setObjectName(QStringLiteral("volume"));
  m_mute->setCheckable(true);
  m_mute->setAutoRaise(true);
  m_volume->setRange(0, kMaxVolume);
  m_volume->setFixedWidth(70);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 0, 4, 0);
  row->addWidget(m_position, 1);
  row->addWidget(m_elapsed);
  row->addWidget(new QLabel(QStringLiteral("/"), this));
  row->addWidget(m_total);
  row->addWidget(m_mute);
  row->addWidget(m_volume);

  connect(m_position, &QSlider::actionTriggered, this, &MediaControlBar::seek);
  connect(m_volume, &QSlider::actionTriggered, this,
          [this] { setNumber("volume", m_volume->sliderPosition()); });
  connect(m_mute, &QToolButton::clicked, this, [this](bool muted) { setFlag("mute", muted); });
  m_poll.setInterval(kPollMs);
  connect(&m_poll, &QTimer::timeout, this, &MediaControlBar::refresh);
  refresh();
}

QString MediaControlBar::formatTime(double seconds) {
  const int s = qMax(0, qRound(seconds));
  const QString minutesSeconds = QStringLiteral("%1:%2")
                                     .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                                     .arg(s % 60, 2, 10, QLatin1Char('0'));
  return s >= 3600 ? QStringLiteral("%1:%2").arg(s / 3600).arg(minutesSeconds) : minutesSeconds;
}

void MediaControlBar::showEvent(QShowEvent* event) {
  refresh();
  m_poll.start();
  QWidget::showEvent(event);
}

void MediaControlBar::hideEvent(QHideEvent* event) {
  m_poll.stop();
  QWidget::hideEvent(event);
}

double MediaControlBar::number(const char* name, double fallback) const {
  double value = 0;
  return m_mpv && mpv_get_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value) >= 0 ? value : fallback;
}

bool MediaControlBar::flag(const char* name) const {
  int value = 0;
  return m_mpv && mpv_get_property(m_mpv, name, MPV_FORMAT_FLAG, &value) >= 0 && value;
}

// The setters are asynchronous, so a busy player never holds up the window.
void MediaControlBar::setNumber(const char* name, double value) {
  if (m_mpv) mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_DOUBLE, &value);
}

void MediaControlBar::setFlag(const char* name, bool value) {
  int flag = value ? 1 : 0;
  if (m_mpv) mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_FLAG, &flag);
}

void MediaControlBar::seek() { setNumber("time-pos", m_position->sliderPosition() / 1000.0); }

void MediaControlBar::refresh() {
  const double elapsed = number("time-pos", 0);
  const double total = number("duration", 0);
  m_elapsed->setText(formatTime(elapsed));
  m_total->setText(formatTime(total));
  m_position->setEnabled(total > 0);
  if (!m_position->isSliderDown()) {
    m_position->setRange(0, qRound(total * 1000));
    m_position->setValue(qRound(elapsed * 1000));
  }
  const bool muted = flag("mute");
  m_mute->setChecked(muted);
  m_mute->setIcon(style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted
                                              : QStyle::SP_MediaVolume));
  if (!m_volume->isSliderDown()) m_volume->setValue(qRound(number("volume", kMaxVolume)));
}
