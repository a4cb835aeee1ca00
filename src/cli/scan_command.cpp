#include <QEventLoop>
#include <QTimer>

#include "base/user_agent.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/headless_program.h"
#include "cli/scan_report.h"

namespace cli {

namespace {

const QString kScanOver = QStringLiteral("搜索完毕！");

// Every candidate ends in a player report within the players' own limits,
// tried twice; a scan that shows no progress for this long has stalled.
int stallLimitMs(const MpvOptions& players) { return 2 * players.startTimeoutMs + 30000; }

}  // namespace

int runScan(const CommandLine& c, const QString& dir, Console& console,
            const MpvOptions& players) {
  QEventLoop loop;
  bool over = false;
  MpvOptions options = players;
  options.userAgent = useragent::forCommand(c.userAgent, dir);
  HeadlessProgram program(dir, options);
  Form& f = program.form();
  ScanReport report(f, console);
  report.observeEngines();
  program.setMessageSink([&](const QString& text, const QString& title) {
    if (text != kScanOver) return console.message(title + QStringLiteral(": ") + text);
    over = true;
    report.finish();
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  program.load();
  report.observeLog();

  QTimer stall;
  stall.setSingleShot(true);
  stall.setInterval(stallLimitMs(players));
  QObject::connect(&f.List3, &ListControl::itemInserted, &stall, qOverload<>(&QTimer::start));
  QObject::connect(&stall, &QTimer::timeout, &loop, &QEventLoop::quit);
  stall.start();

  // The window's "搜台".
  f.Command10.click();
  if (!over) loop.exec();
  if (!over) {
    f.Command9.click();
    console.error(QStringLiteral("搜台停滞，已停止 / the scan stalled and was stopped"));
  }
  program.unload();
  return over ? kExitDone : kExitBadInput;
}

}  // namespace cli
