// The stored form of an address and the key that finds duplicates.
#include <gtest/gtest.h>

#include "cli/station_address.h"

using namespace cli;

TEST(DuplicateKey, SchemeAndHostCaseAndDefaultPortsDoNotMatter) {
  const QString key = duplicateKey(QStringLiteral("http://radio.example.com/Live.mp3"));
  for (const char* same :
       {"HTTP://Radio.Example.COM/Live.mp3", "http://radio.example.com:80/Live.mp3",
        "Http://RADIO.example.com:/Live.mp3"})
    EXPECT_EQ(duplicateKey(QString::fromUtf8(same)), key) << same;
  for (const char* other :
       {"http://radio.example.com/live.mp3", "http://radio.example.com:8080/Live.mp3",
        "https://radio.example.com/Live.mp3"})
    EXPECT_NE(duplicateKey(QString::fromUtf8(other)), key) << other;

  EXPECT_EQ(duplicateKey("HTTPS://A.example.com:443"), "https://a.example.com");
  EXPECT_EQ(duplicateKey("rtsp://A.example.com:554/s?x=Y#F"), "rtsp://a.example.com/s?x=Y#F");
  EXPECT_EQ(duplicateKey("mms://A.example.com:1755/s"), "mms://a.example.com/s");
  EXPECT_EQ(duplicateKey("mms://A.example.com:80/s"), "mms://a.example.com:80/s");
  EXPECT_EQ(duplicateKey("http://User:Pw@Host.example.com:80/"),
            "http://User:Pw@host.example.com/");
  EXPECT_EQ(duplicateKey("http://[::1]:80/a"), "http://[::1]/a");
  EXPECT_EQ(duplicateKey("http://[::1]:81/a"), "http://[::1]:81/a");
  EXPECT_EQ(duplicateKey("/Music/A.mp3"), "/Music/A.mp3");
}

TEST(TidyAddress, StoredFormsAndProblems) {
  const QString base = QStringLiteral("/lists");
  EXPECT_EQ(tidyAddress(" http://a.example.com/x y,z.mp3\t", base).address,
            "http://a.example.com/x%20y%2Cz.mp3");
  EXPECT_EQ(tidyAddress("http://a.example.com/already%20encoded", base).address,
            "http://a.example.com/already%20encoded");
  EXPECT_EQ(tidyAddress("rel/a.mp3", base).address, "/lists/rel/a.mp3");
  EXPECT_EQ(tidyAddress("../b.mp3", base).address, "/b.mp3");
  EXPECT_EQ(tidyAddress("C:\\Music\\a.mp3", base).address, "C:\\Music\\a.mp3");
  EXPECT_FALSE(tidyAddress("mms://a.example.com/live", base).problem);

  EXPECT_EQ(tidyAddress("   ", base).problem, AddressProblem::Empty);
  EXPECT_EQ(tidyAddress("http://x/" + QString(kMaxAddressLength, u'a'), base).problem,
            AddressProblem::TooLong);
  EXPECT_EQ(tidyAddress("http://x/a\x1b", base).problem, AddressProblem::ControlCharacters);
  EXPECT_EQ(tidyAddress("http://", base).problem, AddressProblem::Malformed);
  EXPECT_EQ(tidyAddress("http://bad host/", base).problem, AddressProblem::Malformed);
  EXPECT_EQ(tidyAddress("/music/a,b.mp3", base).problem, AddressProblem::CommaInPath);
}
