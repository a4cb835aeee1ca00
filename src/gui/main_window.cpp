#include "gui/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include "form/form.h"
#include "app/startup.h"
#include "gui/channel_panel.h"
#include "gui/control_binding.h"
#include "gui/list_binding.h"
#include "gui/media_control_bar.h"
#include "gui/picture_area.h"
#include "gui/station_tools.h"
#include "gui/text_binding.h"
#include "gui/window_keys.h"
#include "playlists/channel_aliases.h"

namespace {

constexpr int kBarShowsMs = 2000;
constexpr int kChannelPanelWidth = 300;  // pixels

QFrame* panel(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  return frame;
}

QPlainTextEdit* addressRecord(QWidget* parent) {
  auto* editor = new QPlainTextEdit(parent);
  editor->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return editor;
}

}  // namespace

template <class Binding, class Widget, class Model>
Binding* MainWindow::bind(Model& model, QWidget* parent) {
  auto* binding = new Binding(model, new Widget(parent), m_scale);
  binding->update();
  if (parent == this) place(binding, false);
  return binding;
}

void MainWindow::attach(Control& model, QWidget* view) {
  view->setParent(this);
  place(new ControlBinding(model, view, m_scale), true);
}

void MainWindow::place(ControlBinding* binding, bool isMediaArea) {
  m_placed << binding;
  binding->setPlacement(&m_layout, isMediaArea);
}

MainWindow::MainWindow(Form& form, const MediaViews& views)
    : m_form(form), m_views(views), m_scale(TwipsScale::forScreen(screen())) {
  QFont font = this->font();
  font.setPointSize(9);
  setFont(font);
  m_layout.setMediaArea(m_scale.toPixels(form.WindowsMediaPlayer1));

  // Created bottom to top: the media area lies under the panel, and the name
  // and address boxes and the button row lie over the panel.
  attach(form.WindowsMediaPlayer1, views.mediaPlayer);
  attach(form.RealAudio1, views.realPlayer);
  attach(form.WebBrowser1, views.browser);

  QFrame* frame = panel(this);
  place(new LabelBinding(form.Frame1, frame, m_scale), false);
  bind<LabelBinding, QLabel>(form.Label1, frame);
  bind<LabelBinding, QLabel>(form.Label3, frame);
  bind<ButtonBinding, QPushButton>(form.Command18, frame);
  bind<ButtonBinding, QPushButton>(form.Command17, frame);
  bind<ButtonBinding, QPushButton>(form.Command16, frame);
  bind<CheckBoxBinding, QCheckBox>(form.Check2, frame);
  bind<CheckBoxBinding, QCheckBox>(form.Check3, frame);
  bind<ComboBoxBinding, QComboBox>(form.Combo1, frame);

  auto* names = bind<ComboBoxBinding, QComboBox>(form.tvm, this);
  const auto channelNames = playlists::ChannelNames::forFolder(form.programDir);
  names->addFilter(&channelNames);
  for (Button* b : {&form.Command2, &form.Command14, &form.Command9, &form.Command4,
                    &form.Command5, &form.Command12, &form.Command10, &form.Command3})
    bind<ButtonBinding, QPushButton>(*b, this);
  auto* addresses = bind<ComboBoxBinding, QComboBox>(form.dz1, this);
  addresses->addFilter(nullptr);
  QPlainTextEdit* record = addressRecord(this);
  place(new TextBoxBinding(form.Text1, record, m_scale), false);
  bind<LabelBinding, QLabel>(form.l, this);
  bind<LabelBinding, QLabel>(form.Label2, this);
  bind<LabelBinding, QLabel>(form.Label4, this);
  bind<ListBoxBinding, QListView>(form.List3, this);

  m_tools = new StationTools(form, this);
  addChannelPanel();
  setAcceptDrops(true);
  for (ComboBoxBinding* box : {names, addresses}) {
    QLineEdit* edit = static_cast<QComboBox*>(box->widget())->lineEdit();
    m_tools->addMenu(edit);
    edit->installEventFilter(this);
  }
  record->viewport()->installEventFilter(this);

  // A click on a button leaves the keyboard where it was, with the shortcuts.
  for (QAbstractButton* b : findChildren<QAbstractButton*>()) b->setFocusPolicy(Qt::TabFocus);

  WindowKeys::Actions actions;
  actions.toggleFullScreen = [this] { setVideoFullScreen(!isVideoFullScreen()); };
  actions.leaveFullScreen = [this] { setVideoFullScreen(false); };
  actions.toggleMute = [this] {
    if (m_views.controlBar) m_views.controlBar->toggleMute();
  };
  actions.changeVolume = [this](int steps) {
    if (m_views.controlBar) m_views.controlBar->changeVolume(steps);
  };
  actions.seekBy = [this](double seconds) {
    if (m_views.controlBar) m_views.controlBar->seekBy(seconds);
  };
  auto* namesBox = static_cast<QComboBox*>(names->widget());
  actions.findStation = [namesBox] {
    namesBox->setFocus(Qt::ShortcutFocusReason);
    namesBox->lineEdit()->selectAll();
  };
  actions.toggleChannels = [this] {
    if (!isVideoFullScreen()) setChannelPanelOpen(!isChannelPanelOpen());
  };
  m_keys = new WindowKeys(this, views.mediaPicture, form, actions);
  connectPicture(views.mediaPicture);
  connectPicture(views.realPicture);
  m_barTimer.setSingleShot(true);
  m_barTimer.setInterval(kBarShowsMs);
  connect(&m_barTimer, &QTimer::timeout, this, [this] {
    if (isVideoFullScreen() && m_views.controlBar) m_views.controlBar->hide();
  });

  connect(&form.form1, &Control::changed, this, &MainWindow::followForm);
  followForm();
}

void MainWindow::addChannelPanel() {
  m_channels = new ChannelPanel(m_form, this);
  m_channels->hide();
  m_channelsButton = new QToolButton(this);
  m_channelsButton->setObjectName(QStringLiteral("channelsButton"));
  m_channelsButton->setText(QStringLiteral("≡"));
  m_channelsButton->setToolTip(QStringLiteral("频道列表：按频道分组的电视台和线路 (F4)"));
  m_channelsButton->setCheckable(true);
  connect(m_channelsButton, &QToolButton::toggled, this, &MainWindow::setChannelPanelOpen);
  // Beside the name box, in the margin left of it (see relayout), and shown
  // with it.
  connect(&m_form.tvm, &Control::changed, m_channelsButton,
          [this] { m_channelsButton->setVisible(m_form.tvm.visible()); });
}

void MainWindow::setChannelPanelOpen(bool open) {
  if (open == isChannelPanelOpen()) return;
  const int wider = open ? kChannelPanelWidth : -kChannelPanelWidth;
  const int width = this->width() + wider;
  m_layout.setSidePane(open ? kChannelPanelWidth : 0);
  m_channelsButton->setChecked(open);
  setMinimumSize(withSidePane(m_layout.designSize()));
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) resize(width, height());
  m_channels->setVisible(open);
  relayout();
  if (open) m_channels->activate();
}

QSize MainWindow::withSidePane(QSize design) const {
  return design + QSize(m_layout.sidePane(), 0);
}

void MainWindow::connectPicture(PictureArea* picture) {
  if (!picture) return;
  connect(picture, &PictureArea::doubleClicked, this,
          [this] { setVideoFullScreen(!isVideoFullScreen()); });
  connect(picture, &PictureArea::wheelTurned, this, [this](int steps) {
    if (m_views.controlBar) m_views.controlBar->changeVolume(steps);
  });
  connect(picture, &PictureArea::mouseMoved, this, &MainWindow::revealControlBar);
}

void MainWindow::followForm() {
  const Control& window = m_form.form1;
  setWindowTitle(window.caption());
  const QSize design(m_scale.toPixels(window.width()), m_scale.toPixels(window.height()));
  if (design != m_layout.designSize()) {
    m_layout.setDesignSize(design);
    setMinimumSize(withSidePane(design));
    // The sizes the procedures set are the sizes the window switches to,
    // unless the user made it fill the screen.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
      resize(withSidePane(design));
    } else {
      m_normalGeometry.setSize(withSidePane(design));
    }
    relayout();
  }
  setVisible(window.visible());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  relayout();
  QWidget::resizeEvent(event);
}

void MainWindow::relayout() {
  m_layout.setActualSize(size());
  for (ControlBinding* binding : m_placed) binding->update();
  if (!m_channels) return;
  m_channels->setGeometry(m_layout.sidePanePlace());
  const QRect names = m_scale.toPixels(m_form.tvm);
  m_channelsButton->setGeometry(
      m_layout.place(QRect(0, names.top(), names.left(), names.height()), false));
  m_channelsButton->setVisible(m_form.tvm.visible());
}

void MainWindow::setVideoFullScreen(bool on) {
  if (on == isVideoFullScreen()) return;
  m_layout.setFullScreen(on);
  m_keys->setFullScreen(on);
  m_channels->setVisible(!on && isChannelPanelOpen());
  if (on) {
    m_wasMaximized = isMaximized();
    m_normalGeometry = normalGeometry();
    if (m_views.controlBar) m_views.controlBar->hide();
    qApp->installEventFilter(this);
    // Without a window manager nobody else makes the window cover the screen.
    setGeometry(screen()->geometry());
    showFullScreen();
  } else {
    qApp->removeEventFilter(this);
    m_barTimer.stop();
    if (m_views.controlBar) m_views.controlBar->show();
    if (m_wasMaximized) {
      showMaximized();
    } else {
      showNormal();
      setGeometry(m_normalGeometry);
    }
  }
  relayout();
}

void MainWindow::revealControlBar() {
  if (!isVideoFullScreen() || !m_views.controlBar) return;
  m_views.controlBar->show();
  m_barTimer.start();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) { takeDrag(event); }

void MainWindow::dropEvent(QDropEvent* event) { takeDrag(event); }

bool MainWindow::takeDrag(QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* drag = static_cast<QDropEvent*>(event);
  const QStringList files = StationTools::localFiles(drag->mimeData());
  if (files.isEmpty()) return false;
  drag->acceptProposedAction();
  // After the drop has ended, so the drag's source is not kept waiting.
  if (type == QEvent::Drop)
    QMetaObject::invokeMethod(m_tools, [this, files] { m_tools->importFiles(files); },
                              Qt::QueuedConnection);
  return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (takeDrag(event)) return true;
  // In full screen any movement of the mouse over the window brings back
  // the control bar.
  if (event->type() == QEvent::MouseMove) revealControlBar();
  return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!m_form.terminated) app::Form_Unload(m_form);
  event->accept();
}
