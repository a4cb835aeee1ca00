#pragma once

#include <QList>
#include <QObject>

#include "library/station_finder.h"

class ListControl;
class QAbstractItemView;
class QComboBox;
class QCompleter;
class QModelIndex;
class QStringListModel;

// The pop-up under a station box that lists the entries matching what the
// user types (see StationFinder), at most a screenful; typing goes on in the
// box while it shows.
class FilterPopup : public QObject {
  Q_OBJECT
 public:
  // names: the channel names of a box of station names; none for addresses.
  FilterPopup(const ListControl& list, const playlists::ChannelNames* names, QComboBox* combo);

  QAbstractItemView* view() const;

 Q_SIGNALS:
  // The user chose the entry at this index of the list.
  void chosen(int index);

 private:
  void typed(const QString& text);
  void activated(const QModelIndex& index);
  void listChanged();
  int screenful() const;

  const ListControl& m_list;
  QComboBox* m_combo;
  StationFinder* m_finder;
  QStringListModel* m_texts;
  QCompleter* m_completer;
  QList<int> m_rows;  // the list index of each row shown
};
