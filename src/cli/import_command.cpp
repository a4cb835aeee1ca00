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
  // Stored stations that got their headers are told only when there are any.
  QString headers, headersEnglish;
  if (outcome.headersAdded > 0) {
    headers = QStringLiteral("，%1 个已有电台补上请求头").arg(outcome.headersAdded);
    headersEnglish = QStringLiteral(", %1 stored stations given their headers").arg(outcome.headersAdded);
  }
  console.print(QStringLiteral("导入 %1 个电台，重复 %2 个%3，跳过 %4 项 / imported %1 stations, "
                               "%2 duplicates%5, %4 entries skipped")
                    .arg(QString::number(outcome.added), QString::number(outcome.alreadyThere),
                         headers, QString::number(outcome.skipped.size()), headersEnglish));
  return kExitDone;
}

}  // namespace cli
