#pragma once

#include <functional>

#include "base/host.h"

// Host for a process without a window: Qt's event loop and timers; messages
// go to a sink the caller chooses, and there are no dialogs or pop-ups.
class CoreHost : public Host {
 public:
  using MessageSink = std::function<void(const QString& text, const QString& title)>;

  explicit CoreHost(MessageSink sink = {});

  void yield() override;
  void attachTimer(Timer& timer) override;
  void messageBox(const QString& text, const QString& title, MessageIcon icon) override;
  QString showOpenDialog() override { return {}; }
  QString activePopupTitle() override { return {}; }
  void closeActivePopup() override {}
  void quit() override;

 private:
  MessageSink m_sink;
};
