#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "base/text_file.h"

class Host;

namespace library {

// The program's writes of its own files, so that none fails in silence: the
// user is told of a failed write once per file (again only after a write to
// it has succeeded), and station lines an append could not store go with the
// next append to the same file.
class FileWrites {
 public:
  explicit FileWrites(Host& host) : m_host(host) {}

  // Passes a write's outcome on, telling the user of a failure.
  bool check(const QString& path, const textfile::WriteResult& result);
  // Appends the lines kept from failed appends to the file and these lines,
  // each unless the file holds it already.
  bool appendLines(const QString& path, const QStringList& lines);
  // Tries the kept lines once more.
  void retry();

 private:
  Host& m_host;
  QHash<QString, QStringList> m_unwritten;
  QSet<QString> m_told;
};

}  // namespace library
