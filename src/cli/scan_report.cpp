#include "cli/scan_report.h"

#include <utility>

#include "form/form.h"
#include "cli/console.h"
#include "engines/mpv_media_player.h"
#include "engines/mpv_real_player.h"
#include "playlists/station_files.h"
#include "library/scan_marker_text.h"

namespace cli {

namespace {

// The verdict behind an engine's error code.
template <class Engine>
std::optional<check::Outcome> outcomeOfCode(int code) {
  for (LoadFailure f : kAllLoadFailures)
    if (Engine::errorCodeOf(f) == code) return outcomeOfFailure(f);
  return std::nullopt;
}

}  // namespace

ScanReport::ScanReport(Form& f, Console& console) : m_f(f), m_console(console) {}

void ScanReport::observeEngines() {
  MediaPlayer& media = m_f.WindowsMediaPlayer1.engine();
  connect(&media, &MediaPlayer::PlayStateChange, this, [this](int state) {
    if (state == MediaPlayer::Playing && m_current >= 0) m_verdict = check::Outcome::Playing;
  });
  connect(&media, &MediaPlayer::Error, this, [this, &media] {
    const auto item = media.errorItem(media.errorCount() - 1);
    failed(item ? outcomeOfCode<MpvMediaPlayer>(item->code) : std::nullopt);
  });
  RealPlayer& real = m_f.RealAudio1.engine();
  connect(&real, &RealPlayer::StateChange, this, [this](int, int state) {
    if (state == RealPlayer::Playing && m_current >= 0) m_verdict = check::Outcome::Playing;
  });
  connect(&real, &RealPlayer::ErrorEvent, this,
          [this](int, int code, int, const QString&, const QString&, const QString&) {
            failed(outcomeOfCode<MpvRealPlayer>(code));
          });
}

void ScanReport::observeLog() {
  connect(&m_f.List3, &ListControl::itemInserted, this,
          [this](int index) { onLogged(m_f.List3.item(index)); });
}

void ScanReport::failed(std::optional<check::Outcome> verdict) {
  // A candidate is tried twice; a play on either try counts.
  if (m_current >= 0 && m_verdict != check::Outcome::Playing) m_verdict = verdict;
}

void ScanReport::onLogged(const QString& text) {
  if (m_over) return;
  const auto counter = library::scanCounter(text);
  if (!counter || *counter == m_current) return;
  if (*counter == 0) {
    // The candidates, before the end of the scan replaces the lists.
    m_names = m_f.tvm.items();
    m_addresses = m_f.dz1.items();
  }
  settleCurrent();
  if (*counter < m_addresses.size()) m_current = *counter;
}

void ScanReport::settleCurrent() {
  const int current = std::exchange(m_current, -1);
  const std::optional<check::Outcome> verdict = std::exchange(m_verdict, std::nullopt);
  // The boundary between two files' entries is tried too, but is no station.
  if (current < 0 || m_addresses.value(current) == library::kSeparator) return;
  ++m_tested;
  if (verdict == check::Outcome::Playing) ++m_playing;
  m_console.print(QStringLiteral("%1  %2  %3  %4")
                      .arg(current, 4)
                      .arg(verdict ? check::outcomeText(*verdict) : QStringLiteral("未播放 not played"))
                      .arg(m_names.value(current), m_addresses.value(current)));
}

void ScanReport::finish() {
  settleCurrent();
  m_over = true;
  m_console.print(QStringLiteral("测试 %1 个，可播放 %2 个 / tested %1, %2 playing")
                      .arg(m_tested)
                      .arg(m_playing));
}

}  // namespace cli
