// The modal "Morphing" window: it runs the morph once it is shown, the main window's progress
// bar following it, and its Cancel stops the morph at the next row it checks.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

#include "simulation/morph.h"
#include "support/result.h"

class QProgressBar;

namespace lumacet {

class TMorphingDlg : public QDialog {
  Q_OBJECT

 public:
  // `details` names the warping function and quality; `run` does the morph, asking `progress`
  // as it goes.
  TMorphingDlg(const QString& details, std::function<TResult(const TMorphProgress& progress)> run,
               QWidget* parent = nullptr);

  // What the run came to; success until it ran.
  const TResult& Outcome() const { return fOutcome; }
  bool Cancelled() const { return fCancelled; }
  // Escape and Cancel ask the running morph to stop; the window closes when it has.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  // The frame's close button does nothing while the morph runs.
  void closeEvent(QCloseEvent* event) override;

 private:
  void Run();

  std::function<TResult(const TMorphProgress&)> fRun;
  TResult fOutcome;
  bool fStarted = false;
  bool fRunning = false;
  bool fCancelled = false;
};

}  // namespace lumacet
