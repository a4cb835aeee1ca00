#include "gui/media_control_bar.h"

#include <mpv/client.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include "engines/mpv_names.h"

namespace {

constexpr int kMaxVolume = 100;
constexpr int kVolumeStep = 5;

// The properties the bar shows, observed by id.
enum Watched : quint64 { TimePos = 1, Duration, Volume, Mute };
struct WatchedProperty {
  Watched id;
  const char* name;
  mpv_format format;
};
constexpr WatchedProperty kWatched[] = {
    {TimePos, "time-pos", MPV_FORMAT_DOUBLE},
    {Duration, "duration", MPV_FORMAT_DOUBLE},
    {Volume, "volume", MPV_FORMAT_DOUBLE},
    {Mute, "mute", MPV_FORMAT_FLAG},
};

}  // namespace

MediaControlBar::MediaControlBar(mpv_handle* player, QWidget* parent)
    : QWidget(parent),
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
          [this] { setNumber("time-pos", m_position->sliderPosition() / 1000.0); });
  connect(m_volume, &QSlider::actionTriggered, this,
          [this] { setNumber("volume", m_volume->sliderPosition()); });
  connect(m_mute, &QToolButton::clicked, this, [this](bool muted) { setFlag("mute", muted); });

  if (player) m_mpv = mpv_create_client(player, "control-bar");
  if (!m_mpv) return;
  for (const WatchedProperty& p : kWatched) mpv_observe_property(m_mpv, p.id, p.name, p.format);
  mpv_set_wakeup_callback(m_mpv, &MediaControlBar::wakeUp, this);
}

MediaControlBar::~MediaControlBar() {
  if (!m_mpv) return;
  mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
  mpv_destroy(m_mpv);
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
  setNumber("volume", m_volume->value());
}

void MediaControlBar::seekBy(double seconds) {
  if (!m_mpv || m_total <= 0) return;
  const QByteArray offset = QByteArray::number(seconds);
  const char* args[] = {mpvname::kSeek, offset.constData(), mpvname::kRelative, nullptr};
  mpv_command_async(m_mpv, 0, args);
}

void MediaControlBar::wakeUp(void* bar) {
  QMetaObject::invokeMethod(static_cast<MediaControlBar*>(bar), &MediaControlBar::drain,
                            Qt::QueuedConnection);
}

void MediaControlBar::drain() {
  while (m_mpv) {
    const mpv_event* event = mpv_wait_event(m_mpv, 0);
    if (event->event_id == MPV_EVENT_NONE) break;
    if (event->event_id != MPV_EVENT_PROPERTY_CHANGE) continue;
    // No data: the property has no value now (no medium, a live stream).
    const auto* change = static_cast<const mpv_event_property*>(event->data);
    showProperty(event->reply_userdata, change->format == MPV_FORMAT_NONE ? nullptr : change->data);
  }
}

void MediaControlBar::showProperty(quint64 id, const void* data) {
  switch (id) {
    case TimePos:
      m_elapsed = data ? *static_cast<const double*>(data) : 0;
      showPosition();
      break;
    case Duration:
      m_total = data ? *static_cast<const double*>(data) : 0;
      showPosition();
      break;
    case Volume:
      if (data && !m_volume->isSliderDown())
        m_volume->setValue(qRound(*static_cast<const double*>(data)));
      break;
    case Mute: {
      const bool muted = data && *static_cast<const int*>(data);
      m_mute->setChecked(muted);
      m_mute->setIcon(style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted
                                                  : QStyle::SP_MediaVolume));
      break;
    }
  }
}

void MediaControlBar::showPosition() {
  m_elapsedText->setText(formatTime(m_elapsed));
  m_totalText->setText(formatTime(m_total));
  m_position->setEnabled(m_total > 0);
  if (m_position->isSliderDown()) return;
  m_position->setRange(0, qRound(m_total * 1000));
  m_position->setValue(qRound(m_elapsed * 1000));
}

// Asynchronous, so a busy player never holds up the window.
void MediaControlBar::setNumber(const char* name, double value) {
  if (m_mpv) mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_DOUBLE, &value);
}

void MediaControlBar::setFlag(const char* name, bool value) {
  int flag = value ? 1 : 0;
  if (m_mpv) mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_FLAG, &flag);
}
