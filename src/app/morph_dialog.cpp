#include "app/morph_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace lumacet {

TMorphingDlg::TMorphingDlg(const QString& details, std::function<TResult(const TMorphProgress&)> run,
                           QWidget* parent)
    : QDialog(parent), fRun(std::move(run)) {
  setWindowTitle(tr("Morphing"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(tr("Morphing..."));
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  layout->addWidget(title);
  layout->addWidget(new QLabel(tr("Please Wait.")));
  auto* detailLine = new QLabel(details);
  detailLine->setObjectName(QStringLiteral("morphDetails"));
  layout->addWidget(detailLine);
  auto* cancel = new QPushButton(tr("Cancel"));
  connect(cancel, &QPushButton::clicked, this, &TMorphingDlg::reject);
  layout->addWidget(cancel, 0, Qt::AlignHCenter);
}

void TMorphingDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (fStarted) return;
  fStarted = true;
  // Once the window is on the screen: its Cancel button must be there to be pressed.
  QTimer::singleShot(0, this, &TMorphingDlg::Run);
}

void TMorphingDlg::Run() {
  auto* window = qobject_cast<QMainWindow*>(parentWidget() != nullptr ? parentWidget()->window() : nullptr);
  std::unique_ptr<QProgressBar> bar;
  if (window != nullptr) {
    bar = std::make_unique<QProgressBar>();
    bar->setObjectName(QStringLiteral("morphProgress"));
    window->statusBar()->addWidget(bar.get(), 1);
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  fRunning = true;
  fOutcome = fRun([this, &bar](int done, int total) {
    if (bar != nullptr) {
      bar->setMaximum(total);
      bar->setValue(done);
    }
    // Cancel is pressed, and the windows repainted, between rows.
    QCoreApplication::processEvents();
    return !fCancelled;
  });
  fRunning = false;
  QApplication::restoreOverrideCursor();
  accept();
}

void TMorphingDlg::reject() {
  if (fRunning) {
    fCancelled = true;
    return;
  }
  QDialog::reject();
}

void TMorphingDlg::closeEvent(QCloseEvent* event) {
  if (fRunning) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace lumacet
