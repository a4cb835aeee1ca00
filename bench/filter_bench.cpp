// The window's station filter: one keystroke's search among 100,000 names.
#include <benchmark/benchmark.h>

#include "base/control_models.h"
#include "library/station_finder.h"

namespace {

void FilterKeystroke100k(benchmark::State& state) {
  ListControl names;
  for (int i = 0; i < 100000; ++i)
    names.addItem(QStringLiteral("%1电视台综合频道 Channel %2")
                      .arg(i % 2 ? QStringLiteral("中央") : QStringLiteral("湖南"))
                      .arg(i));
  StationFinder finder(names);
  // What a user types, one more character each keystroke; the last one
  // matches a single name deep in the list.
  const QStringList typed{"C", "Ch", "CHA", "频道", "channel 9", "channel 9999"};
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

}  // namespace
