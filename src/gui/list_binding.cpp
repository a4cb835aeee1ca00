#include "gui/list_binding.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>

#include "base/control_models.h"
#include "gui/filter_popup.h"
#include "gui/list_item_model.h"

namespace {

constexpr int kVbEnter = 13;

// Long lists: every row has the same height, so views never measure them all.
QListView* uniform(QListView* view) {
  view->setUniformItemSizes(true);
  view->setLayoutMode(QListView::Batched);
  return view;
}

}  // namespace

ComboBoxBinding::ComboBoxBinding(ListControl& model, QComboBox* combo, const TwipsScale& scale)
    : ControlBinding(model, combo, scale), m_list(model), m_combo(combo) {
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo->setView(uniform(new QListView(combo)));
  combo->setModel(new ListItemModel(model, combo));
  connect(combo->lineEdit(), &QLineEdit::textEdited, this, &ComboBoxBinding::typed);
  connect(combo, &QComboBox::activated, this, &ComboBoxBinding::chosen);
  // Qt selects the first row of an empty combo box by itself.
  connect(combo->model(), &QAbstractItemModel::rowsInserted, this, &ComboBoxBinding::syncSelection);
  update();
}

void ComboBoxBinding::addFilter(const playlists::ChannelNames* names) {
  connect(new FilterPopup(m_list, names, m_combo), &FilterPopup::chosen, this, &ComboBoxBinding::chosen);
}

void ComboBoxBinding::update() {
  // What the user is typing stays as typed, with the cursor where it is.
  if (!m_typing) syncSelection();
  ControlBinding::update();
}

void ComboBoxBinding::syncSelection() {
  m_syncing = true;
  if (m_combo->currentIndex() != m_list.listIndex()) m_combo->setCurrentIndex(m_list.listIndex());
  if (m_combo->currentText() != m_list.text()) m_combo->setEditText(m_list.text());
  m_syncing = false;
}

void ComboBoxBinding::typed(const QString& text) {
  m_typing = true;
  m_list.setText(text);
  m_typing = false;
}

void ComboBoxBinding::chosen(int index) {
  if (m_syncing) return;
  m_list.setListIndex(index);
  m_list.click();
}

bool ComboBoxBinding::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      m_list.keyDown(kVbEnter);
      return true;
    }
  }
  return ControlBinding::eventFilter(watched, event);
}

ListBoxBinding::ListBoxBinding(ListControl& model, QListView* view, const TwipsScale& scale)
    : ControlBinding(model, view, scale),
      m_list(model),
      m_view(view),
      m_items(new ListItemModel(model, view)) {
  uniform(view);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setModel(m_items);
  connect(view, &QListView::clicked, this, [this](const QModelIndex& index) {
    m_list.setListIndex(index.row());
    m_list.click();
  });
  update();
}

void ListBoxBinding::update() {
  const QModelIndex current = m_items->index(m_list.listIndex());
  if (m_view->currentIndex() != current) m_view->setCurrentIndex(current);
  ControlBinding::update();
}
