// The icon column: one row per workspace slot with the object's picture, its caption, a
// sample of the pen its tracing is drawn with, the "in view" box and the reference and
// morph source markers. Rows are dragged onto other rows to move objects between slots,
// and files dropped from a file manager are handed on to be opened.
#pragma once

#include <QListWidget>

#include "shell/settings.h"
#include "shell/workspace.h"

class QMimeData;

namespace lumacet {

// The drag format of a row: its slot number as text.
inline constexpr const char* kSlotMimeType = "application/x-lumacet-slot";

// The local files of a drag from a file manager; remote addresses are left out.
QStringList DroppedLocalFiles(const QMimeData* data);

class TSlotList : public QListWidget {
  Q_OBJECT

 public:
  explicit TSlotList(QWidget* parent = nullptr);

  // Shows the slots as they stand; the list keeps the workspace to judge drops.
  void Show(const TWorkspace& workspace, const TSettings& settings);
  // The row's picture: the object's own (or a stock one), its pen sample, its markers.
  static QPixmap RowPicture(const TWorkspace& workspace, const TSettings& settings, int slot);

 signals:
  // A row was dropped on another row where the workspace allows it.
  void MoveRequested(int from, int target);
  // Local files were dropped on the list; `row` is the row under them or -1.
  void FilesDropped(const QStringList& paths, int row);

 protected:
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
  Qt::DropActions supportedDropActions() const override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // What dropping `data` on `row` would do: a slot move, files, or nothing.
  bool Accepts(const QMimeData* data, int row) const;

  const TWorkspace* fWorkspace = nullptr;
};

}  // namespace lumacet
