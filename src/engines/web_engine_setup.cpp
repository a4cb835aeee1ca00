#include "engines/web_engine_setup.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QUrl>
#include <QWebEngineUrlScheme>
#include <unistd.h>

namespace webengine {

namespace {

struct MediaScheme {
  const char* name;
  int defaultPort;
};
constexpr MediaScheme kMediaSchemes[] = {{"mms", 1755}, {"rtsp", 554}};

// Chromium otherwise fetches components, safe-browsing lists, sync and
// first-run data, reports network errors on its own and prints its notes to
// the console.
constexpr const char* kQuietSwitches[] = {
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--no-first-run", "--disable-domain-reliability", "--log-level=3"};

// Without the registration Chromium blocks page-initiated navigations to these
// schemes before the page is asked; LocalScheme would make them unreachable
// from web pages as well.
void registerMediaSchemes() {
  for (const MediaScheme& s : kMediaSchemes) {
    QWebEngineUrlScheme scheme(s.name);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::HostPortAndUserInformation);
    scheme.setDefaultPort(s.defaultPort);
    QWebEngineUrlScheme::registerScheme(scheme);
  }
}

void addChromiumSwitches() {
  QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  for (const char* flag : kQuietSwitches) {
    if (!flags.contains(flag)) flags += QByteArray(" ") + flag;
  }
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

}  // namespace

void prepareProcess() {
  static bool done = false;
  if (done) return;
  done = true;
  registerMediaSchemes();
  // Chromium refuses to start its sandbox as root.
  if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  addChromiumSwitches();
  // Without OpenGL (offscreen) Chromium's start-up would print its GPU report.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  // The web view shares its OpenGL context with the video widgets.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

bool isMediaScheme(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  for (const MediaScheme& s : kMediaSchemes) {
    if (scheme == QLatin1String(s.name)) return true;
  }
  return false;
}

}  // namespace webengine
