// The Detailed Analysis window: the current analysis's lines as rich text, each paragraph
// in its text style, deviation-coloured where the style says so, columns at the layout's
// tab stops.
#pragma once

#include <QWidget>

#include <functional>

#include "measure/analysis_text.h"

class QLabel;
class QTextEdit;

namespace lumacet {

class TAnalysisWindow : public QWidget {
  Q_OBJECT

 public:
  // The radiograph to describe (null for none), asked at every update.
  using TSource = std::function<TRadiograph*()>;
  TAnalysisWindow(TSource source, TPresentationOptions options, std::array<int, 5> layout, QWidget* parent = nullptr);

  void SetOptions(TPresentationOptions options) { fOptions = std::move(options); }
  // "&Update": writes the text again.
  void Update();
  QString PlainText() const;

 private:
  TSource fSource;
  TPresentationOptions fOptions;
  std::array<int, 5> fLayout;
  QLabel* fCaption = nullptr;
  QTextEdit* fText = nullptr;
};

}  // namespace lumacet
