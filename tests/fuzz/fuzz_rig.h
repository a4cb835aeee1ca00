#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

#include "fake_rig.h"

// One Form on the fake engines for a whole fuzzing run, in a program folder
// of its own.
inline FakeRig& fuzzRig() {
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  static FakeRig rig;
  return rig;
}

inline QByteArray fuzzBytes(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
