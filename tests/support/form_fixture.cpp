#include "form_fixture.h"

#include <QFile>

#include "app/wiring.h"
#include "base/text_file.h"

FormTest::FormTest() { app::wire(f); }

void FormTest::writeLines(const QString& name, const QStringList& lines) {
  ASSERT_TRUE(textfile::writeLines(f.path(name), lines));
}

void FormTest::writeBytes(const QString& name, const QByteArray& bytes) {
  QFile file(f.path(name));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QStringList FormTest::readLines(const QString& name) const {
  return textfile::readLines(f.path(name)).value_or(QStringList());
}

QByteArray FormTest::readBytes(const QString& name) const {
  QFile file(f.path(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool FormTest::exists(const QString& name) const { return QFile::exists(f.path(name)); }

QStringList FormTest::takeLog() {
  QStringList taken = log;
  log.clear();
  return taken;
}
