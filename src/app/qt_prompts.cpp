#include "app/qt_prompts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

#include "app/image_commands_ui.h"
#include "shell/help_pages.h"

namespace lumacet {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QString DisplayText(std::string_view text) {
  QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QString DisplayText(const TText& text) {
  return DisplayText(text.Rendered([](const std::string& context, const std::string& source) {
    return QCoreApplication::translate(context.c_str(), source.c_str()).toStdString();
  }));
}

void TQtPrompts::ShowMessage(const std::string& text) {
  QMessageBox::warning(fParent, QStringLiteral("Lumacet"), DisplayText(text));
}

void TQtPrompts::Inform(const std::string& text) {
  QMessageBox::information(fParent, QStringLiteral("Lumacet"), DisplayText(text));
}

void ShowOnStatusBar(QWidget* parent, const QString& text) {
  if (auto* window = qobject_cast<QMainWindow*>(parent != nullptr ? parent->window() : nullptr))
    window->statusBar()->showMessage(text);
}

void ShowHelp(QWidget* parent, std::string_view topic, const QString& section) {
  const std::filesystem::path programFolder = QCoreApplication::applicationDirPath().toStdString();
  const std::filesystem::path page = HelpPage(programFolder, topic);
  if (page.empty()) {
    QMessageBox::information(parent, QStringLiteral("Lumacet"), DisplayText(HelpMissing(programFolder)));
    return;
  }
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(page.string()));
  if (!section.isEmpty()) url.setFragment(section);
  if (!QDesktopServices::openUrl(url))
    QMessageBox::information(parent, QStringLiteral("Lumacet"),
                             QCoreApplication::translate("Help", "No browser could be started for %1.")
                                 .arg(url.toString()));
}

namespace {

const THelpTopic* TopicOfClass(const QMetaObject* type) {
  for (; type != nullptr; type = type->superClass()) {
    std::string_view name = type->className();
    if (const size_t scope = name.rfind(':'); scope != std::string_view::npos) name.remove_prefix(scope + 1);
    if (const THelpTopic* topic = FindHelpTopic(name)) return topic;
  }
  return nullptr;
}

const THelpTopic* TopicOfWindow(const QWidget* window) {
  if (const THelpTopic* topic = FindHelpTopic(window->objectName().toStdString())) return topic;
  for (const QWidget* part : window->findChildren<QWidget*>())
    if (!part->objectName().isEmpty() && part->isVisible())
      if (const THelpTopic* topic = FindHelpTopic(part->objectName().toStdString())) return topic;
  return TopicOfClass(window->metaObject());
}

bool IsHelpKey(const QEvent* event) {
  const auto* key = static_cast<const QKeyEvent*>(event);
  return key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier;
}

// Watches the keys of the whole application so that no window needs wiring of its own.
class TContextHelpKey : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(target);
    if (widget == nullptr || !IsHelpKey(event) || qobject_cast<QMainWindow*>(widget->window()) != nullptr)
      return false;
    // Claiming the override keeps the main window's F1 (Help > Contents) from answering in the
    // windows opened from it.
    event->accept();
    if (event->type() == QEvent::KeyPress) ShowContextHelp(widget);
    return true;
  }
};

}  // namespace

void ShowContextHelp(QWidget* widget) {
  for (QWidget* window = widget != nullptr ? widget->window() : nullptr; window != nullptr;
       window = window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr)
    if (const THelpTopic* topic = TopicOfWindow(window)) {
      ShowHelp(widget, topic->Page, QString::fromUtf8(topic->Section.data(), static_cast<qsizetype>(topic->Section.size())));
      return;
    }
  ShowHelp(widget, "index");
}

void InstallContextHelp() {
  QCoreApplication* application = QCoreApplication::instance();
  const QString name = QStringLiteral("contextHelpKey");
  if (application->findChild<QObject*>(name, Qt::FindDirectChildrenOnly) != nullptr) return;
  auto* filter = new TContextHelpKey(application);
  filter->setObjectName(name);
  application->installEventFilter(filter);
}

void TQtPrompts::ShowStatus(const TText& text) { ShowOnStatusBar(fParent, DisplayText(text)); }

void TQtPrompts::ShowText(const TText& text) {
  QMessageBox::warning(fParent, QStringLiteral("Lumacet"), DisplayText(text));
}

namespace {

bool AskYesNo(QWidget* parent, const QString& question) {
  return QMessageBox::question(parent, QStringLiteral("Lumacet"), question, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace

bool TQtPrompts::Confirm(const std::string& question) { return AskYesNo(fParent, DisplayText(question)); }

bool TQtPrompts::ConfirmText(const TText& question) { return AskYesNo(fParent, DisplayText(question)); }

bool TQtPrompts::ConfirmOkCancel(const std::string& question) {
  return QMessageBox::question(fParent, QStringLiteral("Lumacet"), DisplayText(question),
                               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Ok;
}

TAnswer TQtPrompts::AskYesNoCancel(const std::string& question) {
  switch (QMessageBox::question(fParent, QStringLiteral("Lumacet"), DisplayText(question),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      return TAnswer::Yes;
    case QMessageBox::No:
      return TAnswer::No;
    default:
      return TAnswer::Cancel;
  }
}

bool TQtPrompts::Remind(const std::string& text) {
  QMessageBox box(QMessageBox::Information, QObject::tr("Reminder"), DisplayText(text), QMessageBox::Ok, fParent);
  auto* dontShow = new QCheckBox(QObject::tr("Don't show this message again."));
  box.setCheckBox(dontShow);
  box.exec();
  return dontShow->isChecked();
}

std::string TQtPrompts::ChooseImageFile(const std::string& folder, const std::string& name) {
  const QString start = QString::fromStdString((std::filesystem::path(folder) / name).string());
  return QFileDialog::getOpenFileName(fParent, QObject::tr("Open Image"), start, ImageOpenFilter()).toStdString();
}

bool TQtPrompts::OfferSave(TRadiograph& object) {
  const TSavePromptText text = SavePromptText(object, fWorkspace.Options().Formats);
  QDialog dialog(fParent);
  dialog.setWindowTitle(QObject::tr("Save"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(DisplayText(text.Description)));
  layout->addWidget(new QLabel(QObject::tr("This radiograph has changed:")));
  auto* history = new QPlainTextEdit;
  history->setReadOnly(true);
  for (const std::string& line : text.History) history->appendPlainText(DisplayText(line));
  layout->addWidget(history);
  layout->addWidget(new QLabel(DisplayText(text.ImageLine)));
  layout->addWidget(new QLabel(DisplayText(text.TracingLine)));
  auto* buttons = new QDialogButtonBox;
  QPushButton* saveImage = buttons->addButton(QObject::tr("Save &Image"), QDialogButtonBox::ActionRole);
  saveImage->setEnabled(text.CanSaveImage);
  QPushButton* saveTracing = buttons->addButton(QObject::tr("&Save Tracing"), QDialogButtonBox::ActionRole);
  saveTracing->setEnabled(text.CanSaveTracing);
  QPushButton* dontSave = buttons->addButton(QObject::tr("&Don't Save"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  // Enter saves: discarding changes takes a deliberate choice. No other button takes the
  // default by gaining the focus.
  QPushButton* save = text.CanSaveTracing ? saveTracing : saveImage;
  for (QPushButton* button : {saveImage, saveTracing, dontSave, cancel}) button->setAutoDefault(button == save);
  save->setDefault(true);
  layout->addWidget(buttons);
  QObject::connect(dontSave, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(saveImage, &QPushButton::clicked, &dialog, [&] {
    if (!SaveImageInteractively(&dialog, object, fWorkspace.Options().Images.DefaultFolder, fWorkspace.UserLevels())) return;
    saveImage->setEnabled(false);
    if (!object.Modified) dialog.accept();
  });
  QObject::connect(saveTracing, &QPushButton::clicked, &dialog, [&] {
    if (!fWorkspace.Save(object, *this)) return;
    saveTracing->setEnabled(false);
    if (!object.ImageModified) dialog.accept();
  });
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace lumacet
