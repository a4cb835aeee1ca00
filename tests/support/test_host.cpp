#include "test_host.h"

#include <QObject>
#include <algorithm>

#include "base/control_models.h"

void TestHost::yield() {
  ++yieldCount;
  runDue();
}

void TestHost::runDue() {
  for (;;) {
    auto it = std::min_element(m_posted.begin(), m_posted.end(), [](auto& a, auto& b) {
      return a.due != b.due ? a.due < b.due : a.seq < b.seq;
    });
    if (it == m_posted.end() || it->due > m_now) return;
    auto fn = std::move(it->fn);
    m_posted.erase(it);
    fn();
  }
}

void TestHost::attachTimer(Timer& timer) {
  const int index = static_cast<int>(m_timers.size());
  m_timers.append({&timer, timer.enabled() ? m_now + timer.interval() : -1});
  QObject::connect(&timer, &Timer::enabledChanged, &timer, [this, index](bool enabled) {
    Attached& a = m_timers[index];
    a.due = enabled ? m_now + a.timer->interval() : -1;
  });
}

bool TestHost::fireNextTimerUpTo(qint64 limit) {
  Attached* next = nullptr;
  for (Attached& a : m_timers)
    if (a.due >= 0 && a.due <= limit && (!next || a.due < next->due)) next = &a;
  if (!next) return false;
  m_now = std::max(m_now, next->due);
  next->due += next->timer->interval();
  next->timer->fire();
  return true;
}

void TestHost::advance(qint64 ms) {
  const qint64 target = m_now + ms;
  for (;;) {
    runDue();
    qint64 nextPosted = -1;
    for (const Posted& p : m_posted)
      if (nextPosted < 0 || p.due < nextPosted) nextPosted = p.due;
    const qint64 limit = (nextPosted >= 0 && nextPosted <= target) ? nextPosted : target;
    if (fireNextTimerUpTo(limit)) continue;
    if (nextPosted >= 0 && nextPosted <= target) {
      m_now = nextPosted;
      continue;
    }
    break;
  }
  m_now = target;
  runDue();
}

void TestHost::post(std::function<void()> fn, qint64 delayMs) {
  m_posted.append({m_now + delayMs, m_seq++, std::move(fn)});
}

void TestHost::messageBox(const QString& text, const QString& title, MessageIcon icon) {
  messages.append({text, title, icon});
}

QString TestHost::showOpenDialog() {
  return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
}

QString TestHost::activePopupTitle() { return windows.isEmpty() ? QString() : windows.last(); }

void TestHost::closeActivePopup() {
  if (windows.isEmpty()) return;
  closeRequests.append(windows.last());
  if (!popupsRefuseClose) windows.removeLast();
}
