#include "cli/skipped_report.h"

#include <QMap>

#include "cli/console.h"
#include "playlists/playlist.h"

namespace cli {

namespace {
constexpr int kListedSkips = 20;
}

void reportSkipped(Console& console, const QList<playlists::ImportSkip>& skipped) {
  const int listed = std::min<int>(kListedSkips, static_cast<int>(skipped.size()));
  for (int i = 0; i < listed; ++i) {
    const playlists::ImportSkip& s = skipped[i];
    const QString where = s.line > 0 ? QStringLiteral("%1:%2").arg(s.file).arg(s.line) : s.file;
    console.message(QStringLiteral("%1: 跳过 / skipped: %2").arg(where, s.reason));
  }
  if (skipped.size() <= listed) return;
  QMap<QString, int> byReason;
  for (const playlists::ImportSkip& s : skipped) ++byReason[s.reason];
  for (auto it = byReason.cbegin(); it != byReason.cend(); ++it)
    console.message(QStringLiteral("跳过 %1 项 / %1 skipped: %2").arg(it.value()).arg(it.key()));
}

void reportSkipped(Console& console, const QString& file,
                   const QList<playlists::SkippedEntry>& skipped) {
  QList<playlists::ImportSkip> all;
  all.reserve(skipped.size());
  for (const playlists::SkippedEntry& s : skipped) all.append({file, s.line, s.reason});
  reportSkipped(console, all);
}

}  // namespace cli
