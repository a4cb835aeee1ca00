#include "library/address_rewrite.h"

#include <QFile>

#include "base/file_lock.h"
#include "base/text_file.h"
#include "playlists/station_address.h"

namespace library {

namespace {

// An address stands whole between a line, field or attribute start and its
// header suffix, a field or attribute end or a line end: not inside a longer
// address that carries it.
bool standsWhole(const QByteArray& bytes, qsizetype at, qsizetype size) {
  const qsizetype end = at + size;
  return (at == 0 || QByteArrayView(",\r\n\"' \t>").contains(bytes.at(at - 1))) &&
         (end >= bytes.size() || QByteArrayView("|,\r\n\"' \t<").contains(bytes.at(end)));
}

}  // namespace

Rewrite replaceAddress(const QString& path, const QString& from, const QString& to) {
  const textfile::FileLock lock(path);
  if (!lock) return {0, lock.error()};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {0, file.errorString()};
  QByteArray bytes = file.readAll();
  file.close();
  const textfile::Encoding encoding = textfile::detectEncoding(bytes);
  const QByteArray old = textfile::encodeAs(playlists::bareAddress(from), encoding);
  const QByteArray fresh = textfile::encodeAs(playlists::bareAddress(to), encoding);
  Rewrite result;
  if (old.isEmpty() || old == fresh) return result;
  for (qsizetype at = bytes.indexOf(old); at >= 0; at = bytes.indexOf(old, at)) {
    if (!standsWhole(bytes, at, old.size())) {
      at += old.size();
      continue;
    }
    bytes.replace(at, old.size(), fresh);
    at += fresh.size();
    ++result.replaced;
  }
  if (result.replaced > 0) result.error = textfile::writeBytes(path, bytes).error;
  return result;
}

}  // namespace library
