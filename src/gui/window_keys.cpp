#include "gui/window_keys.h"

#include <QShortcut>
#include <QWidget>

#include "form/form.h"

namespace {

constexpr double kSeekSeconds = 10;

void onKey(QWidget* parent, const QKeySequence& key, std::function<void()> action,
           Qt::ShortcutContext context = Qt::WindowShortcut) {
  auto* shortcut = new QShortcut(key, parent);
  shortcut->setContext(context);
  QObject::connect(shortcut, &QShortcut::activated, parent, std::move(action));
}

}  // namespace

WindowKeys::WindowKeys(QWidget* window, QWidget* picture, Form& f, const Actions& a)
    : QObject(window) {
  // The buttons' own handlers, as a click would call them.
  const auto clickIfEnabled = [](Control& button) {
    return [&button] {
      if (button.enabled() && button.visible()) button.click();
    };
  };
  onKey(window, Qt::Key_Space, clickIfEnabled(f.Command14));
  onKey(window, Qt::Key_PageUp, clickIfEnabled(f.Command4));
  onKey(window, Qt::Key_PageDown, clickIfEnabled(f.Command5));
  onKey(window, QKeySequence(Qt::CTRL | Qt::Key_O), clickIfEnabled(f.Command18));
  onKey(window, QKeySequence(Qt::CTRL | Qt::Key_F), a.findStation);
  onKey(window, Qt::Key_F4, a.toggleChannels);
  onKey(window, Qt::Key_M, a.toggleMute);
  onKey(window, Qt::Key_F, a.toggleFullScreen);
  onKey(window, Qt::Key_F11, a.toggleFullScreen);
  m_leave = new QShortcut(Qt::Key_Escape, window);
  connect(m_leave, &QShortcut::activated, window, a.leaveFullScreen);
  m_leave->setEnabled(false);
  if (!picture) return;
  const auto volume = [a](int steps) { return [a, steps] { a.changeVolume(steps); }; };
  const auto seek = [a](double s) { return [a, s] { a.seekBy(s); }; };
  onKey(picture, Qt::Key_Up, volume(1), Qt::WidgetWithChildrenShortcut);
  onKey(picture, Qt::Key_Down, volume(-1), Qt::WidgetWithChildrenShortcut);
  onKey(picture, Qt::Key_Right, seek(kSeekSeconds), Qt::WidgetWithChildrenShortcut);
  onKey(picture, Qt::Key_Left, seek(-kSeekSeconds), Qt::WidgetWithChildrenShortcut);
}

void WindowKeys::setFullScreen(bool on) { m_leave->setEnabled(on); }
