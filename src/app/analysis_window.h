// The Detailed Analysis window: the current analysis's lines as rich text under the column
// headers "Measurement", "Graph", "Value", "Mean" and "St. Dev.", each paragraph in its
// text style, deviation-coloured where the style says so, columns at the headers' right
// edges. The graph and normal columns hide; the layout is kept in the settings on request.
#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "measure/analysis_text.h"
#include "shell/settings.h"
#include "support/atomic_file.h"

class QCheckBox;
class QHeaderView;
class QLabel;
class QTextEdit;

namespace lumacet {

inline constexpr std::string_view kResultsFileError = "File error. File may be in use.";

// What "Save Layout" keeps: the column widths in pixels (a hidden column keeps the width it
// comes back with), the text options as the settings' "Text Format" (1 normal values, 2
// graph) and word wrap.
struct TAnalysisLayout {
  std::array<int, 5> Widths = TRadiographSettings{}.TextLayout;
  int Format = TRadiographSettings{}.TextFormat;
  bool WordWrap = false;
  friend bool operator==(const TAnalysisLayout&, const TAnalysisLayout&) = default;
};
TAnalysisLayout AnalysisLayout(const TRadiographSettings& settings);
void StoreAnalysisLayout(const TAnalysisLayout& layout, TRadiographSettings& settings);

// "Save Results...": the results text (the delimiter after every value) written whole to
// the file in the files' character set, or the file left as it was.
TWriteResult WriteResults(const std::string& path, TRadiograph& radiograph, const TPresentationOptions& options);

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
