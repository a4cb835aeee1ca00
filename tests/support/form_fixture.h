#pragma once

#include <gtest/gtest.h>

#include "fake_rig.h"

// Shows texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

// A wired Form on fake engines and the test host, in a fresh program folder.
class FormTest : public ::testing::Test, protected FakeRig {
 protected:
  FormTest();

  // Writes a file of the program folder in GBK with CR LF line ends.
  void writeLines(const QString& name, const QStringList& lines);
  void writeBytes(const QString& name, const QByteArray& bytes);
  // The lines of a file of the program folder (empty when missing).
  QStringList readLines(const QString& name) const;
  QByteArray readBytes(const QString& name) const;
  bool exists(const QString& name) const;
  // The log entries since the last call.
  QStringList takeLog();
};
