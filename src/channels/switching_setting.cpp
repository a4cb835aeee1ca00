#include "channels/switching_setting.h"

#include "base/settings_file.h"

namespace channels {

bool lineSwitchingOn(const QString& programDir) {
  const QString value = settings::value(programDir, u"channels", u"line-switching").toLower();
  return !(value == u"false" || value == u"off" || value == u"no" || value == u"0");
}

}  // namespace channels
