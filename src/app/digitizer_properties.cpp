#include "app/digitizer_properties.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

#include "app/qt_prompts.h"
#include "platform/user_locale.h"
#include "support/user_numbers.h"

namespace lumacet {

namespace {

constexpr int kPollInterval = 10;  // milliseconds

QComboBox* Combo(const char* name, const QStringList& items, bool editable) {
  auto* combo = new QComboBox;
  combo->setObjectName(QString::fromLatin1(name));
  combo->setEditable(editable);
  combo->addItems(items);
  return combo;
}

// The serial ports the system has, by their stable names first; the box stays editable for
// a port that is not plugged in now.
QStringList SerialPorts() {
  QStringList ports;
  for (const QFileInfo& link : QDir(QStringLiteral("/dev/serial/by-id")).entryInfoList(QDir::System | QDir::Files))
    ports << link.filePath();
  for (const QFileInfo& device :
       QDir(QStringLiteral("/dev")).entryInfoList({QStringLiteral("ttyS*"), QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                                  QDir::System, QDir::Name))
    ports << device.filePath();
  return ports;
}

void SelectText(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  if (index >= 0)
    combo->setCurrentIndex(index);
  else if (combo->isEditable())
    combo->setEditText(text);
}

}  // namespace

void ShowTabletError(QWidget* parent, const TText& message) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Lumacet"), DisplayText(message), QMessageBox::Ok | QMessageBox::Help,
                  parent);
  if (box.exec() == QMessageBox::Help) ShowHelp(parent, "patients", QStringLiteral("tablets"));
}

bool OpenTablet(QWidget* parent, TDigitizer& digitizer) {
  while (true) {
    const TDigitizerOpen opened = digitizer.Open();
    for (const TText& error : opened.WriteErrors) ShowTabletError(parent, error);
    if (opened.Outcome) return true;
    if (!opened.CanRetry) {
      ShowTabletError(parent, opened.Outcome.TextWithReason());
      return false;
    }
    if (QMessageBox::critical(parent, QStringLiteral("Lumacet"), DisplayText(opened.Outcome.TextWithReason()),
                              QMessageBox::Retry | QMessageBox::Cancel) != QMessageBox::Retry)
      return false;
  }
}

TDigitizerProperties::TDigitizerProperties(TDigitizer& definition, QWidget* parent)
    : QDialog(parent), fDefinition(definition) {
  setWindowTitle(tr("Properties of %1").arg(Utf8(definition.Name)));
  auto* layout = new QVBoxLayout(this);
  fWinTab = new QCheckBox(tr("&Use WinTAB Driver"));
  fWinTab->setObjectName(QStringLiteral("useWinTab"));
  fWinTab->setToolTip(tr("Read the tablet as an input event device, which reports millimetres itself."));
  layout->addWidget(fWinTab);

  auto* panels = new QHBoxLayout;
  auto* serial = new QFormLayout;
  fBaud = Combo("baudRate", {"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000",
                             "128000", "256000"}, true);
  serial->addRow(tr("&Baud Rate:"), fBaud);
  fDataBits = Combo("dataBits", {"5", "6", "7", "8"}, false);
  serial->addRow(tr("&Data Bits:"), fDataBits);
  fParity = Combo("parity", {tr("None"), tr("Odd"), tr("Even"), tr("Mark"), tr("Space")}, false);
  serial->addRow(tr("P&arity:"), fParity);
  fStopBits = Combo("stopBits", {"1", "1.5", "2"}, false);
  serial->addRow(tr("&Stop Bits:"), fStopBits);
  fPort = Combo("port", SerialPorts(), true);
  serial->addRow(tr("&Port:"), fPort);
  fControl = new QLineEdit;
  fControl->setObjectName(QStringLiteral("controlString"));
  fControl->setMaxLength(static_cast<int>(kReportTemplateLimit));
  serial->addRow(tr("&Control String:"), fControl);
  fCommands = new QPlainTextEdit;
  fCommands->setObjectName(QStringLiteral("initCommands"));
  fCommands->setTabChangesFocus(true);
  serial->addRow(tr("&Initialization\nCommands:"), fCommands);
  fResolution = new QLineEdit;
  fResolution->setObjectName(QStringLiteral("resolution"));
  serial->addRow(tr("&Resolution:"), fResolution);
  fYOrigin = new QLineEdit;
  fYOrigin->setObjectName(QStringLiteral("yOrigin"));
  serial->addRow(tr("&Y Origin:"), fYOrigin);
  auto* serialGroup = new QGroupBox(tr("Serial port"));
  serialGroup->setLayout(serial);
  fSerialPanel = serialGroup;
  panels->addWidget(serialGroup);

  auto* winTab = new QVBoxLayout;
  winTab->addWidget(new QLabel(tr("WinTAB Driver Information:")));
  auto* info = new QPlainTextEdit;
  info->setObjectName(QStringLiteral("winTabInfo"));
  info->setReadOnly(true);
  QStringList lines;
  for (const TText& line : definition.WinTabInfo()) lines << DisplayText(line);
  info->setPlainText(lines.join(QLatin1Char('\n')));
  winTab->addWidget(info);
  auto* winTabGroup = new QGroupBox(tr("Input event device"));
  winTabGroup->setLayout(winTab);
  fWinTabPanel = winTabGroup;
  panels->addWidget(winTabGroup);
  layout->addLayout(panels);

  auto* test = new QHBoxLayout;
  fTestButton = new QPushButton(tr("Start &Test"));
  fTestButton->setObjectName(QStringLiteral("test"));
  fTestButton->setAutoDefault(false);
  test->addWidget(fTestButton);
  for (QLabel** label : {&fX, &fY, &fReceived}) {
    *label = new QLabel;
    test->addWidget(*label, label == &fReceived ? 1 : 0);
  }
  fX->setObjectName(QStringLiteral("testX"));
  fY->setObjectName(QStringLiteral("testY"));
  fReceived->setObjectName(QStringLiteral("testReceived"));
  fReceived->setTextFormat(Qt::PlainText);
  fX->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("X: 000000")));
  fY->setMinimumWidth(fX->minimumWidth());
  layout->addLayout(test);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &TDigitizerProperties::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TDigitizerProperties::reject);
  layout->addWidget(buttons);

  fTimer = new QTimer(this);
  fTimer->setInterval(kPollInterval);
  connect(fTimer, &QTimer::timeout, this, &TDigitizerProperties::PollTest);
  connect(fTestButton, &QPushButton::clicked, this, &TDigitizerProperties::ToggleTest);
  connect(fWinTab, &QCheckBox::toggled, this, &TDigitizerProperties::EnablePanels);
  ShowDefinition();
}

TDigitizerProperties::~TDigitizerProperties() = default;

void TDigitizerProperties::ShowDefinition() {
  fWinTab->setChecked(fDefinition.UseWinTab);
  SelectText(fBaud, Utf8(fDefinition.BaudRate));
  SelectText(fDataBits, QString::number(fDefinition.DataBits));
  fParity->setCurrentIndex(std::clamp(fDefinition.Parity, 0, 4));
  fStopBits->setCurrentIndex(std::clamp(fDefinition.StopBits, 0, 2));
  SelectText(fPort, Utf8(fDefinition.Port));
  fControl->setText(Utf8(fDefinition.ControlString));
  QStringList commands;
  for (const std::string& command : fDefinition.InitCommands) commands << Utf8(command);
  fCommands->setPlainText(commands.join(QLatin1Char('\n')));
  fResolution->setText(QLocale().toString(fDefinition.Resolution, 'f', 1));
  fYOrigin->setText(QLocale().toString(fDefinition.YOrigin, 'f', 1));
  EnablePanels();
}

void TDigitizerProperties::Copy(TDigitizer& digitizer) const {
  digitizer.Name = fDefinition.Name;
  digitizer.UseWinTab = fWinTab->isChecked();
  digitizer.BaudRate = fBaud->currentText().trimmed().toStdString();
  digitizer.DataBits = fDataBits->currentText().toInt();
  digitizer.Parity = fParity->currentIndex();
  digitizer.StopBits = fStopBits->currentIndex();
  digitizer.Port = fPort->currentText().trimmed().toStdString();
  digitizer.ControlString = fControl->text().toStdString();
  digitizer.InitCommands.clear();
  for (const QString& line : fCommands->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    if (!line.trimmed().isEmpty()) digitizer.InitCommands.push_back(line.trimmed().toStdString());
  // A number that does not read leaves the value it had; Check then judges what is there.
  const char separator = LocaleDecimalSeparator();
  digitizer.Resolution =
      ReadTypedNumber(fResolution->text().toStdString(), separator).value_or(std::nan(""));
  digitizer.YOrigin = ReadTypedNumber(fYOrigin->text().toStdString(), separator).value_or(fDefinition.YOrigin);
}

void TDigitizerProperties::accept() {
  TDigitizer taken;
  Copy(taken);
  if (const TResult checked = taken.Check(); !checked) {
    QMessageBox::warning(this, QStringLiteral("Lumacet"), DisplayText(checked.Text()));
    return;
  }
  StopTest();
  Copy(fDefinition);
  QDialog::accept();
}

void TDigitizerProperties::done(int result) {
  StopTest();
  QDialog::done(result);
}

void TDigitizerProperties::EnablePanels() {
  const bool testing = Testing();
  fWinTab->setEnabled(!testing);
  fSerialPanel->setEnabled(!testing && !fWinTab->isChecked());
  fWinTabPanel->setEnabled(!testing && fWinTab->isChecked());
}

void TDigitizerProperties::ToggleTest() {
  if (Testing()) {
    StopTest();
    return;
  }
  auto test = std::make_unique<TDigitizer>();
  Copy(*test);
  if (!OpenTablet(this, *test)) return;
  fTest = std::move(test);
  fTestButton->setText(tr("Stop &Test"));
  EnablePanels();
  fTimer->start();
}

void TDigitizerProperties::StopTest() {
  if (!Testing()) return;
  fTimer->stop();
  fTest.reset();
  fTestButton->setText(tr("Start &Test"));
  for (QLabel* label : {fX, fY, fReceived}) label->clear();
  EnablePanels();
}

void TDigitizerProperties::PollTest() {
  if (!Testing()) return;
  const TPollResult result = fTest->Poll();
  if (result.Code == kPollReport) {
    fX->setText(tr("X: %1").arg(std::lround(fTest->X)));
    fY->setText(tr("Y: %1").arg(std::lround(fTest->Y)));
    // The line ends of a report would only break the read-out.
    QString report = Utf8(fTest->LastReport);
    report.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    fReceived->setText(tr("Received: %1").arg(report));
  } else if (result.Code < 0) {
    StopTest();
    ShowTabletError(this, result.Message);
  }
}

}  // namespace lumacet
