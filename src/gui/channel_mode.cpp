#include "gui/channel_mode.h"

#include <QShortcut>
#include <QWidget>

#include "base/user_agent.h"
#include "channels/switching_setting.h"
#include "engines/mpv_media_player.h"
#include "engines/web_engine_browser.h"
#include "form/form.h"
#include "gui/line_overlay.h"
#include "playback/play_address.h"
#include "playback/transport.h"
#include "playlists/station_files.h"

namespace {

// The refreshes' own browser, with no view.
channels::TokenRefresher::Browsers offscreenBrowsers(const QString& programDir) {
  return [userAgent = useragent::fromSettings(programDir)]() -> std::unique_ptr<WebBrowser> {
    auto browser = std::make_unique<WebEngineBrowser>();
    browser->setUserAgent(userAgent);
    return browser;
  };
}

}  // namespace

ChannelMode::ChannelMode(Form& f, MpvMediaPlayer& mediaPlayer, Host& host, QWidget* picture,
                         QWidget* window)
    : m_f(f),
      m_listed(playlists::ChannelNames::forFolder(f.programDir)),
      m_player(
          mediaPlayer.session(),
          [&f](const QString& line) {
            // The address box shows the line that plays, so 播放 plays it again.
            f.dz1.setText(line);
            playback::PlayAddress(f, line);
          },
          [&f] { playback::StopAll(f); }),
      m_refresher(offscreenBrowsers(f.programDir), search::MarkerLists(f), host),
      m_switcher(m_player, host, f.healthHistory()),
      m_overlay(picture ? new LineOverlay(picture) : nullptr) {
  m_switcher.setSwitching(channels::lineSwitchingOn(f.programDir));
  // The window records what its media player starts and fails on itself.
  m_switcher.setEngineVerdicts(false);
  m_switcher.setRefresher(&m_refresher);
  connect(&m_switcher, &channels::LineSwitcher::event, this, &ChannelMode::onEvent);
  connect(&m_player, &MpvChannelPlayer::taken, this, &ChannelMode::end);
  for (Control* entry : {static_cast<Control*>(&f.tvm), static_cast<Control*>(&f.dz1),
                         static_cast<Control*>(&f.Command2)})
    connect(entry, &Control::clicked, this, &ChannelMode::onUserPlay);
  connect(&f.tvm, &Control::keyPressed, this, [this](int key) {
    if (key == playback::kEnterKey) onUserPlay();
  });
  if (m_overlay) connect(m_overlay, &LineOverlay::picked, &m_switcher, &channels::LineSwitcher::pickLine);
  for (const auto& [key, step] : {std::pair{Qt::Key_BracketLeft, -1}, {Qt::Key_BracketRight, 1}}) {
    auto* shortcut = new QShortcut(key, window);
    connect(shortcut, &QShortcut::activated, this, [this, step] {
      if (m_playing) m_switcher.stepLine(step);
    });
  }
}

ChannelMode::~ChannelMode() = default;

void ChannelMode::onUserPlay() {
  if (m_f.terminated || m_f.PlayerKind != u"win") return;
  const playlists::StationList lines = m_listed.linesOf(m_f, m_f.tvm.text());
  const bool ofChannel = std::any_of(lines.begin(), lines.end(), [this](const auto& line) {
    return line.address == m_f.CurrentAddress;
  });
  if (lines.size() < 2 || !ofChannel) return;
  m_playing = true;
  // Pages are scanned with the marker boxes as they are now.
  m_refresher.setMarkers(search::MarkerLists(m_f));
  m_switcher.playChannel(lines);
}

void ChannelMode::onEvent(const channels::LineEvent& e) {
  using Kind = channels::LineEvent::Kind;
  const QString text = channels::describe(e);
  m_f.l.setCaption(text);
  if (!m_overlay) return;
  if (e.kind == Kind::GaveUp) {
    m_playing = false;
    m_overlay->showLines(m_switcher.lines(), e.number);
    return m_overlay->tell(text);
  }
  m_overlay->showLines(m_switcher.lines(), m_switcher.current());
  if (e.kind != Kind::Chosen && e.kind != Kind::Started) m_overlay->tell(text);
}

// The window played something else: the channel lets go of the engine.
void ChannelMode::end() {
  m_playing = false;
  m_switcher.stop();
  if (m_overlay) m_overlay->clear();
}
