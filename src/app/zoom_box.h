// The zoom box of the tool bar: the zoom presets, "Fit All" and "Best Fit", and a zoom
// typed in whole percent and confirmed with Enter. Only digits, "%", "/", Backspace and
// Enter can be typed; a typed zoom out of range is refused with a message.
#pragma once

#include <QComboBox>

namespace lumacet {

class TZoomBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TZoomBox(QWidget* parent = nullptr);

  // Shows the mapping's zoom (per mille).
  void ShowZoom(int zoom);

 signals:
  // An entry chosen from the list, or a typed zoom confirmed: as the mapping takes it.
  void EntryChosen(const QString& entry);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Confirm();
};

}  // namespace lumacet
