#pragma once

#include <QString>
#include <memory>

#include "form/form.h"
#include "engines/mpv_media_player.h"
#include "engines/mpv_real_player.h"
#include "engines/web_engine_browser.h"
#include "gui/channel_mode.h"
#include "gui/gui_host.h"
#include "gui/main_window.h"

// The program with its window on a program folder: host, real engines, the
// wired Form and the window, built in this order and torn down in reverse
// (the window's picture areas go before the players they draw).
class WindowProgram {
 public:
  explicit WindowProgram(const QString& programDir, const MpvOptions& playerOptions);

  Form& form() { return m_form; }
  GuiHost& host() { return m_host; }
  MainWindow& window() { return m_window; }
  MpvMediaPlayer& mediaPlayer() { return m_mediaPlayer; }
  MpvRealPlayer& realPlayer() { return m_realPlayer; }
  WebEngineBrowser& browser() { return m_browser; }
  ChannelMode& channels() { return *m_channels; }

 private:
  GuiHost m_host;
  MpvMediaPlayer m_mediaPlayer;
  MpvRealPlayer m_realPlayer;
  WebEngineBrowser m_browser;
  Form m_form;
  MediaViews m_views;
  MainWindow m_window;
  // Plays on the media player and over its picture: goes first.
  std::unique_ptr<ChannelMode> m_channels;
};

namespace gui {

// Sets up the process, starts the window on the program folder (the
// executable's folder, or the one given with --dir), and runs until the
// Unload sequence ends the program.
int runWindow(int argc, char** argv);

}  // namespace gui
