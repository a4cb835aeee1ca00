#pragma once

class QLocale;
class QObject;
class QTranslator;

// Qt's own texts (dialog buttons, context menus) in the system's language,
// or in Simplified Chinese when Qt has no translation for it; nullptr when
// neither is installed.
QTranslator* loadQtTranslations(const QLocale& system, QObject* parent);
