#include "cli/commands.h"
#include "cli/console.h"
#include "cli/skipped_report.h"
#include "library/found_export.h"

namespace cli {

int runExport(const CommandLine& c, const QString& dir, Console& console) {
  const QString& target = c.files.first();
  const library::FoundExport done = library::exportFoundStations(dir, target);
  reportSkipped(console, done.source, done.skipped);
  switch (done.result) {
    case library::FoundExport::Result::ProgramFile:
      console.error(QStringLiteral("%1 是程序自己的文件，不能用作导出目标 / %1 is one of the "
                                   "program's own files and cannot be an export target")
                        .arg(target));
      return kExitBadInput;
    case library::FoundExport::Result::CannotRead:
      console.error(QStringLiteral("无法读取 %1 / cannot read %1").arg(done.source));
      return kExitBadInput;
    case library::FoundExport::Result::CannotWrite:
      console.error(cannotWrite(target, done.error));
      return kExitBadInput;
    case library::FoundExport::Result::Written:
      break;
  }
  console.print(QStringLiteral("导出 %1 个电台到 %2，跳过 %3 项 / exported %1 stations to %2, "
                               "%3 entries skipped")
                    .arg(done.stations)
                    .arg(target)
                    .arg(done.skipped.size()));
  return kExitDone;
}

}  // namespace cli
