#pragma once

#include <QString>
#include <functional>

#include "form/form.h"
#include "base/core_host.h"
#include "cli/crawl_browser.h"
#include "engines/mpv_media_player.h"
#include "engines/mpv_real_player.h"

namespace cli {

// The window's Form on the real engines with no window: headless players,
// the browser offscreen, message boxes handed to a sink. Loading wires the
// Form as the window program does and runs the window's Load event, so an
// observer connected before load() sees each event before the window's
// handlers, and one connected after it sees their outcome.
class HeadlessProgram {
 public:
  using MessageSink = std::function<void(const QString& text, const QString& title)>;

  explicit HeadlessProgram(const QString& programDir, const MpvOptions& players = {});
  ~HeadlessProgram();
  HeadlessProgram(const HeadlessProgram&) = delete;
  HeadlessProgram& operator=(const HeadlessProgram&) = delete;

  Form& form() { return m_form; }
  CrawlBrowser& browser() { return m_browser; }
  void setMessageSink(MessageSink sink) { m_sink = std::move(sink); }

  // The window's Load event, except that nothing plays by itself afterwards:
  // a command decides what runs.
  void load();
  // The window's Unload event: marker lists and positions are saved.
  void unload();

 private:
  // The command ends by returning, not by leaving the event loop of a
  // caller that may go on (tests run many commands in one process).
  class CommandHost : public CoreHost {
   public:
    using CoreHost::CoreHost;
    void quit() override {}
  };

  MessageSink m_sink;
  CommandHost m_host;
  MpvMediaPlayer m_mediaPlayer;
  MpvRealPlayer m_realPlayer;
  CrawlBrowser m_browser;
  Form m_form;
};

}  // namespace cli
