// The Detailed Analysis window: the current analysis's lines as rich text under the column
// headers "Measurement", "Graph", "Value", "Mean" and "St. Dev.", each paragraph in its
// text style, deviation-coloured where the style says so, columns at the headers' right
// edges. The graph and normal columns hide; the layout is kept in the settings on request.
#pragma once

#include <QWidget>

#include <array>
#include <functional>

#include "measure/analysis_text.h"
#include "measure/results_file.h"
#include "shell/analysis_layout.h"
#include "support/atomic_file.h"

class QCheckBox;
class QHeaderView;
class QLabel;
class QTextEdit;

namespace lumacet {

class TAnalysisWindow : public QWidget {
  Q_OBJECT

 public:
  // The radiograph to describe (null for none), asked at every update.
  using TSource = std::function<TRadiograph*()>;
  TAnalysisWindow(TSource source, TPresentationOptions options, TAnalysisLayout layout, QWidget* parent = nullptr);

  void SetOptions(TPresentationOptions options) { fOptions = std::move(options); }
  // Column widths, shown columns and wrapping as the settings now have them; the text follows.
  void SetLayout(const TAnalysisLayout& layout);
  // "&Update": writes the text again.
  void Update();
  QString PlainText() const;
  QString Caption() const;
  // The layout as it stands.
  TAnalysisLayout Layout() const;
  // "&Save..." without the dialog: plain text for ".txt" (and any other name), HTML for
  // ".html"/".htm", an OpenDocument text for ".odt"; written whole or not at all.
  TWriteResult SaveTo(const QString& path) const;

  QHeaderView* Header() const { return fHeader; }
  QCheckBox* NormalsBox() const { return fNormals; }
  QCheckBox* GraphBox() const { return fGraph; }
  QCheckBox* WrapBox() const { return fWrap; }

 signals:
  // "&Save Layout" was pressed.
  void LayoutSaved(const lumacet::TAnalysisLayout& layout);

 private:
  void ShowColumns();
  void Save();
  void ColumnResized(int column, int width);

  TSource fSource;
  TPresentationOptions fOptions;
  std::array<int, 5> fWidths;
  bool fShowingColumns = false;
  QLabel* fCaption = nullptr;
  QHeaderView* fHeader = nullptr;
  QTextEdit* fText = nullptr;
  QCheckBox* fNormals = nullptr;
  QCheckBox* fGraph = nullptr;
  QCheckBox* fWrap = nullptr;
};

}  // namespace lumacet
