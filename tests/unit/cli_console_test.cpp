// Progress output: one line rewritten in place on a terminal, plain lines
// in a pipe, and never mixed into a result line.
#include <gtest/gtest.h>

#include <QBuffer>

#include "cli/check_report.h"
#include "cli/console.h"

using namespace cli;

namespace {

struct Streams {
  QBuffer out, err;
  Streams() {
    out.open(QIODevice::ReadWrite);
    err.open(QIODevice::ReadWrite);
  }
};

}  // namespace

TEST(ConsoleProgress, RewrittenOnATerminalPlainInAPipe) {
  Streams terminal;
  Console onTerminal(terminal.out, terminal.err, true, true);
  onTerminal.progress("1 page", false);
  onTerminal.progress("2 pages", false);
  onTerminal.print("done");
  EXPECT_EQ(terminal.out.data(), "\r\x1b[K1 page\r\x1b[K2 pages\ndone\n");

  Streams pipe;
  Console inPipe(pipe.out, pipe.err, false, false);
  inPipe.progress("1 page", false);
  inPipe.progress("2 pages", false);
  inPipe.print("done");
  EXPECT_EQ(pipe.out.data(), "1 page\n2 pages\ndone\n");
}

TEST(ConsoleProgress, CheckBarGoesToErrorOnceATenthInAPipe) {
  Streams pipe;
  Console console(pipe.out, pipe.err, false, false);
  CheckProgress bar(console, 20);
  for (int done = 1; done <= 20; ++done) bar.update(done, done / 2);
  bar.end();
  const QList<QByteArray> lines = pipe.err.data().split('\n');
  // The first station's line, one at each further tenth, and the empty rest
  // after the last line end.
  ASSERT_EQ(lines.size(), 12);
  EXPECT_TRUE(lines[0].startsWith("[#-----------------------------] 1/20"));
  EXPECT_TRUE(lines[10].startsWith("[##############################] 20/20"));
  EXPECT_TRUE(pipe.out.data().isEmpty());
}
