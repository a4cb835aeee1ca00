#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class ListControl;

// Finds the entries of a list whose text contains a typed text, for the
// window's filter: case-blind, full-width and half-width forms alike, the
// entries that start with the text first, each group in list order. Follows
// the list's edits, so a keystroke never folds the whole list again.
class StationFinder : public QObject {
  Q_OBJECT
 public:
  explicit StationFinder(const ListControl& list, QObject* parent = nullptr);

  // At most limit indexes of the list.
  QList<int> find(const QString& text, int limit) const;

  // The form in which texts are compared.
  static QString folded(const QString& text);

 private:
  const ListControl& m_list;
  QStringList m_keys;
};
