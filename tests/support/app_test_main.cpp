#include <QApplication>
#include <gtest/gtest.h>

#include "engines/web_engine_setup.h"

int main(int argc, char** argv) {
  webengine::prepareProcess();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
