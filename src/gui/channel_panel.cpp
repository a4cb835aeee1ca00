#include "gui/channel_panel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "channels/channel_play.h"
#include "form/form.h"
#include "gui/channel_tree_model.h"
#include "gui/logo_cache.h"

namespace {

// Lists change entry by entry while they load: the tree is made again once
// they have been still this long.
constexpr int kSettleMs = 400;
// Logos beside the channels' names, no taller than a row of text.
constexpr int kShownLogoPixels = 20;

}  // namespace

ChannelPanel::ChannelPanel(Form& form, QWidget* parent)
    : QWidget(parent),
      m_form(form),
      m_logos(new LogoCache(form.programDir, this)),
      m_model(new ChannelTreeModel(*m_logos, this)),
      m_search(new QLineEdit(this)),
      m_view(new QTreeView(this)) {
  setObjectName(QStringLiteral("channelPanel"));
  // It covers whatever lies beyond the window's designed width.
  setAutoFillBackground(true);
  m_search->setObjectName(QStringLiteral("channelSearch"));
  m_search->setPlaceholderText(QStringLiteral("频道名、拼音或首字母"));
  m_search->setClearButtonEnabled(true);
  m_search->installEventFilter(this);
  m_view->setObjectName(QStringLiteral("channelTree"));
  m_view->setHeaderHidden(true);
  m_view->setUniformRowHeights(true);
  m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // A double click plays; the arrows and the branch marks open a channel.
  m_view->setExpandsOnDoubleClick(false);
  m_view->setIconSize(QSize(kShownLogoPixels, kShownLogoPixels));
  m_view->setModel(m_model);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(m_search);
  layout->addWidget(m_view);

  connect(m_search, &QLineEdit::textEdited, this, &ChannelPanel::searched);
  connect(m_search, &QLineEdit::returnPressed, this,
          [this] { choose(m_view->currentIndex()); });
  connect(m_view, &QTreeView::activated, this, &ChannelPanel::choose);
  connect(m_logos, &LogoCache::arrived, m_view->viewport(), qOverload<>(&QWidget::update));
  connect(&m_loading, &QFutureWatcherBase::finished, this, &ChannelPanel::loaded);
  m_changed.setSingleShot(true);
  m_changed.setInterval(kSettleMs);
  connect(&m_changed, &QTimer::timeout, this, &ChannelPanel::load);
  for (ListControl* list : {&form.tvm, &form.dz1}) {
    connect(list, &ListControl::itemInserted, this, &ChannelPanel::listsChanged);
    connect(list, &ListControl::itemRemoved, this, &ChannelPanel::listsChanged);
    connect(list, &ListControl::itemsCleared, this, &ChannelPanel::listsChanged);
  }
}

void ChannelPanel::activate() {
  m_search->setFocus(Qt::ShortcutFocusReason);
  m_search->selectAll();
  load();
}

void ChannelPanel::listsChanged() {
  if (isVisible()) m_changed.start();
}

void ChannelPanel::load() {
  m_changed.stop();
  if (m_loading.isRunning()) {
    m_loadAgain = true;
    return;
  }
  m_loading.setFuture(QtConcurrent::run(&channels::loadChannelTree, m_form.programDir,
                                        m_form.tvm.items(), m_form.dz1.items(),
                                        QDateTime::currentDateTimeUtc()));
}

void ChannelPanel::loaded() {
  m_model->setTree(m_loading.result());
  searched(m_search->text());
  if (m_loadAgain) {
    m_loadAgain = false;
    load();
  }
}

void ChannelPanel::searched(const QString& text) {
  m_model->setQuery(text);
  m_view->expandToDepth(0);
  m_view->setCurrentIndex(m_model->firstChannel());
}

void ChannelPanel::choose(const QModelIndex& index) {
  const channels::TreeLine* line = m_model->lineAt(index);
  if (!line) return;
  const playlists::Station station = line->station;
  channels::PlayChannelLine(m_form, line->entry, station);
}

bool ChannelPanel::eventFilter(QObject* watched, QEvent* event) {
  // Down leaves the search box for the channels found.
  if (watched == m_search && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
    m_view->setFocus(Qt::TabFocusReason);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}
