#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "base/host.h"

class Timer;

// A host on a virtual clock: timers tick only when the test advances the
// clock, posted events run on yield() and advance(), message boxes are
// recorded and dialogs answered from a script.
class TestHost : public Host {
 public:
  struct Message {
    QString text;
    QString title;
    MessageIcon icon;
  };

  void yield() override;
  void attachTimer(Timer& timer) override;
  void messageBox(const QString& text, const QString& title, MessageIcon icon) override;
  QString showOpenDialog() override;
  QString activePopupTitle() override;
  void closeActivePopup() override;
  void quit() override { quitCalled = true; }

  // Runs fn once the clock reaches now + delayMs (at the next yield or
  // advance when the delay is 0).
  void post(std::function<void()> fn, qint64 delayMs = 0);
  // Moves the clock forward, firing timers and posted events in time order.
  void advance(qint64 ms);
  qint64 now() const { return m_now; }

  QList<Message> messages;
  QStringList dialogAnswers;  // answers of showOpenDialog, first first
  // Titles of the program's windows: the last one is the active pop-up.
  QStringList windows;
  QStringList closeRequests;  // titles asked to close
  bool popupsRefuseClose = false;
  int yieldCount = 0;
  bool quitCalled = false;

 private:
  struct Posted {
    qint64 due;
    quint64 seq;
    std::function<void()> fn;
  };
  struct Attached {
    Timer* timer;
    qint64 due;
  };
  void runDue();
  bool fireNextTimerUpTo(qint64 limit);

  QList<Posted> m_posted;
  QList<Attached> m_timers;
  qint64 m_now = 0;
  quint64 m_seq = 0;
};
