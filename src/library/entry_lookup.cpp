#include "library/entry_lookup.h"

#include "base/control_models.h"

namespace library {

int findEntry(const ListControl& list, const QString& name) {
  for (int i = 0; i < list.count(); ++i) {
    if (list.item(i).compare(name, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

int shownEntry(const ListControl& list) {
  const int chosen = list.listIndex();
  if (chosen >= 0 && chosen < list.count() && list.item(chosen) == list.text()) return chosen;
  return findEntry(list, list.text());
}

void showEntry(ListControl& list, int index) {
  if (index >= 0 && index < list.count()) {
    list.setListIndex(index);
  } else {
    list.setText(QString());
  }
}

}  // namespace library
