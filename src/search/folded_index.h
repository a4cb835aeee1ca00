#pragma once

#include <QHash>
#include <QString>

class ListControl;

namespace search {

// Answers "does the list hold this text in any letter case" in constant
// time; follows the list's changes.
class FoldedIndex {
 public:
  explicit FoldedIndex(ListControl& list);
  FoldedIndex(const FoldedIndex&) = delete;
  FoldedIndex& operator=(const FoldedIndex&) = delete;

  bool contains(const QString& text) const;

 private:
  void rebuild() const;

  ListControl& m_list;
  mutable QHash<QString, int> m_counts;
  mutable bool m_valid = false;
};

}  // namespace search
