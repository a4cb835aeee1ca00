// Values that go into request headers, whichever way they come in: a
// station's header, --user-agent or the settings file.
#include <gtest/gtest.h>

#include "base/header_value.h"
#include "base/user_agent.h"
#include "cli/command_line.h"
#include "playlists/station_address.h"

// A CR, LF or NUL keeps a value out of every request; anything else,
// Chinese text included, is sent as it is.
TEST(HeaderValues, EveryWayInRefusesTheSameValues) {
  const struct {
    QString value;
    bool safe;
  } cases[] = {
      {"Box/1.0 (X11; Linux)", true},
      {"盒子 1.0", true},
      {"Box\r\nX-Injected: 1", false},
      {"Box\nX", false},
      {"Box\rX", false},
      {QStringLiteral("Box") + QChar(0) + u'X', false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.toStdString());
    const QByteArray utf8 = c.value.toUtf8();
    EXPECT_EQ(headervalue::isSafe(utf8), c.safe);
    EXPECT_EQ(useragent::orDefault(c.value), c.safe ? utf8 : QByteArray(useragent::kDefault));
    const auto line = cli::parseCommandLine({"check", "a", "--user-agent", c.value});
    EXPECT_EQ(std::holds_alternative<cli::CommandLine>(line), c.safe);
    const auto address = playlists::StationAddress::parse(
        "http://h/a|User-Agent=" + QString::fromLatin1(utf8.toPercentEncoding()));
    EXPECT_EQ(address.header("User-Agent"), c.safe ? utf8 : QByteArray());
  }
}
