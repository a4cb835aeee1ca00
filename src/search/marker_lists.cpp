#include "search/marker_lists.h"

#include "form/form.h"
#include "form/marker_texts.h"
#include "search/folded_text.h"

namespace search {

MarkerList::MarkerList(const QString& text, const QString& outsideText)
    : m_empty(text.isEmpty()) {
  if (!text.contains(u';')) return;
  m_typed = text.split(u';');
  for (const QString& typed : m_typed) {
    m_items << foldCase(typed);
    m_outside << (!typed.isEmpty() && outsideText.contains(typed));
  }
}

QStringList MarkerList::typedItems() const {
  QStringList items;
  for (const QString& typed : m_typed)
    if (!typed.isEmpty()) items << typed;
  return items;
}

namespace {

// Every text before a "-" is a type; the text after the last "-" is not.
// A list without "-" holds one empty type.
QStringList mediaTypesOf(const QString& text) {
  QStringList types = foldCase(text).split(u'-');
  types.removeLast();
  if (types.isEmpty()) types << QString();
  return types;
}

}  // namespace

MarkerLists::MarkerLists(const Form& f)
    : MarkerLists(MarkerTexts{f.Text3.text(), f.Text4.text(), f.Text5.text(), f.Text6.text(),
                              f.Text7.text()}) {}

MarkerLists::MarkerLists(const MarkerTexts& texts)
    : starts(texts.starts),
      ends(texts.ends, texts.outside),
      mediaTypes(mediaTypesOf(texts.mediaTypes)),
      dynamicMarker(foldCase(texts.dynamic)) {}

// An empty type matches every address.
bool MarkerLists::isMedia(const QString& foldedAddress) const {
  return mediaTypes.contains(QString()) || hasMediaType(foldedAddress);
}

bool MarkerLists::hasMediaType(const QString& foldedAddress) const {
  for (const QString& type : mediaTypes)
    if (!type.isEmpty() && indexOfMarker(foldedAddress, type) >= 0) return true;
  return false;
}

bool MarkerLists::endsWithMediaType(QStringView folded) const {
  for (const QString& type : mediaTypes)
    if (!type.isEmpty() && folded.endsWith(type)) return true;
  return false;
}

bool MarkerLists::isTokenAddress(const QString& foldedAddress) const {
  const qsizetype query = foldedAddress.indexOf(u'?');
  return query > 0 && endsWithMediaType(QStringView(foldedAddress).first(query));
}

}  // namespace search
