#include "gui/line_overlay.h"

#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "channels/line_event.h"
#include "playlists/station_address.h"

namespace {

constexpr int kMargin = 8;
const QString kOverStyle =
    QStringLiteral("color: white; background: rgba(0, 0, 0, 160); border-radius: 4px; padding: 3px 8px;");

// A window mpv draws into by itself hides every plain widget over it.
bool drawsNatively(const QWidget* picture) {
  for (const QWidget* w : picture->findChildren<QWidget*>())
    if (w->testAttribute(Qt::WA_NativeWindow)) return true;
  return false;
}

}  // namespace

LineOverlay::LineOverlay(QWidget* picture)
    : QWidget(picture), m_button(new QToolButton(this)), m_message(new QLabel(this)) {
  setObjectName(QStringLiteral("lineOverlay"));
  if (drawsNatively(picture)) setAttribute(Qt::WA_NativeWindow);
  m_button->setObjectName(QStringLiteral("lineButton"));
  m_button->setPopupMode(QToolButton::InstantPopup);
  m_button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  m_button->setStyleSheet(kOverStyle);
  m_button->setToolTip(QStringLiteral("选择线路（[ 上一条，] 下一条）"));
  m_button->setMenu(new QMenu(m_button));
  m_message->setObjectName(QStringLiteral("lineMessage"));
  m_message->setStyleSheet(kOverStyle);
  m_message->hide();
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(m_button, 0, Qt::AlignLeft);
  column->addWidget(m_message, 0, Qt::AlignLeft);
  m_messageTimer.setSingleShot(true);
  m_messageTimer.setInterval(kMessageMs);
  connect(&m_messageTimer, &QTimer::timeout, this, [this] {
    m_message->hide();
    adjustSize();
  });
  move(kMargin, kMargin);
  hide();
}

void LineOverlay::showLines(const playlists::StationList& lines, int current) {
  const int count = static_cast<int>(lines.size());
  m_button->setText(channels::lineLabel(current, count));
  QMenu* menu = m_button->menu();
  menu->clear();
  for (int i = 0; i < count; ++i) {
    const QString text = channels::lineLabel(i + 1, count) + QStringLiteral("  ") +
                         playlists::bareAddress(lines.at(i).address);
    QAction* action = menu->addAction(text, this, [this, i] { Q_EMIT picked(i + 1); });
    action->setCheckable(true);
    action->setChecked(i + 1 == current);
  }
  adjustSize();
  show();
  raise();
}

void LineOverlay::tell(const QString& text) {
  m_message->setText(text);
  m_message->show();
  m_messageTimer.start();
  adjustSize();
  show();
  raise();
}

void LineOverlay::clear() {
  m_messageTimer.stop();
  m_message->hide();
  hide();
}

QString LineOverlay::lineText() const { return isHidden() ? QString() : m_button->text(); }

QString LineOverlay::message() const { return m_message->isHidden() ? QString() : m_message->text(); }
