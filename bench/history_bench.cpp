// The health history: recording a check's verdicts, one by one and in one
// batch, and reading the summaries of a large list to rank it.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "history/health_db.h"
#include "line_verdicts.h"

namespace {

using history::HealthDb;

const QDateTime kNow = QDateTime::currentDateTimeUtc();

void RecordVerdicts(benchmark::State& state, int perTransaction) {
  QTemporaryDir dir;
  HealthDb db;
  if (!db.open(dir.path()).ok) return state.SkipWithError("cannot open health.db");
  const QList<history::LineVerdict> verdicts = manyVerdicts(int(state.range(0)), kNow);
  for (auto _ : state) {
    for (qsizetype i = 0; i < verdicts.size(); i += perTransaction)
      if (!db.recordMany(verdicts.mid(i, perTransaction)).ok)
        return state.SkipWithError("a write failed");
  }
  state.counters["records/s"] = benchmark::Counter(
      double(state.iterations() * verdicts.size()), benchmark::Counter::kIsRate);
}

void RecordBatch(benchmark::State& state) { RecordVerdicts(state, int(state.range(0))); }
BENCHMARK(RecordBatch)->Arg(10000)->Unit(benchmark::kMillisecond);

void RecordOneByOne(benchmark::State& state) { RecordVerdicts(state, 1); }
BENCHMARK(RecordOneByOne)->Arg(1000)->Unit(benchmark::kMillisecond);

void Summaries(benchmark::State& state) {
  QTemporaryDir dir;
  HealthDb db;
  if (!db.open(dir.path()).ok) return state.SkipWithError("cannot open health.db");
  const QList<history::LineVerdict> verdicts = manyVerdicts(int(state.range(0)), kNow);
  if (!db.recordMany(verdicts).ok) return state.SkipWithError("a write failed");
  QStringList keys;
  for (const history::LineVerdict& v : verdicts) keys << v.line;
  for (auto _ : state) benchmark::DoNotOptimize(db.summaries(keys));
  state.counters["summaries/s"] = benchmark::Counter(
      double(state.iterations() * keys.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(Summaries)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
