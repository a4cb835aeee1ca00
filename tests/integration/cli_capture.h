#pragma once

#include <QBuffer>
#include <QStringList>

#include "cli/console.h"

// A command's console writing into memory, as a pipe would (no terminal).
struct ConsoleCapture {
  QBuffer out, err;
  cli::Console console{out, err, false, false};
  ConsoleCapture() {
    out.open(QIODevice::ReadWrite);
    err.open(QIODevice::ReadWrite);
  }
  QStringList outLines() const {
    return QString::fromUtf8(out.data()).split(u'\n', Qt::SkipEmptyParts);
  }
  QString errText() const { return QString::fromUtf8(err.data()); }
};
