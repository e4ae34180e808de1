#include "app/radiograph_dialogs.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <filesystem>

#include "app/qt_prompts.h"
#include "measure/number_format.h"
#include "persistence/data_file.h"
#include "persistence/type_finder.h"

namespace lumacet {

namespace {

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

// Fields a record keeps between commas and quotes refuse those characters as they are
// typed or pasted.
QValidator* RecordFieldValidator(QObject* parent) {
  return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\",]*")), parent);
}

QLineEdit* NewField(const char* objectName, int maxLength, QValidator* validator) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QString::fromLatin1(objectName));
  if (maxLength > 0) edit->setMaxLength(maxLength);
  if (validator != nullptr) edit->setValidator(validator);
  return edit;
}

}  // namespace

TNewXRayDlg::TNewXRayDlg(TMode mode, TRadiographDialogContext context, QWidget* parent)
    : QDialog(parent), fMode(mode), fContext(std::move(context)) {
  setWindowTitle(mode == TMode::New ? tr("New Radiograph") : tr("Properties"));
  // The two modes have help sections of their own.
  if (mode == TMode::Properties) setObjectName(QStringLiteral("radiographProperties"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);

  fType = new QComboBox;
  fType->setObjectName(QStringLiteral("type"));
  for (const std::string& name : fContext.TypeNames) fType->addItem(Utf8(name));
  fType->setEnabled(mode == TMode::New);
  form->addRow(tr("T&ype:"), fType);
  fName = NewField("name", static_cast<int>(kNameWidth), RecordFieldValidator(this));
  form->addRow(tr("&Name:"), fName);
  fDateOfBirth = NewField("dateOfBirth", 10, RecordFieldValidator(this));
  form->addRow(tr("Date of &Birth:"), fDateOfBirth);
  fDateTaken = NewField("dateTaken", 10, RecordFieldValidator(this));
  form->addRow(tr("Date &Taken:"), fDateTaken);
  auto* sex = new QHBoxLayout;
  fFemale = new QRadioButton(tr("&Female"));
  fFemale->setObjectName(QStringLiteral("female"));
  fMale = new QRadioButton(tr("&Male"));
  fMale->setObjectName(QStringLiteral("male"));
  fMale->setChecked(true);
  sex->addWidget(fFemale);
  sex->addWidget(fMale);
  sex->addStretch();
  form->addRow(tr("Sex:"), sex);
  fMagnification = NewField(
      "magnification", 0, new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\"]*")), this));
  form->addRow(tr("Ma&gnification (%):"), fMagnification);
  fComments = NewField("comments", static_cast<int>(kCommentsWidth), RecordFieldValidator(this));
  form->addRow(tr("&Comments:"), fComments);
  auto* dataFile = new QHBoxLayout;
  fDataFile = NewField("dataFile", 0, nullptr);
  auto* browse = new QPushButton(tr("&File..."));
  connect(browse, &QPushButton::clicked, this, &TNewXRayDlg::ChooseDataFile);
  dataFile->addWidget(fDataFile, 1);
  dataFile->addWidget(browse);
  auto* dataFileLabel = new QLabel(tr("&Data file:"));
  dataFileLabel->setBuddy(fDataFile);
  form->addRow(dataFileLabel, dataFile);
  fImageFile = NewField("imageFile", 0, nullptr);
  fImageFile->setReadOnly(true);
  form->addRow(tr("Image file:"), fImageFile);

  fChanged = new QLabel(tr("Radiograph has changed."));
  fDetails = new QPushButton(tr("&Details >>"));
  fDetails->setCheckable(true);
  fHistory = new QPlainTextEdit;
  fHistory->setObjectName(QStringLiteral("history"));
  fHistory->setReadOnly(true);
  auto* changed = new QHBoxLayout;
  changed->addWidget(fChanged, 1);
  changed->addWidget(fDetails);
  layout->addLayout(changed);
  layout->addWidget(fHistory);
  fChanged->hide();
  fDetails->hide();
  fHistory->hide();
  connect(fDetails, &QPushButton::toggled, this, [this](bool shown) {
    fHistory->setVisible(shown);
    fDetails->setText(shown ? tr("<< &Details") : tr("&Details >>"));
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  if (mode == TMode::New) {
    QPushButton* defaults = buttons->addButton(tr("Def&aults"), QDialogButtonBox::ResetRole);
    connect(defaults, &QPushButton::clicked, this, &TNewXRayDlg::PutDefaults);
  }
  connect(buttons, &QDialogButtonBox::accepted, this, &TNewXRayDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TNewXRayDlg::reject);
  layout->addWidget(buttons);
}

void TNewXRayDlg::ShowDefaults(const TRadiographSettings& defaults) {
  fDefaults = defaults;
  PutDefaults();
}

void TNewXRayDlg::PutDefaults() {
  const int type = fType->findText(Utf8(fDefaults.DefaultType));
  fType->setCurrentIndex(type >= 0 ? type : 0);
  fName->setText(Utf8(fDefaults.DefaultName));
  // The stored defaults show in the user's format when they read as dates.
  auto date = [this](const std::string& text) {
    const std::optional<TDayNumber> day = ParseUserDate(text, fContext.Formats);
    return Utf8(day ? FormatDate(*day, fContext.Formats.ShortDateFormat) : text);
  };
  fDateOfBirth->setText(date(fDefaults.DefaultDob));
  fDateTaken->setText(date(fDefaults.DefaultDateTaken));
  fMagnification->setText(Utf8(fDefaults.DefaultMagnification));
  fComments->setText(Utf8(fDefaults.DefaultComments));
  (fDefaults.DefaultSex ? fFemale : fMale)->setChecked(true);
  fDataFile->setText(Utf8(fDefaults.DefaultFile));
}

void TNewXRayDlg::ShowRadiograph(const TXRay& xray) {
  fType->clear();
  if (xray.Type() != nullptr) {
    // A type retired after its file was saved carries a leading ",".
    std::string_view typeName = xray.Type()->Name;
    if (typeName.starts_with(',')) typeName.remove_prefix(1);
    fType->addItem(Utf8(std::string(typeName)));
  }
  fName->setText(Utf8(xray.Name));
  fDateOfBirth->setText(Utf8(FormatDate(xray.DateOfBirth, fContext.Formats.ShortDateFormat)));
  fDateTaken->setText(Utf8(FormatDate(xray.DateTaken, fContext.Formats.ShortDateFormat)));
  (xray.Female ? fFemale : fMale)->setChecked(true);
  fMagnification->setText(Utf8(FormatGeneral(xray.Magnification, fContext.Formats.DecimalSeparator)));
  fComments->setText(Utf8(xray.Comments));
  fDataFile->setText(Utf8(xray.DataFile));
  fImageFile->setText(Utf8(xray.ImageFile));
  fChanged->setVisible(xray.Modified);
  fDetails->setVisible(xray.Modified);
  fHistory->clear();
  for (const std::string& line : xray.ChangeHistory) fHistory->appendPlainText(DisplayText(line));
}

QString TNewXRayDlg::TypeName() const { return fType->currentText(); }

void TNewXRayDlg::Refuse(const TText& message, QWidget* field) {
  if (fContext.Prompts != nullptr) fContext.Prompts->ShowText(message);
  field->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}

TRadiographEntry TNewXRayDlg::Entry() const {
  return {Text(fName),     Text(fDateOfBirth),   Text(fDateTaken), Text(fMagnification),
          Text(fComments), fFemale->isChecked(), Text(fDataFile), TypeName().toStdString()};
}

void TNewXRayDlg::accept() {
  const TEntryCheck check = CheckRadiographEntry(Entry(), fContext.Formats);
  switch (check.Field) {
    case TEntryField::None: break;
    case TEntryField::DateOfBirth: return Refuse(check.Message, fDateOfBirth);
    case TEntryField::DateTaken: return Refuse(check.Message, fDateTaken);
    case TEntryField::Magnification: return Refuse(check.Message, fMagnification);
    case TEntryField::Name: return Refuse(check.Message, fName);
    case TEntryField::Comments: return Refuse(check.Message, fComments);
  }
  if (fMode == TMode::New && fType->currentText().isEmpty()) {
    Refuse(TText(kTypeNotFoundMessage, {std::string(), fContext.TypeFolder}), fType);
    return;
  }
  fAccepted = check;
  QDialog::accept();
}

void TNewXRayDlg::ApplyTo(TXRay& xray) const {
  ApplyRadiographEntry(Entry(), fAccepted, xray);
  if (fMode == TMode::Properties) xray.RecordChange(true, std::string(kChangedPropertiesText));
}

int TNewXRayDlg::CreateIn(TWorkspace& workspace, TWorkspacePrompts& prompts, TRadiographSettings& defaults) const {
  const int slot = workspace.NewXRayBasic(TypeName().toStdString(), false, prompts);
  if (slot < 0) return slot;
  ApplyTo(static_cast<TXRay&>(*workspace.Slot(slot)));
  RememberRadiographEntry(Entry(), defaults);
  return slot;
}

void TNewXRayDlg::ChooseDataFile() {
  std::string folder = fContext.DataFolder;
  const std::filesystem::path current(Text(fDataFile));
  if (current.is_absolute()) folder = current.parent_path().string();
  QFileDialog dialog(this, tr("Data file"), Utf8(folder), tr("Radiographs (*.csv *.CSV);;All files (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // records are added to it
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    fDataFile->setText(dialog.selectedFiles().front());
}

bool EditRadiographProperties(TXRay& xray, TRadiographDialogContext context, QWidget* parent) {
  TNewXRayDlg dialog(TNewXRayDlg::TMode::Properties, std::move(context), parent);
  dialog.ShowRadiograph(xray);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.ApplyTo(xray);
  return true;
}

TTypePropertiesDlg::TTypePropertiesDlg(TWorkspacePrompts& prompts, QWidget* parent)
    : QDialog(parent), fPrompts(prompts) {
  setWindowTitle(tr("Radiograph Type Properties"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);
  fName = NewField("name", static_cast<int>(kTypeNameWidth), RecordFieldValidator(this));
  form->addRow(tr("&Name:"), fName);
  auto* picture = new QHBoxLayout;
  fPicture = new QLabel;
  fPicture->setObjectName(QStringLiteral("picture"));
  fPicture->setFixedSize(48, 48);
  fPicture->setAlignment(Qt::AlignCenter);
  auto* choose = new QPushButton(tr("&Picture..."));
  connect(choose, &QPushButton::clicked, this, &TTypePropertiesDlg::ChoosePicture);
  picture->addWidget(fPicture);
  picture->addWidget(choose);
  picture->addStretch();
  form->addRow(tr("Picture:"), picture);
  fScaleOverride = new QCheckBox(tr("New radiographs get current image &scaling factors"));
  fScaleOverride->setObjectName(QStringLiteral("scaleOverride"));
  fPositionOverride = new QCheckBox(tr("New radiographs get current image &position"));
  fPositionOverride->setObjectName(QStringLiteral("positionOverride"));
  layout->addWidget(fScaleOverride);
  layout->addWidget(fPositionOverride);
  fAutoDetect = new QComboBox;
  fAutoDetect->setObjectName(QStringLiteral("autoDetect"));
  fAutoDetect->addItems({tr("Yes"), tr("No"), tr("Use Default")});
  auto* autoDetect = new QFormLayout;
  autoDetect->addRow(tr("&Auto-detect image resolution from Scanner"), fAutoDetect);
  layout->addLayout(autoDetect);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &TTypePropertiesDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TTypePropertiesDlg::reject);
  layout->addWidget(buttons);
}

void TTypePropertiesDlg::ShowType(const TXRayType& type) {
  fName->setText(Utf8(type.Name));
  fIconData = type.IconData;
  fIconIsIcon = type.IconIsIcon;
  fScaleOverride->setChecked(type.ScaleOverride);
  fPositionOverride->setChecked(type.PositionOverride);
  fAutoDetect->setCurrentIndex(std::clamp(type.AutoDetectResolution, 0, 2));
  ShowPicture();
}

bool TTypePropertiesDlg::TakePicture(const QString& path) {
  QFile file(path);
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
  QImage image;
  if (bytes.isEmpty() || !image.loadFromData(bytes)) {
    fPrompts.ShowMessage("The picture could not be read from " + path.toStdString());
    return false;
  }
  fIconData.assign(bytes.begin(), bytes.end());
  // An icon file starts with a reserved zero word and type 1.
  fIconIsIcon = bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && bytes[3] == 0;
  ShowPicture();
  return true;
}

void TTypePropertiesDlg::ChoosePicture() {
  const QString path = QFileDialog::getOpenFileName(this, tr("Picture"), QString(),
                                                    tr("Graphic files (*.bmp *.ico *.BMP *.ICO);;All files (*)"));
  if (!path.isEmpty()) TakePicture(path);
}

void TTypePropertiesDlg::ShowPicture() {
  QImage image;
  if (!fIconData.empty())
    image.loadFromData(reinterpret_cast<const uchar*>(fIconData.data()), static_cast<int>(fIconData.size()));
  fPicture->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image.scaled(
                                                       48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TTypePropertiesDlg::accept() {
  if (TText error = TypeNameError(Text(fName)); !error.Empty()) {
    fPrompts.ShowText(error);
    fName->setFocus();
    fName->selectAll();
    return;
  }
  QDialog::accept();
}

void TTypePropertiesDlg::ApplyTo(TXRayType& type) const {
  type.Name = Text(fName);
  type.IconData = fIconData;
  type.IconIsIcon = fIconIsIcon;
  type.ScaleOverride = fScaleOverride->isChecked();
  type.PositionOverride = fPositionOverride->isChecked();
  type.AutoDetectResolution = fAutoDetect->currentIndex();
  type.Modified = true;
  type.RecordChange(true, std::string(kChangedPropertiesText));
}

bool EditTypeProperties(TXRayType& type, TWorkspacePrompts& prompts, QWidget* parent) {
  TTypePropertiesDlg dialog(prompts, parent);
  dialog.ShowType(type);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.ApplyTo(type);
  return true;
}

QImage TypePicture(const TXRayType& type) {
  QImage image;
  if (!type.IconData.empty())
    image.loadFromData(reinterpret_cast<const uchar*>(type.IconData.data()), static_cast<int>(type.IconData.size()));
  return image;
}

}  // namespace lumacet
