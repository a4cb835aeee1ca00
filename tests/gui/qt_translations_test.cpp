#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

#include "gui/qt_translations.h"

namespace {

TEST(QtTranslationsTest, SystemLanguageElseSimplifiedChinese) {
  const struct {
    QLocale system;
    const char* cancel;
  } cases[] = {
      {QLocale::c(), "取消"},                              // no translation: Chinese
      {QLocale(QLocale::Japanese, QLocale::Japan), "キャンセル"},
      {QLocale(QLocale::Chinese, QLocale::Taiwan), "取消"},
      {QLocale(QLocale::Zulu, QLocale::SouthAfrica), "取消"},
  };
  for (const auto& c : cases) {
    QTranslator* texts = loadQtTranslations(c.system, qApp);
    ASSERT_NE(texts, nullptr) << c.system.name().toStdString();
    QApplication::installTranslator(texts);
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8(c.cancel))
        << c.system.name().toStdString();
    QApplication::removeTranslator(texts);
    delete texts;
  }
}

}  // namespace
