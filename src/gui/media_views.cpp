#include "gui/media_views.h"

#include <QVBoxLayout>

#include "form/form.h"
#include "engines/mpv_media_player.h"
#include "engines/mpv_real_player.h"
#include "engines/web_engine_browser.h"
#include "gui/browser_view.h"
#include "gui/media_control_bar.h"
#include "gui/picture_area.h"
#include "gui/video_widget.h"

namespace {

// The picture of a player, told what its engine does.
PictureArea* pictureArea(MpvSession& session, const Form& form) {
  QWidget* picture = makeVideoView(session.video());
  auto* area = new PictureArea(picture);
  QObject::connect(&session, &MpvSession::loading, area, [&session, &form, area](const QString& a) {
    if (a.trimmed().isEmpty()) return area->stopped();
    area->loading(form.tvm.text().isEmpty() ? a : form.tvm.text());
    if (!session.started()) area->failed(QStringLiteral("播放引擎未能启动"));
  });
  QObject::connect(&session, &MpvSession::stopped, area, &PictureArea::stopped);
  QObject::connect(&session, &MpvSession::failed, area,
                   [area](LoadFailure failure) { area->failed(describeFailure(failure)); });
  QObject::connect(&session, &MpvSession::reported, area, [area](MpvReport report) {
    if (report == MpvReport::Playing) area->playing();
    if (report == MpvReport::Stalled) area->stalled();
    if (report == MpvReport::Ended) area->ended();
  });
  if (auto* drawn = qobject_cast<VideoWidget*>(picture)) {
    QObject::connect(drawn, &VideoWidget::frameShown, area, &PictureArea::pictureShown);
  } else if (picture->testAttribute(Qt::WA_NativeWindow)) {
    // mpv draws by itself and tells of no frame: playing is the best sign.
    QObject::connect(&session, &MpvSession::reported, area, [area](MpvReport report) {
      if (report == MpvReport::Playing) area->pictureShown();
    });
  }
  return area;
}

}  // namespace

MediaViews makeMediaViews(MpvMediaPlayer& mediaPlayer, MpvRealPlayer& realPlayer,
                          WebEngineBrowser& browser, const Form& form) {
  MediaViews views;
  views.mediaPicture = pictureArea(mediaPlayer.session(), form);
  views.controlBar = new MediaControlBar(mediaPlayer.session());
  views.mediaPlayer = new QWidget;
  auto* column = new QVBoxLayout(views.mediaPlayer);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(views.mediaPicture, 1);
  column->addWidget(views.controlBar);
  views.realPicture = pictureArea(realPlayer.session(), form);
  views.realPlayer = views.realPicture;
  views.browser = new BrowserView(browser, form.WindowsMediaPlayer1);
  return views;
}
