#pragma once

#include <QHash>
#include <QStringList>
#include <functional>

#include "form/media_player.h"
#include "form/real_player.h"
#include "form/web_browser.h"

// Fakes of the three engines. Each records every call, in order, into one log
// shared by the three ("wmp.stop", "real.call(202)", "web.Navigate(x)"), and
// raises its events only when the test tells it to.

class FakeMediaPlayer : public MediaPlayer {
 public:
  explicit FakeMediaPlayer(QStringList& log) : m_log(log) {}

  void setURL(const QString& url) override;
  void close() override;
  void play() override { m_log << "wmp.play"; }
  void stop() override {
    m_log << "wmp.stop";
    if (onStop) onStop();
  }
  void pause() override { m_log << "wmp.pause"; }
  void setPlayCount(int count) override { playCount = count; m_log << QString("wmp.playCount=%1").arg(count); }
  void setMute(bool mute) override { m_log << QString("wmp.mute=%1").arg(mute); }
  QString sourceURL() const override { return source; }
  QString durationString() const override { return duration; }
  int bandWidth() const override { return 0; }
  int playState() const override { return state; }
  QString versionInfo() const override { return version; }
  void clearErrorQueue() override;
  int errorCount() const override { return static_cast<int>(errors.size()); }
  std::optional<ErrorItem> errorItem(int index) const override;

  // Sets the state and raises PlayStateChange.
  void raiseState(int newState);
  // Queues an error item and raises Error.
  void raiseError(int code, const QString& description = QStringLiteral("error"));

  int state = Ready;
  int playCount = 0;
  QString source;
  QString duration = QStringLiteral("00:00");
  QString version = QStringLiteral("12.0.0.35");
  QList<ErrorItem> errors;
  bool errorReadFails = false;
  // Called after every setURL, to script what the engine then reports.
  std::function<void(const QString& url)> onSetURL;
  // Called after every close and every stop.
  std::function<void()> onClose;
  std::function<void()> onStop;

 private:
  QStringList& m_log;
};

class FakeRealPlayer : public RealPlayer {
 public:
  explicit FakeRealPlayer(QStringList& log);

  bool put(int dispId, const QVariant& value) override;
  QVariant get(int dispId) const override;
  bool call(int dispId, const QVariantList& args = {}) override;

  // Sets the play state (260) and raises the state-change event.
  void raiseState(int newState);
  void raiseError(int code);

  QHash<int, QVariant> props;
  // When set, property reads go into the log too ("real.get(220)").
  bool logGets = false;
  // Called after every Play (257), to script what the engine then reports.
  std::function<void(const QString& source)> onPlay;
  // Called after every Stop (202).
  std::function<void()> onStop;

 private:
  QStringList& m_log;
};

class FakeBrowser : public WebBrowser {
 public:
  explicit FakeBrowser(QStringList& log) : m_log(log) {}

  void Navigate(const QString& url) override;
  void Stop() override { m_log << "web.Stop"; }
  void Quit() override { m_log << "web.Quit"; }
  void setTheaterMode(bool on) override { m_log << QString("web.TheaterMode=%1").arg(on); }
  QString LocationURL() const override { return location; }
  const Document& document() const override { return doc; }
  void setElementFilter(const QStringList& markers) override { filter = markers; }
  QStringList pageRequests() const override { return requests; }

  // Loads doc as the page at url and raises DocumentComplete.
  void complete(const QString& url, const Document& page);
  void raiseNavigateError(const QString& url);

  QString location;
  Document doc;
  QStringList filter;
  QStringList requests;
  // Called after every Navigate, to script what the browser then reports.
  std::function<void(const QString& url)> onNavigate;

 private:
  QStringList& m_log;
};
