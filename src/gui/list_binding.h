#pragma once

#include "gui/control_binding.h"

class ListControl;
class ListItemModel;
class QComboBox;
class QListView;
namespace playlists {
class ChannelNames;
}

// A combo box: items, selected index and text follow the model; typing sets
// the model's text, choosing an entry sets its index and clicks it, and
// Enter goes to the model alone (the widget inserts nothing).
class ComboBoxBinding : public ControlBinding {
  Q_OBJECT
 public:
  ComboBoxBinding(ListControl& model, QComboBox* combo, const TwipsScale& scale);
  void update() override;
  // Typing shows the entries that match the typed text; choosing one there
  // is choosing it in the box. names: the channel names of a box of station
  // names; none for addresses.
  void addFilter(const playlists::ChannelNames* names);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void syncSelection();
  void typed(const QString& text);
  void chosen(int index);

  ListControl& m_list;
  QComboBox* m_combo;
  bool m_syncing = false;
  bool m_typing = false;
};

// A list box: items and selected index follow the model; a click on an
// entry sets the model's index and clicks it.
class ListBoxBinding : public ControlBinding {
  Q_OBJECT
 public:
  ListBoxBinding(ListControl& model, QListView* view, const TwipsScale& scale);
  void update() override;

 private:
  ListControl& m_list;
  QListView* m_view;
  ListItemModel* m_items;
};
