#include "gui/gui_host.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <cstdio>

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return QMessageBox::Critical;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void GuiHost::messageBox(const QString& text, const QString& title, MessageIcon icon) {
  if (m_unattended) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    return;
  }
  QMessageBox box(qtIcon(icon), title, text, QMessageBox::Ok, m_mainWindow);
  // Messages name stations, files and what the engines said.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

QString GuiHost::showOpenDialog() { return QFileDialog::getOpenFileName(m_mainWindow); }

QWidget* GuiHost::activePopup() {
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QString GuiHost::activePopupTitle() {
  const QWidget* popup = activePopup();
  return popup ? popup->windowTitle() : QString();
}

void GuiHost::closeActivePopup() {
  if (QWidget* popup = activePopup()) popup->close();
}
