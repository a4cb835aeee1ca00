#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include "base/user_agent.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/headless_program.h"
#include "playlists/station_files.h"

namespace cli {

namespace {

// Follows the window's crawl: counts the pages it visits and tells when it
// can go no further. A QObject only to own its connections.
class CrawlWatch : public QObject {
 public:
  CrawlWatch(HeadlessProgram& program, const CommandLine& c, Console& console)
      : m_program(program), m_f(program.form()), m_maxPages(c.maxPages), m_console(console) {}

  // Connected after the window's handlers, so each check sees their outcome.
  void observe() {
    WebBrowser& browser = m_program.browser();
    connect(&browser, &WebBrowser::DocumentComplete, this, [this] { pageAnswered(true); });
    connect(&browser, &WebBrowser::NavigateError, this, [this] { pageAnswered(false); });
    connect(&m_f.Timer9, &Timer::tick, this, [this] { settle(); });
  }

  void run() {
    // As a user starts it: tick manual mode so the typed address is opened,
    // type it, start the web search, then clear the tick for the automatic
    // crawl.
    if (!m_f.Check2.checked()) m_f.Check2.userClick();
    m_f.tvm.setText(m_url);
    m_f.Command17.click();
    if (m_f.Check2.checked()) m_f.Check2.userClick();
    if (!m_done) m_loop.exec();
    m_console.endProgress();
    // Counted before "停止", which lists the station files again.
    m_found = m_f.dz1.count();
    // The user's "停止" ends the search.
    m_f.Command9.click();
  }

  void setUrl(const QString& url) { m_url = url; }
  int visited() const { return m_visited; }
  int loaded() const { return m_loaded; }
  int found() const { return m_found; }

 private:
  void pageAnswered(bool loaded) {
    m_program.browser().pageAnswered();
    ++m_visited;
    if (loaded) ++m_loaded;
    m_console.progress(QStringLiteral("已访问 %1 页，待访问 %2 页，找到 %3 个电台 / visited %1 "
                                      "pages, %2 queued, %3 stations found")
                           .arg(m_visited)
                           .arg(m_f.tvmx.count() + m_f.List2.count())
                           .arg(m_f.dz1.count()),
                       false);
    if (m_maxPages > 0 && m_visited >= m_maxPages) return end();
    settle();
  }

  // Nothing loads and no crawl step is due: the crawl is over.
  void settle() {
    if (!m_program.browser().awaitingPage() && !m_f.Timer9.enabled()) end();
  }

  void end() {
    if (m_done) return;
    m_done = true;
    QMetaObject::invokeMethod(&m_loop, &QEventLoop::quit, Qt::QueuedConnection);
  }

  HeadlessProgram& m_program;
  Form& m_f;
  int m_maxPages;
  Console& m_console;
  QString m_url;
  QEventLoop m_loop;
  bool m_done = false;
  int m_visited = 0;
  int m_loaded = 0;
  int m_found = 0;
};

// Without a gjz.txt in the folder the crawl uses the built-in markers, which
// know no .m3u8: said once, with the lists in use and where the delivered
// ones are.
void noteBuiltInMarkers(const QString& dir, const Form& f, Console& console) {
  if (QFileInfo::exists(QDir(dir).filePath(library::kMarkerFile))) return;
  const QString folder = QDir::toNativeSeparators(dir);
  QString chinese = QStringLiteral("源码中的 data/%1").arg(library::kMarkerFile);
  QString english = QStringLiteral("data/%1 in the source tree").arg(library::kMarkerFile);
  const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(library::kMarkerFile);
  if (QFileInfo::exists(beside)) {
    chinese += QStringLiteral("、程序文件夹中的 ") + beside;
    english += QStringLiteral(", ") + beside + QStringLiteral(" in the program folder");
  }
  const QString markers = QStringLiteral("%1 / %2 / %3").arg(f.Text3.text(), f.Text4.text(), f.Text5.text());
  console.error(QStringLiteral("%1 中没有 %2，使用内置的搜索标记（%3）；随程序提供的标记表是%4，"
                               "复制到该文件夹即可 / no %2 in %1: crawling with the built-in "
                               "markers (%3); the delivered lists are %5: copy one into %1")
                    .arg(folder, library::kMarkerFile, markers, chinese, english));
}

}  // namespace

int runCrawl(const CommandLine& c, const QString& dir, Console& console, int pageTimeLimitMs) {
  MpvOptions players;
  players.userAgent = useragent::forCommand(c.userAgent, dir);
  HeadlessProgram program(dir, players);
  program.browser().setLoadTimeLimit(pageTimeLimitMs);
  program.setMessageSink([&console](const QString& text, const QString& title) {
    console.message(title + QStringLiteral(": ") + text);
  });
  program.load();
  noteBuiltInMarkers(dir, program.form(), console);
  CrawlWatch watch(program, c, console);
  watch.setUrl(c.url);
  watch.observe();
  watch.run();
  const int found = watch.found();
  program.unload();
  if (watch.loaded() == 0) {
    console.error(QStringLiteral("无法打开 %1 / cannot load %1").arg(c.url));
    return kExitBadInput;
  }
  console.print(QStringLiteral("访问 %1 页，找到 %2 个电台，已存入 %3 / visited %1 pages, found "
                               "%2 stations, stored in %3")
                    .arg(watch.visited())
                    .arg(found)
                    .arg(library::kScannedFile));
  return kExitDone;
}

}  // namespace cli
