#include "base/core_host.h"

#include <QCoreApplication>
#include <QTimer>

#include "base/control_models.h"

CoreHost::CoreHost(MessageSink sink) : m_sink(std::move(sink)) {}

void CoreHost::yield() { QCoreApplication::processEvents(); }

void CoreHost::attachTimer(Timer& timer) {
  auto* qt = new QTimer(&timer);
  qt->setInterval(timer.interval());
  QObject::connect(qt, &QTimer::timeout, &timer, &Timer::fire);
  auto follow = [qt](bool enabled) { enabled ? qt->start() : qt->stop(); };
  QObject::connect(&timer, &Timer::enabledChanged, qt, follow);
  follow(timer.enabled());
}

void CoreHost::messageBox(const QString& text, const QString& title, MessageIcon) {
  if (m_sink) m_sink(text, title);
}

void CoreHost::quit() { QCoreApplication::exit(0); }
