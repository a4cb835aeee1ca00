#include "cli/headless_program.h"

#include "app/startup.h"
#include "app/wiring.h"
#include "check/play_history.h"

namespace cli {

HeadlessProgram::HeadlessProgram(const QString& programDir, const MpvOptions& players)
    : m_host([this](const QString& text, const QString& title) {
        if (m_sink) m_sink(text, title);
      }),
      m_mediaPlayer(players),
      m_realPlayer(players),
      m_form(m_host, m_mediaPlayer, m_realPlayer, m_browser, programDir) {
  m_browser.setUserAgent(players.userAgent);
}

HeadlessProgram::~HeadlessProgram() {
  for (Timer* t : {&m_form.Timer5, &m_form.Timer8, &m_form.Timer9, &m_form.Timer10})
    t->setEnabled(false);
}

void HeadlessProgram::load() {
  check::RecordPlays(m_form);
  app::wire(m_form);
  app::Form_Load(m_form);
  // The first tick of Timer10 would play the next station of the list.
  m_form.Timer10.setEnabled(false);
}

void HeadlessProgram::unload() {
  if (!m_form.terminated) app::Form_Unload(m_form);
}

}  // namespace cli
