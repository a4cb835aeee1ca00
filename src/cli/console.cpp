#include "cli/console.h"

#include <unistd.h>

#include <QFile>

namespace cli {

Console::Console(QIODevice& out, QIODevice& err, bool outIsTerminal, bool errIsTerminal)
    : m_out(&out), m_err(&err), m_outTerminal(outIsTerminal), m_errTerminal(errIsTerminal) {}

Console& Console::standard() {
  static QFile out, err;
  if (!out.isOpen()) {
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
  }
  static Console console(out, err, isatty(STDOUT_FILENO) == 1, isatty(STDERR_FILENO) == 1);
  return console;
}

void Console::print(const QString& line) {
  endProgress();
  m_out << line << '\n';
  m_out.flush();
}

void Console::message(const QString& line) {
  endProgress();
  m_err << line << '\n';
  m_err.flush();
}

void Console::error(const QString& line) { message(QStringLiteral("nettv: ") + line); }

void Console::progress(const QString& text, bool onErr) {
  const bool terminal = onErr ? m_errTerminal : m_outTerminal;
  QTextStream& s = stream(onErr);
  if (!terminal) {
    s << text << '\n';
  } else {
    if (m_openProgress != (onErr ? 2 : 1)) endProgress();
    // Carriage return and "erase to end of line" rewrite the line in place.
    s << "\r\x1b[K" << text;
    m_openProgress = onErr ? 2 : 1;
  }
  s.flush();
}

void Console::endProgress() {
  if (!m_openProgress) return;
  QTextStream& s = stream(m_openProgress == 2);
  s << '\n';
  s.flush();
  m_openProgress = 0;
}

QString cannotWrite(const QString& path, const QString& reason) {
  return QStringLiteral("无法写入 %1：%2 / cannot write %1: %2").arg(path, reason);
}

}  // namespace cli
