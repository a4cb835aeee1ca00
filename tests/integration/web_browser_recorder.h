#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include "form_fixture.h"  // readable QString failures
#include "form/web_browser.h"

// Records a browser's events in order as "Event url" ("NewWindow2" and
// "FileDownload" alone) and runs the event loop until the one awaited comes.
class WebBrowserRecorder {
 public:
  explicit WebBrowserRecorder(WebBrowser& browser) {
    QObject::connect(&browser, &WebBrowser::BeforeNavigate2, &m_context,
                     [this](const QString& url) { add("BeforeNavigate2 " + url); });
    QObject::connect(&browser, &WebBrowser::DocumentComplete, &m_context,
                     [this](const QString& url) { add("DocumentComplete " + url); });
    QObject::connect(&browser, &WebBrowser::NavigateError, &m_context,
                     [this](const QString& url) { add("NavigateError " + url); });
    QObject::connect(&browser, &WebBrowser::NewWindow2, &m_context, [this](bool* cancel) {
      *cancel = true;
      add("NewWindow2");
    });
    QObject::connect(&browser, &WebBrowser::FileDownload, &m_context, [this](bool* cancel) {
      *cancel = true;
      add("FileDownload");
    });
  }

  // The events since the last take, without BeforeNavigate2 unless asked.
  QStringList take(bool withBeforeNavigate = false) {
    QStringList out;
    for (const QString& e : m_events) {
      if (withBeforeNavigate || !e.startsWith("BeforeNavigate2")) out << e;
    }
    m_events.clear();
    return out;
  }

  // Runs the event loop until a DocumentComplete or NavigateError arrives (or
  // the given kind of event), at most ms; true when it came.
  bool waitForEnd(int ms = 10000, const QString& kind = QString()) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
      for (const QString& e : m_events) {
        if (kind.isEmpty() ? (e.startsWith("DocumentComplete") || e.startsWith("NavigateError"))
                           : e.startsWith(kind))
          return true;
      }
      pump(10);
    }
    return false;
  }

  static void pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }

 private:
  void add(const QString& e) { m_events << e; }

  QObject m_context;
  QStringList m_events;
};
