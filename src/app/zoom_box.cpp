#include "app/zoom_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>

#include "app/qt_prompts.h"
#include "graphics/display.h"

namespace lumacet {

TZoomBox::TZoomBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& entry : ZoomBoxEntries()) addItem(QString::fromStdString(entry));
  setMinimumContentsLength(8);
  lineEdit()->installEventFilter(this);
  connect(this, &QComboBox::activated, this, [this](int index) { emit EntryChosen(itemText(index)); });
  ShowZoom(kNominalZoom);
}

void TZoomBox::ShowZoom(int zoom) { setEditText(QString::fromStdString(ZoomText(zoom))); }

bool TZoomBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched != lineEdit() || event->type() != QEvent::KeyPress) return QComboBox::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    Confirm();
    return true;
  }
  // Keys that type nothing (arrows, Home, ...) keep their editing use.
  const QString text = key->text();
  if (text.isEmpty() || key->key() == Qt::Key_Backspace) return false;
  if (text.size() == 1 && text.at(0).unicode() < 0x80 && ZoomBoxAcceptsKey(static_cast<char>(text.at(0).unicode())))
    return false;
  QApplication::beep();
  return true;
}

void TZoomBox::Confirm() {
  const QString text = currentText();
  if (TypedZoom(text.toStdString())) {
    emit EntryChosen(text);
    return;
  }
  QMessageBox::critical(this, QStringLiteral("Lumacet"), DisplayText(kInvalidZoomMessage));
  lineEdit()->setFocus();
  lineEdit()->selectAll();
}

}  // namespace lumacet
