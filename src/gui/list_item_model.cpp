#include "gui/list_item_model.h"

#include "base/control_models.h"

ListItemModel::ListItemModel(const ListControl& list, QObject* parent)
    : QAbstractListModel(parent), m_list(list) {
  // The list has already changed when it tells; the views only need the
  // rows' positions.
  connect(&list, &ListControl::itemInserted, this, [this](int row) {
    beginInsertRows({}, row, row);
    endInsertRows();
  });
  connect(&list, &ListControl::itemRemoved, this, [this](int row) {
    beginRemoveRows({}, row, row);
    endRemoveRows();
  });
  connect(&list, &ListControl::itemsCleared, this, [this] {
    beginResetModel();
    endResetModel();
  });
}

int ListItemModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_list.count();
}

QVariant ListItemModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  return m_list.item(index.row());
}
