#include "platform/automation_service.h"

#include <QDBusMessage>
#include <QMetaObject>

namespace lumacet {

namespace {

QString ErrorName(TAutomationError error) {
  switch (error) {
    case TAutomationError::InvalidArgs: return QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
    case TAutomationError::Gone: return QString::fromLatin1(kAutomationErrorGone);
    case TAutomationError::Busy: return QString::fromLatin1(kAutomationErrorBusy);
    case TAutomationError::Failed: break;
  }
  return QString::fromLatin1(kAutomationErrorFailed);
}

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QDBusObjectPath TAutomationObject::ApplicationPath() const {
  return QDBusObjectPath(QString::fromLatin1(kAutomationApplicationPath));
}

TAutomation& TAutomationObject::Automation() { return fService.Automation(); }

template <typename T, typename V>
V TAutomationObject::Answer(const TAutomationReply<T>& reply) {
  if (reply.Ok()) {
    if constexpr (std::is_same_v<T, TAutomationDone>)
      return V();
    else if constexpr (std::is_same_v<T, std::string>)
      return FromUtf8(*reply.Value);
    else
      return static_cast<V>(*reply.Value);
  }
  // Called from anywhere but the bus (a test of the objects themselves) there is nobody to
  // send the error to.
  if (calledFromDBus()) sendErrorReply(ErrorName(reply.Refusal.Error), FromUtf8(reply.Refusal.Message));
  return V();
}

// --- Application

QString TApplicationObject::DefaultDataFileName() { return FromUtf8(Automation().DefaultDataFileName()); }
void TApplicationObject::SetDefaultDataFileName(const QString& value) {
  Answer(Automation().SetDefaultDataFileName(value.toStdString()));
}
QString TApplicationObject::DefaultDataPath() { return FromUtf8(Automation().DefaultDataPath()); }
void TApplicationObject::SetDefaultDataPath(const QString& value) {
  Answer(Automation().SetDefaultDataPath(value.toStdString()));
}
QString TApplicationObject::DefaultImagePath() { return FromUtf8(Automation().DefaultImagePath()); }
void TApplicationObject::SetDefaultImagePath(const QString& value) {
  Answer(Automation().SetDefaultImagePath(value.toStdString()));
}
QString TApplicationObject::Version() const { return FromUtf8(AutomationVersion()); }
QDBusObjectPath TApplicationObject::Radiographs() const {
  return QDBusObjectPath(QString::fromLatin1(kAutomationRadiographsPath));
}

int TApplicationObject::OpenRadiograph(const QString& FileName, const QString& Name, const QString& Date,
                                       const QString& Type, const QString& Comments, bool Partial) {
  return Answer(Automation().OpenRadiograph(FileName.toStdString(), Name.toStdString(), Date.toStdString(),
                                            Type.toStdString(), Comments.toStdString(), Partial));
}

void TApplicationObject::Close() {
  // Answered first: the program may be gone before a reply sent afterwards would leave.
  QMetaObject::invokeMethod(this, [this] { Automation().Close(); }, Qt::QueuedConnection);
}

void TApplicationObject::CopyPicture() { Answer(Automation().CopyPicture()); }
void TApplicationObject::CopyResults() { Answer(Automation().CopyResults()); }
void TApplicationObject::Print(uint PrintType) { Answer(Automation().Print(PrintType)); }
void TApplicationObject::SetAnalysisView(bool Shown) { Answer(Automation().SetAnalysisView(Shown)); }
void TApplicationObject::SetVisible(bool Visible) { Answer(Automation().SetVisible(Visible)); }
int TApplicationObject::CreateRadiograph(const QString& Type) {
  return Answer(Automation().CreateRadiograph(Type.toStdString()));
}
int TApplicationObject::SaveIniSettings() { return Answer(Automation().SaveIniSettings()); }

// --- Radiographs

QDBusObjectPath TRadiographsObject::Current() { return fService.RadiographPath(Automation().Current()); }
QDBusObjectPath TRadiographsObject::Item(int Index) { return fService.RadiographPath(Automation().Item(Index)); }

// --- Radiograph

QString TRadiographObject::Particular(TParticular particular) {
  return Answer<std::string, QString>(Automation().Text(fSerial, particular));
}
void TRadiographObject::SetParticular(TParticular particular, const QString& value) {
  Answer(Automation().SetText(fSerial, particular, value.toStdString()));
}

QString TRadiographObject::Name() { return Particular(TParticular::Name); }
void TRadiographObject::SetName(const QString& value) { SetParticular(TParticular::Name, value); }
bool TRadiographObject::Sex() { return Answer(Automation().Sex(fSerial)); }
void TRadiographObject::SetSex(bool female) { Answer(Automation().SetSex(fSerial, female)); }
QString TRadiographObject::DateOfBirth() { return Particular(TParticular::DateOfBirth); }
void TRadiographObject::SetDateOfBirth(const QString& value) { SetParticular(TParticular::DateOfBirth, value); }
QString TRadiographObject::DateTaken() { return Particular(TParticular::DateTaken); }
void TRadiographObject::SetDateTaken(const QString& value) { SetParticular(TParticular::DateTaken, value); }
QString TRadiographObject::Comments() { return Particular(TParticular::Comments); }
void TRadiographObject::SetComments(const QString& value) { SetParticular(TParticular::Comments, value); }
double TRadiographObject::Magnification() { return Answer(Automation().Magnification(fSerial)); }
void TRadiographObject::SetMagnification(double percent) {
  Answer(Automation().SetMagnification(fSerial, percent));
}
QString TRadiographObject::TypeName() { return Answer<std::string, QString>(Automation().TypeName(fSerial)); }
bool TRadiographObject::IsType() { return Answer(Automation().IsType(fSerial)); }

void TRadiographObject::SetCurrent() { Answer(Automation().SetCurrent(fSerial)); }
void TRadiographObject::Close(bool SavePrompt) { Answer(Automation().CloseRadiograph(fSerial, SavePrompt)); }
void TRadiographObject::SetInView(bool Shown) { Answer(Automation().SetInView(fSerial, Shown)); }
void TRadiographObject::SetImageVisible(bool Shown) { Answer(Automation().SetImageVisible(fSerial, Shown)); }
void TRadiographObject::CopyImage() { Answer(Automation().CopyImage(fSerial)); }
int TRadiographObject::LoadDigBitmapFromFile(const QString& FileName) {
  return Answer(Automation().LoadDigBitmapFromFile(fSerial, FileName.toStdString()));
}

// --- the service

TAutomationService::TAutomationService(TAutomationHost& host, QDBusConnection bus, QObject* parent)
    : QObject(parent),
      fAutomation(host),
      fBus(std::move(bus)),
      fApplication(std::make_unique<TApplicationObject>(*this)),
      fRadiographs(std::make_unique<TRadiographsObject>(*this)) {}

TAutomationService::~TAutomationService() {
  if (!fBus.isConnected()) return;
  fBus.unregisterObject(QString::fromLatin1(kAutomationApplicationPath));
  fBus.unregisterObject(QString::fromLatin1(kAutomationRadiographsPath));
  for (const auto& [serial, object] : fObjects)
    fBus.unregisterObject(QString::fromLatin1(kAutomationRadiographPath) + QString::number(serial));
}

bool TAutomationService::Register() {
  if (!fBus.isConnected()) return false;
  constexpr auto options = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties;
  return fBus.registerObject(QString::fromLatin1(kAutomationApplicationPath), fApplication.get(), options) &&
         fBus.registerObject(QString::fromLatin1(kAutomationRadiographsPath), fRadiographs.get(), options);
}

QDBusObjectPath TAutomationService::RadiographPath(std::optional<std::uint64_t> serial) {
  if (!serial) return QDBusObjectPath(QStringLiteral("/"));
  const QString path = QString::fromLatin1(kAutomationRadiographPath) + QString::number(*serial);
  auto [at, added] = fObjects.try_emplace(*serial);
  if (added) {
    at->second = std::make_unique<TRadiographObject>(*this, *serial);
    fBus.registerObject(path, at->second.get(),
                        QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties);
  }
  return QDBusObjectPath(path);
}

}  // namespace lumacet
