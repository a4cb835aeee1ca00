#include "gui/window_program.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QTranslator>

#include "app/startup.h"
#include "base/user_agent.h"
#include "app/wiring.h"
#include "engines/web_engine_setup.h"
#include "gui/media_views.h"
#include "gui/picture_area.h"
#include "gui/qt_translations.h"
#include "gui/termination_signals.h"
#include "check/play_history.h"

WindowProgram::WindowProgram(const QString& programDir, const MpvOptions& playerOptions)
    : m_mediaPlayer(MpvChannelPlayer::withChannels(playerOptions)),
      m_realPlayer(playerOptions),
      m_form(m_host, m_mediaPlayer, m_realPlayer, m_browser, programDir),
      m_views(makeMediaViews(m_mediaPlayer, m_realPlayer, m_browser, m_form)),
      m_window(m_form, m_views) {
  m_host.setMainWindow(&m_window);
  m_browser.setUserAgent(playerOptions.userAgent);
  check::RecordPlays(m_form);
  app::wire(m_form);
  m_channels = std::make_unique<ChannelMode>(m_form, m_mediaPlayer, m_host, m_views.mediaPicture,
                                             &m_window);
}

namespace gui {

namespace {

QtMessageHandler g_defaultMessages = nullptr;

// The window speaks through its own messages: the notes Qt and the web engine
// print about the environment stay off the console; errors still reach it.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) g_defaultMessages(type, context, text);
}

QString programDir(const QStringList& arguments) {
  QCommandLineParser parser;
  const QCommandLineOption dir(QStringLiteral("dir"), QString(), QStringLiteral("path"));
  parser.addOption(dir);
  parser.parse(arguments);
  return parser.isSet(dir) ? parser.value(dir) : QCoreApplication::applicationDirPath();
}

}  // namespace

int runWindow(int argc, char** argv) {
  // Chromium's switches and schemes, and OpenGL contexts shared between the
  // web view and the video widgets.
  webengine::prepareProcess();
  g_defaultMessages = qInstallMessageHandler(quietMessages);
  QApplication application(argc, argv);
  application.setApplicationName(kApplicationTitle);
  if (QTranslator* qtTexts = loadQtTranslations(QLocale::system(), &application))
    application.installTranslator(qtTexts);

  const QString dir = programDir(application.arguments());
  MpvOptions players;
  players.video = true;
  players.audio = true;
  players.userAgent = useragent::fromSettings(dir);
  WindowProgram program(dir, players);
  Form& form = program.form();
  // Whichever way the program ends, the Unload sequence saves its files.
  TerminationSignals endSignals([&program] {
    program.host().stopAsking();
    if (!program.form().terminated) app::Form_Unload(program.form());
  });
  app::Form_Load(form);
  // Closing the window during the Load event has already ended the program.
  return form.terminated ? 0 : application.exec();
}

}  // namespace gui
