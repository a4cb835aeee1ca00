// Loading a large station file, and appending to a large found-stations file.
#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include "base/text_file.h"
#include "fake_rig.h"
#include "library/found_entries.h"
#include "playlists/station_files.h"
#include "library/station_list.h"

namespace {

QStringList stationLines(int count) {
  QStringList lines;
  lines.reserve(count);
  for (int i = 0; i < count; ++i)
    lines << QStringLiteral("中央电视台综合频道%1,http://live.example.cn/channel/%1/index.m3u8,")
                 .arg(i);
  return lines;
}

void LoadStationList100k(benchmark::State& state) {
  FakeRig b;
  if (!textfile::writeLines(b.f.path("big.txt"), stationLines(100000)))
    return state.SkipWithError("cannot write the station file");
  for (auto _ : state) {
    b.f.tvm.clear();
    b.f.dz1.clear();
    library::LoadStationList(b.f, "big.txt");
  }
  state.counters["entries"] = b.f.tvm.count();
}
BENCHMARK(LoadStationList100k)->Unit(benchmark::kMillisecond);

void AppendFoundEntry10k(benchmark::State& state) {
  FakeRig b;
  if (!textfile::writeLines(b.f.path(library::kFoundFile), stationLines(10000)))
    return state.SkipWithError("cannot write the station file");
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const QString entry = library::stationLine("新台" + QString::number(i++), "mms://x/new");
    state.ResumeTiming();
    library::AppendFoundEntry(b.f, entry);
  }
}
BENCHMARK(AppendFoundEntry10k)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
