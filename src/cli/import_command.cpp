#include "cli/commands.h"
#include "cli/console.h"
#include "cli/skipped_report.h"
#include "playlists/playlist_import.h"

namespace cli {

int runImport(const CommandLine& c, const QString& dir, Console& console) {
  const playlists::ImportOutcome outcome = playlists::importPlaylists(dir, c.files);
  reportSkipped(console, outcome.skipped);
  const bool unreadable = std::any_of(outcome.skipped.begin(), outcome.skipped.end(),
                                      [](const playlists::ImportSkip& s) { return s.line == 0; });
  if (!outcome.writeError.isEmpty()) console.error(outcome.writeError);
  if (unreadable || !outcome.writeError.isEmpty()) return kExitBadInput;
  console.print(QStringLiteral("导入 %1 个电台，重复 %2 个，跳过 %3 项 / imported %1 stations, "
                               "%2 duplicates, %3 entries skipped")
                    .arg(outcome.added)
                    .arg(outcome.alreadyThere)
                    .arg(outcome.skipped.size()));
  return kExitDone;
}

}  // namespace cli
