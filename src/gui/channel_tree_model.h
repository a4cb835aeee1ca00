#pragma once

#include <QAbstractItemModel>
#include <optional>

#include "channels/channel_tree.h"

class LogoCache;

// The channel tree as the panel shows it: groups, their channels with logo
// and number of lines, and each channel's lines with their last verdict;
// only what the query finds. Made for long lists: nothing is made per row.
class ChannelTreeModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  ChannelTreeModel(LogoCache& logos, QObject* parent = nullptr);

  void setTree(QList<channels::TreeGroup> tree);
  void setQuery(const QString& typed);
  const QList<channels::TreeGroup>& tree() const { return m_tree; }

  // The line an index stands for: a channel's best line, or the line
  // itself; none for a group.
  const channels::TreeLine* lineAt(const QModelIndex& index) const;
  // The first channel shown, or an invalid index.
  QModelIndex firstChannel() const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  // Where a shown channel stands: its row among the groups shown and its
  // row in that group.
  struct Place {
    int groupRow;
    int row;
  };
  void find();
  const channels::TreeChannel& channelAt(Place place) const;
  std::optional<Place> channelPlace(const QModelIndex& index) const;

  LogoCache& m_logos;
  QList<channels::TreeGroup> m_tree;
  QString m_typed;
  QList<channels::FoundGroup> m_found;
  QList<int> m_firstSerial;  // of each group shown, counting the channels shown before it
};
