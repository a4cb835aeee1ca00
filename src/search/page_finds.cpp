#include "search/page_finds.h"

#include "search/address_finder.h"
#include "search/folded_text.h"

namespace search {

namespace {

class Finds {
 public:
  explicit Finds(const MarkerLists& markers) : m_markers(markers) {}

  void add(QString address) {
    // Page source holds addresses HTML-escaped.
    address.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    address = address.trimmed();
    if (!address.isEmpty() && !m_found.contains(address)) m_found << address;
  }
  void addLink(const QString& href) {
    FoldedText text(href, closeTagSlot(m_markers) + 1);
    const QString inner = findAddress(text, m_markers, 0, text.size());
    add(inner.isEmpty() ? href : inner);
  }
  // Each address of the text in turn, the next looked for after the last.
  void addAllIn(const QString& inner) {
    FoldedText text(inner, closeTagSlot(m_markers) + 1);
    for (qsizetype from = 0;;) {
      const QString address = findAddress(text, m_markers, from, text.size());
      const qsizetype at = address.isEmpty() ? -1 : text.findExact(address, from, text.size());
      if (at < 0) return;
      add(address);
      from = at + address.size();
    }
  }
  const QStringList& found() const { return m_found; }

 private:
  const MarkerLists& m_markers;
  QStringList m_found;
};

}  // namespace

QStringList pageAddresses(const MarkerLists& markers, const Document& page,
                          const QStringList& requests) {
  Finds finds(markers);
  for (const Document::Link& link : page.links) finds.addLink(link.href);
  for (const QString& inner : page.elements) finds.addAllIn(inner);
  for (const QString& request : requests) finds.add(request);
  return finds.found();
}

}  // namespace search
