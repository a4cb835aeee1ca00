#include "engines/renderer_memory.h"

#include <QFile>
#include <QList>
#include <unistd.h>

namespace webengine {

qint64 residentBytes(qint64 pid) {
  QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
  if (!statm.open(QIODevice::ReadOnly)) return -1;
  // "size resident shared ...", in pages.
  const QList<QByteArray> fields = statm.readLine(256).split(' ');
  bool ok = false;
  const qint64 pages = fields.size() > 1 ? fields.at(1).toLongLong(&ok) : 0;
  return ok ? pages * sysconf(_SC_PAGESIZE) : -1;
}

}  // namespace webengine
