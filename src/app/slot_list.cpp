#include "app/slot_list.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include "app/radiograph_dialogs.h"
#include "platform/qpainter_canvas.h"

namespace lumacet {

namespace {

constexpr int kPictureSize = 32;
constexpr int kSampleWidth = 28;

// Line styles 0..5 of the position pens.
constexpr Qt::PenStyle kLineStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                        Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};

// The stock pictures: a film with a profile for a radiograph, a sheet of landmarks for a type.
void DrawStockPicture(QPainter& painter, bool type) {
  const QRect box(3, 3, kPictureSize - 6, kPictureSize - 6);
  painter.setPen(QPen(Qt::black, 1));
  if (type) {
    painter.setBrush(QColor(255, 255, 230));
    painter.drawRect(box);
    painter.setBrush(Qt::darkBlue);
    for (QPoint point : {QPoint(10, 10), QPoint(21, 12), QPoint(14, 20), QPoint(22, 23)})
      painter.drawEllipse(point, 2, 2);
    painter.drawLine(QPoint(10, 10), QPoint(14, 20));
  } else {
    painter.setBrush(QColor(40, 40, 48));
    painter.drawRect(box);
    painter.setPen(QPen(QColor(230, 230, 230), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRect(8, 6, 16, 20), 40 * 16, 260 * 16);
  }
}

void DrawBadge(QPainter& painter, const QRect& box, const QColor& colour, const QString& letter) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawEllipse(box);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPixelSize(box.height() - 2);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(box, Qt::AlignCenter, letter);
}

}  // namespace

TSlotList::TSlotList(QWidget* parent) : QListWidget(parent) {
  setIconSize(QSize(kPictureSize + kSampleWidth + 4, kPictureSize));
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

QPixmap TSlotList::RowPicture(const TWorkspace& workspace, const TSettings& settings, int slot) {
  QPixmap picture(kPictureSize + kSampleWidth + 4, kPictureSize);
  picture.fill(Qt::transparent);
  const TRadiograph* object = workspace.Slot(slot);
  if (object == nullptr) return picture;
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const QImage own = object->Type() != nullptr ? TypePicture(*object->Type()) : QImage();
  if (own.isNull()) {
    DrawStockPicture(painter, object->IsType());
  } else {
    const QImage scaled = own.scaled(kPictureSize, kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawImage((kPictureSize - scaled.width()) / 2, (kPictureSize - scaled.height()) / 2, scaled);
  }
  // A type carries a corner mark so that it is told from its radiographs at a glance.
  if (object->IsType()) DrawBadge(painter, QRect(0, kPictureSize - 11, 11, 11), QColor(0, 96, 160), QStringLiteral("T"));
  if (object->Modified || object->ImageModified) DrawBadge(painter, QRect(kPictureSize - 10, 0, 10, 10), Qt::red, QStringLiteral("*"));

  const int style = settings.Radiograph.DrawingStyle;
  const bool slotPen = style == 1 || (style == 2 && !workspace.IsCurrent(object));
  if (slotPen) {
    const TPositionPen& pen = settings.Radiograph.PositionPens[static_cast<size_t>(slot)];
    QPen qpen(ToQColor(pen.Colour), std::clamp(pen.Width, 1, 6), kLineStyles[std::clamp(pen.Style, 0, 5)]);
    painter.setPen(qpen);
    painter.drawLine(kPictureSize + 4, kPictureSize / 2, kPictureSize + kSampleWidth, kPictureSize / 2);
  }
  const bool radiograph = !object->IsType();
  if (radiograph && slot == workspace.ReferenceSlot())
    DrawBadge(painter, QRect(kPictureSize + 4, 0, 11, 11), QColor(0, 128, 0), QStringLiteral("R"));
  if (slot == workspace.MorphSourceSlot())
    DrawBadge(painter, QRect(kPictureSize + 17, 0, 11, 11), QColor(128, 0, 128), QStringLiteral("M"));
  return picture;
}

void TSlotList::Show(const TWorkspace& workspace, const TSettings& settings) {
  fWorkspace = &workspace;
  const bool wasBlocked = blockSignals(true);
  if (count() != kSlotCount) {
    clear();
    for (int i = 0; i < kSlotCount; ++i) addItem(QString());
  }
  const TTextFormats& formats = workspace.Options().Formats;
  for (int i = 0; i < kSlotCount; ++i) {
    QListWidgetItem* row = item(i);
    const TRadiograph* object = workspace.Slot(i);
    row->setIcon(QIcon(RowPicture(workspace, settings, i)));
    if (object == nullptr) {
      row->setText(QString());
      row->setToolTip(QString());
      row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsDropEnabled);
      row->setData(Qt::CheckStateRole, QVariant());
      continue;
    }
    row->setText(QString::fromStdString(object->IsType() ? object->Name : object->Caption(formats)));
    // The caption may be cut by a narrow column: the tip names the film in full first.
    QStringList tip{QString::fromStdString(workspace.Heading(*object)),
                    QString::fromStdString(object->Description(formats)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))};
    if (!object->IsType() && i == workspace.ReferenceSlot()) tip << tr("Reference");
    if (i == workspace.MorphSourceSlot()) tip << tr("Morph Source");
    row->setToolTip(tip.join(QLatin1Char('\n')));
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
                  Qt::ItemIsDropEnabled);
    row->setCheckState(object->Visible ? Qt::Checked : Qt::Unchecked);
    QFont font = row->font();
    font.setBold(workspace.IsCurrent(object));
    row->setFont(font);
  }
  const int current = workspace.XRayPosition(workspace.Current());
  if (current < kSlotCount) {
    setCurrentRow(current);
  } else {
    clearSelection();
  }
  blockSignals(wasBlocked);
}

QStringList TSlotList::mimeTypes() const { return {QString::fromLatin1(kSlotMimeType), QStringLiteral("text/uri-list")}; }

QMimeData* TSlotList::mimeData(const QList<QListWidgetItem*>& items) const {
  if (items.isEmpty()) return nullptr;
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(kSlotMimeType), QByteArray::number(row(items.front())));
  return data;
}

QStringList DroppedLocalFiles(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  return paths;
}

Qt::DropActions TSlotList::supportedDropActions() const { return Qt::MoveAction | Qt::CopyAction; }

bool TSlotList::Accepts(const QMimeData* data, int target) const {
  if (data == nullptr || fWorkspace == nullptr) return false;
  if (data->hasFormat(QString::fromLatin1(kSlotMimeType))) {
    bool ok = false;
    const int from = data->data(QString::fromLatin1(kSlotMimeType)).toInt(&ok);
    return ok && fWorkspace->CanDrop(from, target);
  }
  return !DroppedLocalFiles(data).isEmpty();
}

void TSlotList::dragEnterEvent(QDragEnterEvent* event) {
  // A row may enter over its own place, where it cannot land yet.
  if (event->mimeData()->hasFormat(QString::fromLatin1(kSlotMimeType)) || Accepts(event->mimeData(), -1)) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TSlotList::dragMoveEvent(QDragMoveEvent* event) {
  const int target = indexAt(event->position().toPoint()).row();
  if (Accepts(event->mimeData(), target)) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TSlotList::dropEvent(QDropEvent* event) {
  const int target = indexAt(event->position().toPoint()).row();
  const QMimeData* data = event->mimeData();
  if (!Accepts(data, target)) {
    event->ignore();
    return;
  }
  // Reported as a copy: the workspace moves the object, the list must not remove the row.
  event->setDropAction(Qt::CopyAction);
  event->accept();
  if (data->hasFormat(QString::fromLatin1(kSlotMimeType))) {
    emit MoveRequested(data->data(QString::fromLatin1(kSlotMimeType)).toInt(), target);
    return;
  }
  emit FilesDropped(DroppedLocalFiles(data), target);
}

}  // namespace lumacet
