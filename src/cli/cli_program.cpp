#include "cli/cli_program.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <memory>

#include "cli/commands.h"
#include "cli/console.h"
#include "engines/web_engine_setup.h"

namespace cli {

namespace {

QStringList argumentsOf(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  return args;
}

// A command's console is its output: the notes Qt and the web engine print
// about the environment (no runtime folder, no GPU, no sandbox as root) are
// dropped; errors still reach standard error.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) Console::standard().message(text);
}

// Scan, crawl and the token refreshes of play and check run the browser,
// which needs a GUI application (offscreen unless a platform was chosen);
// the others need no more than the core.
bool needsBrowser(const CommandLine& c) {
  return c.command == Command::Scan || c.command == Command::Crawl || c.command == Command::Play ||
         (c.command == Command::Check && c.refresh);
}

std::unique_ptr<QCoreApplication> applicationFor(const CommandLine& c, int& argc, char** argv) {
  if (!needsBrowser(c)) return std::make_unique<QCoreApplication>(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  webengine::prepareProcess();
  return std::make_unique<QGuiApplication>(argc, argv);
}

int dispatch(const CommandLine& c, const QString& dir, Console& console) {
  switch (c.command) {
    case Command::Scan: return runScan(c, dir, console);
    case Command::Crawl: return runCrawl(c, dir, console);
    case Command::Check: return runCheck(c, dir, console);
    case Command::Merge: return runMerge(c, dir, console);
    case Command::Import: return runImport(c, dir, console);
    case Command::Export: return runExport(c, dir, console);
    case Command::Channels: return runChannels(c, dir, console);
    case Command::Update: return runUpdate(c, dir, console);
    case Command::Play: return runPlay(c, dir, console);
    case Command::Help: break;
  }
  console.print(usageText().trimmed());
  return kExitDone;
}

}  // namespace

bool wantsCommand(int argc, char** argv) { return isCommandLine(argumentsOf(argc, argv)); }

int runCommandLine(int argc, char** argv) {
  Console& console = Console::standard();
  const auto parsed = parseCommandLine(argumentsOf(argc, argv));
  if (const auto* problem = std::get_if<UsageError>(&parsed)) {
    console.error(problem->message + QStringLiteral(" (nettv --help)"));
    return kExitBadInput;
  }
  const CommandLine& c = std::get<CommandLine>(parsed);
  if (c.command == Command::Help) return dispatch(c, {}, console);
  qInstallMessageHandler(quietMessages);
  const auto application = applicationFor(c, argc, argv);
  const QString dir = c.dir.isEmpty() ? QCoreApplication::applicationDirPath() : c.dir;
  if (!QFileInfo(dir).isDir()) {
    console.error(
        QStringLiteral("程序文件夹 %1 不存在 / program folder %1 does not exist").arg(dir));
    return kExitBadInput;
  }
  return dispatch(c, QFileInfo(dir).absoluteFilePath(), console);
}

}  // namespace cli
