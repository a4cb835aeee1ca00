#pragma once

#include <QObject>
#include <QPointer>

#include "channels/line_switcher.h"
#include "channels/listed_channels.h"
#include "channels/token_refresher.h"
#include "engines/mpv_channel_player.h"
#include "gui/line_overlay.h"

class Form;
class Host;
class MpvMediaPlayer;
class QWidget;

// Where the user plays a channel in the window (a name with several lines in
// the lists, picked from the list or played with the play button or Enter),
// its lines play under the line-switching controller on the window's media
// player, through the window's own play procedure. The line playing shows
// over the picture with a menu to pick another; [ and ] step through them; a
// line's failure is told over the picture and in the status line. Anything
// else the window plays ends the channel, and the window's procedures run as
// they always do.
class ChannelMode : public QObject {
  Q_OBJECT
 public:
  // Connected after the window's own handlers, so it sees what they played.
  ChannelMode(Form& f, MpvMediaPlayer& mediaPlayer, Host& host, QWidget* picture,
              QWidget* window);
  ~ChannelMode() override;

  channels::LineSwitcher& switcher() { return m_switcher; }
  LineOverlay* overlay() const { return m_overlay; }

 private:
  // After the user played an entry: a channel of several lines takes over.
  void onUserPlay();
  void onEvent(const channels::LineEvent& e);
  void end();

  Form& m_f;
  channels::ListedChannels m_listed;
  MpvChannelPlayer m_player;
  channels::TokenRefresher m_refresher;
  channels::LineSwitcher m_switcher;
  QPointer<LineOverlay> m_overlay;
  bool m_playing = false;  // a channel plays
};
