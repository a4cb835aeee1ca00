// The window's station filter among 100,000 names: one keystroke's search,
// and making the names ready once after a load.
#include <benchmark/benchmark.h>

#include "base/control_models.h"
#include "library/station_finder.h"

namespace {

void fill(ListControl& names) {
  for (int i = 0; i < 100000; ++i)
    names.addItem(QStringLiteral("%1电视台综合频道 Channel %2")
                      .arg(i % 2 ? QStringLiteral("中央") : QStringLiteral("湖南"))
                      .arg(i));
}

const playlists::ChannelNames& channelNames() {
  static const auto names = playlists::ChannelNames::forFolder(QString());
  return names;
}

void FilterKeystroke100k(benchmark::State& state) {
  ListControl names;
  fill(names);
  StationFinder finder(names, channelNames());
  // What a user types, one more character each keystroke, by text, channel
  // key and pinyin; the last one of each run matches a single name deep in
  // the list, or none.
  const QStringList typed{"C",     "Ch",   "CHA",       "频道", "channel 9", "channel 9999",
                          "hn",    "hnds", "hunandian", "cctv", "cctv5",     "无此台"};
  finder.find(typed.first(), 60);
  // One iteration is one keystroke, so the time shown is per keystroke.
  int matches = 0;
  qsizetype next = 0;
  for (auto _ : state) {
    matches += finder.find(typed.at(next), 60).size();
    next = (next + 1) % typed.size();
  }
  benchmark::DoNotOptimize(matches);
}
BENCHMARK(FilterKeystroke100k)->Unit(benchmark::kMillisecond);

void FilterNamesReady100k(benchmark::State& state) {
  ListControl names;
  fill(names);
  int matches = 0;
  for (auto _ : state) {
    StationFinder finder(names, channelNames());
    matches += finder.find(QStringLiteral("hnds"), 60).size();
  }
  benchmark::DoNotOptimize(matches);
}
BENCHMARK(FilterNamesReady100k)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
