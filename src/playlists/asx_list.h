#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// ASX lists as found in the wild: tags in any case, bare ampersands, missing
// end tags. Read by a tag walker rather than an XML parser, so a list that
// is not well-formed XML still gives its entries.
namespace asx {

struct Entry {
  int line = 1;        // where the entry starts, from 1
  QString title;
  QStringList refs;    // the media addresses, the first first; later ones are fall-backs
  bool listRef = false;  // an <entryref>: refs names another list
};

QList<Entry> read(const QString& text);

// Resolves the XML character references and the five named entities;
// anything else is left as written.
QString decodeEntities(const QString& text);

}  // namespace asx
