#pragma once

#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>

#include "channels/channel_tree.h"

class ChannelTreeModel;
class Form;
class LogoCache;
class QLineEdit;
class QModelIndex;
class QTreeView;

// The channel panel at the window's side: the stations of the name and
// address lists as groups, channels and lines (see channels::TreeGroup),
// with a search box that finds channels as the name box's filter finds
// stations. Choosing a channel plays its best line, choosing a line plays
// it, both as the name box plays a chosen entry. The tree is made off the
// window's thread, when the panel opens and after the lists change while it
// is open.
class ChannelPanel : public QWidget {
  Q_OBJECT
 public:
  ChannelPanel(Form& form, QWidget* parent);

  // Brings the tree up to date and puts the keyboard into the search box.
  void activate();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void listsChanged();
  void load();
  void loaded();
  void searched(const QString& text);
  void choose(const QModelIndex& index);

  Form& m_form;
  LogoCache* m_logos;
  ChannelTreeModel* m_model;
  QLineEdit* m_search;
  QTreeView* m_view;
  QFutureWatcher<QList<channels::TreeGroup>> m_loading;
  QTimer m_changed;
  bool m_loadAgain = false;  // the lists changed while the tree was being made
};
