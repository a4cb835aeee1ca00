#pragma once

#include <QSet>
#include <QString>

class ListControl;

namespace search {

// Answers "does the list hold this address in any letter case" in constant
// time, judged on the bare addresses: request headers do not make a stream
// another one. Items added at the end are indexed when next asked, so loading a
// long list pays nothing here; other changes rebuild the index then.
class FoldedIndex {
 public:
  explicit FoldedIndex(ListControl& list);
  FoldedIndex(const FoldedIndex&) = delete;
  FoldedIndex& operator=(const FoldedIndex&) = delete;

  bool contains(const QString& address) const;

 private:
  void reset() const;

  ListControl& m_list;
  mutable QSet<QString> m_folded;
  mutable int m_indexed = 0;  // the leading items in m_folded
};

}  // namespace search
