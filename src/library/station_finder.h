#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class ListControl;

// Finds the entries of a list whose text contains a typed text, for the
// window's filter: case-blind, full-width and half-width forms alike, the
// entries that start with the text first, each group in list order. Follows
// the list's edits; entries appended since the last search are folded by the
// next one, so a long load pays nothing and no entry is folded twice.
class StationFinder : public QObject {
  Q_OBJECT
 public:
  explicit StationFinder(const ListControl& list, QObject* parent = nullptr);

  // At most limit indexes of the list.
  QList<int> find(const QString& text, int limit);

  // The form in which texts are compared.
  static QString folded(const QString& text);

 private:
  void foldAppended();

  const ListControl& m_list;
  QStringList m_keys;  // of the first entries of the list
};
