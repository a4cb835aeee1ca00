#include "app/wiring.h"

#include "form/form.h"
#include "app/toggle_view.h"
#include "library/station_editing.h"
#include "monitor/list_scan.h"
#include "monitor/media_player_events.h"
#include "monitor/real_player_events.h"
#include "monitor/test_play.h"
#include "playback/play_address.h"
#include "playback/play_clock.h"
#include "playback/transport.h"
#include "search/browser_events.h"
#include "search/crawl_driver.h"
#include "search/document_scan.h"
#include "search/result_files.h"
#include "search/station_test.h"

namespace app {

namespace {

// Connects a signal of a model to a handler taking the Form. Once the
// program has ended no handler runs.
template <class Sender, class Signal, class Handler>
void on(Form& f, Sender& sender, Signal signal, Handler handler) {
  QObject::connect(&sender, signal, &sender, [&f, handler](auto... args) {
    if (!f.terminated) handler(f, args...);
  });
}

}  // namespace

void wire(Form& f) {
  f.up.stopAll = [&f] { playback::StopAll(f); };
  f.up.playResolvedAddress = [&f] { monitor::PlayResolvedAddress(f); };

  // The view: a click on the panel or its two labels switches the view.
  on(f, f.Frame1, &Control::clicked, [](Form& g) { ToggleView(g, g.Frame1); });
  on(f, f.Label1, &Control::clicked, [](Form& g) { ToggleView(g, g.Label1); });
  on(f, f.Label3, &Control::clicked, [](Form& g) { ToggleView(g, g.Label3); });

  // Playing and testing stations: transport, editing, timers, player events.
  on(f, f.Command2, &Control::clicked, playback::Command2_Click);
  on(f, f.Command4, &Control::clicked, playback::Command4_Click);
  on(f, f.Command5, &Control::clicked, playback::Command5_Click);
  on(f, f.Command14, &Control::clicked, playback::Command14_Click);
  on(f, f.Command18, &Control::clicked, playback::Command18_Click);
  on(f, f.tvm, &Control::clicked, playback::tvm_Click);
  on(f, f.dz1, &Control::clicked, playback::dz1_Click);
  on(f, f.tvm, &Control::keyPressed, playback::tvm_KeyDown);
  on(f, f.tvm, &Control::focusGained, playback::tvm_GotFocus);
  on(f, f.tvm, &Control::focusLost, playback::tvm_LostFocus);
  on(f, f.dz1, &Control::focusGained, playback::dz1_GotFocus);
  on(f, f.Command3, &Control::clicked, library::AddStation);
  on(f, f.Command3, &Control::focusLost, library::Command3_LostFocus);
  on(f, f.Command12, &Control::clicked, library::DeleteStation);
  on(f, f.Text2, &TextBox::textChanged, [](Form& g, const QString&) { library::Text2_Change(g); });
  on(f, f.Check3, &Control::clicked, library::Check3_Click);
  on(f, f.Timer5, &Timer::tick, playback::Timer5_Timer);
  on(f, f.Timer8, &Timer::tick, monitor::StartQueuedAddress);
  on(f, f.Timer10, &Timer::tick, playback::Timer10_Timer);
  MediaPlayer& mediaPlayer = f.WindowsMediaPlayer1.engine();
  on(f, mediaPlayer, &MediaPlayer::PlayStateChange, monitor::WindowsMediaPlayer1_PlayStateChange);
  on(f, mediaPlayer, &MediaPlayer::Error, monitor::WindowsMediaPlayer1_Error);
  RealPlayer& realPlayer = f.RealAudio1.engine();
  on(f, realPlayer, &RealPlayer::StateChange, monitor::RealAudio1_StateChange);
  on(f, realPlayer, &RealPlayer::ErrorEvent, monitor::RealAudio1_ErrorEvent);
  on(f, realPlayer, &RealPlayer::ThreeNumberEvent, monitor::RealAudio1_ThreeNumberEvent);

  // Web search: the crawl, the station test, the result files, the browser.
  on(f, f.Command17, &Control::clicked, search::StartWebSearch);
  on(f, f.Command9, &Control::clicked, search::StopSearch);
  on(f, f.Command10, &Control::clicked, search::TestAllStations);
  on(f, f.Command10, &Control::keyPressed, search::Command10_KeyDown);
  on(f, f.Command16, &Control::clicked, search::ResultSetToggle);
  on(f, f.Timer9, &Timer::tick, search::Timer9_Timer);
  on(f, f.List2, &Control::clicked, search::List2_Click);
  on(f, f.tvmx, &Control::clicked, search::tvmx_Click);
  on(f, f.List3, &Control::clicked, search::List3_Click);
  WebBrowser& browser = f.WebBrowser1.engine();
  on(f, browser, &WebBrowser::BeforeNavigate2, search::WebBrowser1_BeforeNavigate2);
  on(f, browser, &WebBrowser::NewWindow2, search::WebBrowser1_NewWindow2);
  on(f, browser, &WebBrowser::DocumentComplete, search::WebBrowser1_DocumentComplete);
  on(f, browser, &WebBrowser::FileDownload, search::WebBrowser1_FileDownload);
  on(f, browser, &WebBrowser::NavigateError, search::WebBrowser1_NavigateError);
}

}  // namespace app
