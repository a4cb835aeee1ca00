#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Form;
struct MarkerTexts;

namespace search {

// A ";"-separated marker list: every text before a ";" is an item, and so is
// the text after the last ";". A list without any ";" has no items at all.
class MarkerList {
 public:
  // An end marker counts as outside the address when outsideText (the text
  // of Text7) contains it, in exact case.
  explicit MarkerList(const QString& text, const QString& outsideText = {});

  bool isEmpty() const { return m_empty; }
  int count() const { return static_cast<int>(m_items.size()); }
  // Item i, lower-cased.
  const QString& item(int i) const { return m_items.at(i); }
  bool outside(int i) const { return m_outside.at(i); }
  // The items as typed, empty ones left out.
  QStringList typedItems() const;

 private:
  bool m_empty;
  QStringList m_typed;
  QStringList m_items;
  QList<bool> m_outside;
};

// The marker boxes of the window as one scan reads them.
struct MarkerLists {
  explicit MarkerLists(const Form& f);
  explicit MarkerLists(const MarkerTexts& texts);

  // True when the address (lower-cased) holds an accepted media type.
  bool isMedia(const QString& foldedAddress) const;
  // True when the address (lower-cased) holds a non-empty media type.
  bool hasMediaType(const QString& foldedAddress) const;
  // True when the text (lower-cased) ends with a non-empty media type.
  bool endsWithMediaType(QStringView folded) const;
  // A stream address with a query, such as a token, directly after its media
  // type ("….m3u8?token=…"): a station, not a dynamic address.
  bool isTokenAddress(const QString& foldedAddress) const;
  // Start or end markers are empty: the user is told, and nothing is found.
  bool missing() const { return starts.isEmpty() || ends.isEmpty(); }

  MarkerList starts;        // Text4
  MarkerList ends;          // Text5, with Text7
  QStringList mediaTypes;   // Text3, lower-cased
  QString dynamicMarker;    // Text6, lower-cased
};

}  // namespace search
