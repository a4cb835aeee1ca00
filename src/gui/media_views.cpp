#include "gui/media_views.h"

#include <QVBoxLayout>

#include "app/form.h"
#include "engines/mpv_media_player.h"
#include "engines/mpv_real_player.h"
#include "engines/web_engine_browser.h"
#include "gui/browser_view.h"
#include "gui/media_control_bar.h"
#include "gui/mpv_video_widget.h"

namespace {

QWidget* mediaPlayerView(mpv_handle* mpv) {
  auto* view = new QWidget;
  auto* column = new QVBoxLayout(view);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(makeVideoView(mpv, view), 1);
  column->addWidget(new MediaControlBar(mpv, view));
  return view;
}

}  // namespace

MediaViews makeMediaViews(MpvMediaPlayer& mediaPlayer, MpvRealPlayer& realPlayer,
                          WebEngineBrowser& browser, const Form& form) {
  return {mediaPlayerView(mediaPlayer.handle()), makeVideoView(realPlayer.handle()),
          new BrowserView(browser, form.WindowsMediaPlayer1)};
}
