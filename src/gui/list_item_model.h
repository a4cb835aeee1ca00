#pragma once

#include <QAbstractListModel>

class ListControl;

// The items of a combo box or list box model as a Qt item model, so that the
// views read them in place instead of copying a long list item by item.
class ListItemModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit ListItemModel(const ListControl& list, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  const ListControl& m_list;
};
