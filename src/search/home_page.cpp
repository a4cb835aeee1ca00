#include "search/home_page.h"

namespace search {

namespace {

QStringView withoutSchemeAndSlashes(QStringView address) {
  if (const qsizetype scheme = address.indexOf(u"://"); scheme >= 0)
    address = address.sliced(scheme + 3);
  while (address.endsWith(u'/')) address.chop(1);
  return address;
}

}  // namespace

bool isSearchHomePage(const QString& address) {
  const QStringView bare = withoutSchemeAndSlashes(address);
  return !bare.isEmpty() &&
         bare.compare(withoutSchemeAndSlashes(kSearchHomePage), Qt::CaseInsensitive) == 0;
}

}  // namespace search
