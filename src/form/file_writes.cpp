#include "form/file_writes.h"

#include "form/form.h"
#include "form/unique_line_file.h"

namespace library {

bool FileWrites::check(const QString& path, const textfile::WriteResult& result) {
  if (result) {
    m_told.remove(path);
    return true;
  }
  if (!m_told.contains(path)) {
    m_told.insert(path);
    m_host.messageBox(QStringLiteral("无法写入 %1：%2").arg(path, result.error), kApplicationTitle,
                      MessageIcon::Stop);
  }
  return false;
}

bool FileWrites::appendLines(const QString& path, const QStringList& lines) {
  QStringList all = m_unwritten.value(path) + lines;
  all.removeDuplicates();
  if (all.isEmpty()) return true;
  const bool written = check(path, AppendUniqueLines(path, all));
  if (written) {
    m_unwritten.remove(path);
  } else {
    m_unwritten.insert(path, all);
  }
  return written;
}

void FileWrites::retry() {
  for (const QString& path : m_unwritten.keys()) appendLines(path, {});
}

}  // namespace library
