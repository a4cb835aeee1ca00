#pragma once

#include <QTemporaryDir>

#include "form/form.h"
#include "fake_engines.h"
#include "test_host.h"

// A Form on the fake engines and the test host, in a fresh program folder.
struct FakeRig {
  QTemporaryDir dir;
  QStringList log;
  TestHost host;
  FakeMediaPlayer wmp{log};
  FakeRealPlayer real{log};
  FakeBrowser web{log};
  Form f{host, wmp, real, web, dir.path()};
};
