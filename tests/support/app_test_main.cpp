#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

#include "engines/web_engine_setup.h"

int main(int argc, char** argv) {
  webengine::prepareProcess();
  QApplication app(argc, argv);
  // libmpv needs C number formats; the application object set the user's.
  std::setlocale(LC_NUMERIC, "C");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
