#include "gui/media_control_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include "engines/mpv_session.h"

namespace {

constexpr int kMaxVolume = 100;
constexpr int kVolumeStep = 5;

}  // namespace

MediaControlBar::MediaControlBar(MpvSession& player, QWidget* parent)
    : QWidget(parent),
      m_player(player),
      m_position(new QSlider(Qt::Horizontal, this)),
      m_elapsedText(new QLabel(formatTime(0), this)),
      m_totalText(new QLabel(formatTime(0), this)),
      m_mute(new QToolButton(this)),
      m_volume(new QSlider(Qt::Horizontal, this)) {
  m_position->setObjectName(QStringLiteral("position"));
  m_elapsedText->setObjectName(QStringLiteral("elapsed"));
  m_totalText->setObjectName(QStringLiteral("total"));
  m_mute->setObjectName(QStringLiteral("mute"));
  m_volume->setObjectName(QStringLiteral("volume"));
  m_position->setEnabled(false);
  m_mute->setCheckable(true);
  m_mute->setAutoRaise(true);
  m_mute->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
  m_volume->setRange(0, kMaxVolume);
  m_volume->setValue(kMaxVolume);
  m_volume->setFixedWidth(70);
  // The keyboard stays with the window's shortcuts.
  for (QWidget* w : {static_cast<QWidget*>(m_position), static_cast<QWidget*>(m_mute),
                     static_cast<QWidget*>(m_volume)})
    w->setFocusPolicy(Qt::TabFocus);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 0, 4, 0);
  row->addWidget(m_position, 1);
  row->addWidget(m_elapsedText);
  row->addWidget(new QLabel(QStringLiteral("/"), this));
  row->addWidget(m_totalText);
  row->addWidget(m_mute);
  row->addWidget(m_volume);

  connect(m_position, &QSlider::actionTriggered, this,
          [this] { m_player.seekTo(m_position->sliderPosition() / 1000.0); });
  connect(m_volume, &QSlider::actionTriggered, this,
          [this] { m_player.setVolume(m_volume->sliderPosition()); });
  connect(m_mute, &QToolButton::clicked, &m_player, &MpvSession::setMuted);

  connect(&m_player, &MpvSession::positionChanged, this, [this](double seconds) {
    m_elapsed = seconds;
    showPosition();
  });
  connect(&m_player, &MpvSession::durationChanged, this, [this](double seconds) {
    m_total = seconds;
    showPosition();
  });
  connect(&m_player, &MpvSession::volumeChanged, this, &MediaControlBar::showVolume);
  connect(&m_player, &MpvSession::muteChanged, this, &MediaControlBar::showMute);
  m_player.reportControls();
}

QString MediaControlBar::formatTime(double seconds) {
  const int s = qMax(0, qRound(seconds));
  const QString minutesSeconds = QStringLiteral("%1:%2")
                                     .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                                     .arg(s % 60, 2, 10, QLatin1Char('0'));
  return s >= 3600 ? QStringLiteral("%1:%2").arg(s / 3600).arg(minutesSeconds) : minutesSeconds;
}

void MediaControlBar::toggleMute() { m_mute->click(); }

void MediaControlBar::changeVolume(int steps) {
  m_volume->setValue(qBound(0, m_volume->value() + steps * kVolumeStep, kMaxVolume));
  m_player.setVolume(m_volume->value());
}

void MediaControlBar::seekBy(double seconds) {
  if (m_total > 0) m_player.seekBy(seconds);
}

void MediaControlBar::showPosition() {
  m_elapsedText->setText(formatTime(m_elapsed));
  m_totalText->setText(formatTime(m_total));
  m_position->setEnabled(m_total > 0);
  if (m_position->isSliderDown()) return;
  m_position->setRange(0, qRound(m_total * 1000));
  m_position->setValue(qRound(m_elapsed * 1000));
}

void MediaControlBar::showVolume(double percent) {
  if (!m_volume->isSliderDown()) m_volume->setValue(qRound(percent));
}

void MediaControlBar::showMute(bool muted) {
  m_mute->setChecked(muted);
  m_mute->setIcon(
      style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
}
