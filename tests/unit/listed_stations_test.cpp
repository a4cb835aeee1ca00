#include "form_fixture.h"
#include "library/listed_stations.h"
#include "library/station_list.h"

namespace {

using ListedStationsTest = FormTest;

TEST_F(ListedStationsTest, EachListedRequestOnceWithoutSeparators) {
  writeLines("tv_lib_ss_jg.txt", {"甲台,http://a/1,", "乙台,http://b/2|Referer=http://b/,"});
  writeLines("tv_lib.txt", {"甲台又,http://a/1,", "丙台,mms://c/3,", "乙台又,http://b/2,"});
  library::ReloadAllStationLists(f);
  ASSERT_GT(f.tvm.count(), 5);  // with the separator between the files

  const playlists::StationList stations = library::listedStations(f);
  QStringList seen;
  for (const playlists::Station& s : stations) seen << s.name + u' ' + s.address;
  // The first of each request: the same address without the headers is
  // another one. The separator is no station.
  EXPECT_EQ(seen, (QStringList{"甲台 http://a/1", "乙台 http://b/2|Referer=http://b/",
                               "丙台 mms://c/3", "乙台又 http://b/2"}));
}

}  // namespace
