#include "gui/filter_popup.h"

#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QStringListModel>

#include "base/control_models.h"

namespace {

constexpr int kVisibleRows = 15;

}  // namespace

FilterPopup::FilterPopup(const ListControl& list, const playlists::ChannelNames* names,
                         QComboBox* combo)
    : QObject(combo),
      m_list(list),
      m_combo(combo),
      m_finder(names ? new StationFinder(list, *names, this) : new StationFinder(list, this)),
      m_texts(new QStringListModel(this)),
      m_completer(new QCompleter(m_texts, this)) {
  auto* view = new QListView;
  view->setUniformItemSizes(true);
  view->setObjectName(list.name() + QStringLiteral("Filter"));
  m_completer->setPopup(view);
  m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  m_completer->setMaxVisibleItems(kVisibleRows);
  m_completer->setWidget(combo->lineEdit());
  connect(combo->lineEdit(), &QLineEdit::textEdited, this, &FilterPopup::typed);
  connect(m_completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
          &FilterPopup::activated);
  connect(&list, &ListControl::itemInserted, this, &FilterPopup::listChanged);
  connect(&list, &ListControl::itemRemoved, this, &FilterPopup::listChanged);
  connect(&list, &ListControl::itemsCleared, this, &FilterPopup::listChanged);
}

QAbstractItemView* FilterPopup::view() const { return m_completer->popup(); }

int FilterPopup::screenful() const {
  const QScreen* screen = m_combo->screen();
  const int rowHeight = qMax(1, m_combo->fontMetrics().height());
  return screen ? qMax(kVisibleRows, screen->availableGeometry().height() / rowHeight)
                : kVisibleRows;
}

void FilterPopup::typed(const QString& text) {
  m_rows = m_finder->find(text, screenful());
  QStringList texts;
  texts.reserve(m_rows.size());
  for (int row : m_rows) texts << m_list.item(row);
  m_texts->setStringList(texts);
  if (texts.isEmpty()) {
    m_completer->popup()->hide();
    return;
  }
  // Nothing is chosen until the user moves into the list, so Enter still
  // goes to the box.
  m_completer->complete();
  m_completer->popup()->setCurrentIndex({});
}

void FilterPopup::listChanged() {
  // The rows shown point into the list as it was: choosing one now could
  // pick another entry.
  if (m_rows.isEmpty()) return;
  m_rows.clear();
  m_texts->setStringList({});
  m_completer->popup()->hide();
}

void FilterPopup::activated(const QModelIndex& index) {
  if (index.row() >= 0 && index.row() < m_rows.size()) Q_EMIT chosen(m_rows.at(index.row()));
}
