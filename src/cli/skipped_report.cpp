#include "cli/skipped_report.h"

#include "cli/console.h"

namespace cli {

namespace {
constexpr int kListedSkips = 20;
}

void reportSkipped(Console& console, const QString& file, const QList<playlists::SkippedEntry>& skipped) {
  const int listed = std::min<int>(kListedSkips, static_cast<int>(skipped.size()));
  for (int i = 0; i < listed; ++i)
    console.message(QStringLiteral("%1:%2: 跳过 / skipped: %3")
                        .arg(file)
                        .arg(skipped[i].line)
                        .arg(skipped[i].reason));
  if (skipped.size() > listed)
    console.message(QStringLiteral("%1: 另有 %2 项跳过 / %2 more skipped")
                        .arg(file)
                        .arg(skipped.size() - listed));
}

}  // namespace cli
