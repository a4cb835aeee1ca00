// The channel panel on 100,000 lines of 5,000 channels with a filled
// history: making its tree (off the window's thread) and one keystroke in
// its search box.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "channels/channel_tree.h"
#include "history/health_db.h"
#include "line_verdicts.h"
#include "playlists/channel_aliases.h"

namespace {

constexpr int kChannels = 5000;
constexpr int kLines = 100000;

// Each channel under four spellings, its lines in turn; every third line
// was checked.
struct Lists {
  QStringList names;
  QStringList addresses;
};

Lists lists() {
  const QStringList spellings{"卫视%1台", "衛視%1台 HD", "weishi-%1 [1080p]", "卫视%1 高清"};
  Lists l;
  for (int i = 0; i < kLines; ++i) {
    l.names << spellings[i / kChannels % spellings.size()].arg(i % kChannels);
    l.addresses << QStringLiteral("http://10.%1.%2.%3/live.m3u8")
                       .arg(i / 65536)
                       .arg(i / 256 % 256)
                       .arg(i % 256);
  }
  return l;
}

bool fillHistory(const QString& dir, const Lists& l) {
  history::HealthDb db;
  if (!db.open(dir).ok) return false;
  QList<history::LineVerdict> verdicts = manyVerdicts(kLines / 3, QDateTime::currentDateTimeUtc());
  for (int i = 0; i < verdicts.size(); ++i) verdicts[i].line = l.addresses[i * 3];
  return db.recordMany(verdicts).ok;
}

void ChannelTreeMade100k(benchmark::State& state) {
  QTemporaryDir dir;
  const Lists l = lists();
  if (!fillHistory(dir.path(), l)) return state.SkipWithError("cannot fill health.db");
  for (auto _ : state)
    benchmark::DoNotOptimize(
        channels::loadChannelTree(dir.path(), l.names, l.addresses, QDateTime::currentDateTimeUtc()));
}
BENCHMARK(ChannelTreeMade100k)->Unit(benchmark::kMillisecond)->Iterations(2);

void ChannelSearchKeystroke100k(benchmark::State& state) {
  QTemporaryDir dir;
  const Lists l = lists();
  const auto tree =
      channels::loadChannelTree(dir.path(), l.names, l.addresses, QDateTime::currentDateTimeUtc());
  const QStringList typed{"w", "ws", "wei", "卫视", "卫视4999", "weishi4999", "ws4999", "无此台"};
  qsizetype found = 0;
  qsizetype next = 0;
  for (auto _ : state) {
    found += channels::findChannels(tree, playlists::NameQuery(typed.at(next))).size();
    next = (next + 1) % typed.size();
  }
  benchmark::DoNotOptimize(found);
}
BENCHMARK(ChannelSearchKeystroke100k)->Unit(benchmark::kMillisecond);

}  // namespace
