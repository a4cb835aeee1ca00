#pragma once

#include <QIODevice>
#include <QString>
#include <QTextStream>

namespace cli {

// Where a command writes: results to out, messages and progress to err.
// Progress is one updating line on a terminal and plain lines otherwise.
class Console {
 public:
  Console(QIODevice& out, QIODevice& err, bool outIsTerminal, bool errIsTerminal);
  // The process's standard output and error.
  static Console& standard();

  void print(const QString& line);
  void message(const QString& line);
  // A bilingual error line, prefixed with the program name.
  void error(const QString& line);

  bool outIsTerminal() const { return m_outTerminal; }
  bool errIsTerminal() const { return m_errTerminal; }

  // Progress on out (crawl) or err (check). On a terminal the line is
  // rewritten in place; otherwise each call prints a line.
  void progress(const QString& text, bool onErr);
  // Ends an updating line so the next output starts on a fresh line.
  void endProgress();

 private:
  QTextStream& stream(bool onErr) { return onErr ? m_err : m_out; }

  QTextStream m_out;
  QTextStream m_err;
  bool m_outTerminal;
  bool m_errTerminal;
  int m_openProgress = 0;  // 1: on out, 2: on err
};

// The bilingual error line for a file that could not be written, and why.
QString cannotWrite(const QString& path, const QString& reason);

}  // namespace cli
