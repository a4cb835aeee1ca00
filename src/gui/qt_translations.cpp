#include "gui/qt_translations.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QTranslator* loadQtTranslations(const QLocale& system, QObject* parent) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  auto* translator = new QTranslator(parent);
  const QString name = QStringLiteral("qtbase");
  const QString prefix = QStringLiteral("_");
  if (translator->load(system, name, prefix, folder) ||
      translator->load(QLocale(QLocale::Chinese, QLocale::China), name, prefix, folder))
    return translator;
  delete translator;
  return nullptr;
}
