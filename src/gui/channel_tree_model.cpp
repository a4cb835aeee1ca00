#include "gui/channel_tree_model.h"

#include <algorithm>

#include "channels/channel_titles.h"
#include "gui/logo_cache.h"

namespace {

// An index's internal id tells what it stands for: 0 a group; a channel the
// row of its group plus one; a line kLineIds plus the number of its channel
// among all channels shown.
constexpr quintptr kLineIds = quintptr(1) << 30;

}  // namespace

ChannelTreeModel::ChannelTreeModel(LogoCache& logos, QObject* parent)
    : QAbstractItemModel(parent), m_logos(logos) {}

void ChannelTreeModel::setTree(QList<channels::TreeGroup> tree) {
  beginResetModel();
  m_tree = std::move(tree);
  find();
  endResetModel();
}

void ChannelTreeModel::setQuery(const QString& typed) {
  beginResetModel();
  m_typed = typed;
  find();
  endResetModel();
}

void ChannelTreeModel::find() {
  m_found = channels::findChannels(m_tree, playlists::NameQuery(m_typed));
  m_firstSerial.clear();
  int serial = 0;
  for (const channels::FoundGroup& g : m_found) {
    m_firstSerial << serial;
    serial += static_cast<int>(g.channels.size());
  }
}

const channels::TreeChannel& ChannelTreeModel::channelAt(Place place) const {
  const channels::FoundGroup& g = m_found[place.groupRow];
  return m_tree[g.group].channels[g.channels[place.row]];
}

std::optional<ChannelTreeModel::Place> ChannelTreeModel::channelPlace(
    const QModelIndex& index) const {
  const quintptr id = index.internalId();
  if (!index.isValid() || id == 0 || id >= kLineIds) return std::nullopt;
  return Place{static_cast<int>(id - 1), index.row()};
}

const channels::TreeLine* ChannelTreeModel::lineAt(const QModelIndex& index) const {
  if (const auto place = channelPlace(index)) return &channelAt(*place).lines.first();
  const QModelIndex channel = parent(index);
  if (const auto place = channelPlace(channel)) return &channelAt(*place).lines[index.row()];
  return nullptr;
}

QModelIndex ChannelTreeModel::firstChannel() const {
  return m_found.isEmpty() ? QModelIndex() : index(0, 0, index(0, 0));
}

QModelIndex ChannelTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (!hasIndex(row, column, parent)) return {};
  if (!parent.isValid()) return createIndex(row, column, quintptr(0));
  if (parent.internalId() == 0) return createIndex(row, column, quintptr(parent.row()) + 1);
  const auto place = channelPlace(parent);
  return createIndex(row, column, kLineIds + quintptr(m_firstSerial[place->groupRow] + place->row));
}

QModelIndex ChannelTreeModel::parent(const QModelIndex& child) const {
  const quintptr id = child.internalId();
  if (!child.isValid() || id == 0) return {};
  if (id < kLineIds) return createIndex(static_cast<int>(id - 1), 0, quintptr(0));
  const int serial = static_cast<int>(id - kLineIds);
  const int groupRow =
      static_cast<int>(std::upper_bound(m_firstSerial.begin(), m_firstSerial.end(), serial) -
                       m_firstSerial.begin()) - 1;
  return createIndex(serial - m_firstSerial[groupRow], 0, quintptr(groupRow) + 1);
}

int ChannelTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  if (!parent.isValid()) return static_cast<int>(m_found.size());
  if (parent.internalId() == 0) return static_cast<int>(m_found[parent.row()].channels.size());
  if (const auto place = channelPlace(parent))
    return static_cast<int>(channelAt(*place).lines.size());
  return 0;
}

int ChannelTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant ChannelTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (index.internalId() == 0) {
    const channels::TreeGroup& group = m_tree[m_found[index.row()].group];
    return role == Qt::DisplayRole ? QVariant(channels::groupTitle(group)) : QVariant();
  }
  if (const auto place = channelPlace(index)) {
    const channels::TreeChannel& channel = channelAt(*place);
    if (role == Qt::DisplayRole) return channels::channelTitle(channel);
    if (role == Qt::DecorationRole && !channel.logo.isEmpty()) return m_logos.icon(channel.logo);
    return {};
  }
  if (role == Qt::DisplayRole) return channels::lineTitle(*lineAt(index), index.row() + 1);
  return {};
}
