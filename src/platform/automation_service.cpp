#include "platform/automation_service.h"

#include <QDBusMessage>
#include <QFile>
#include <QDBusVariant>
#include <QVariantMap>

#include <exception>
#include <type_traits>
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

template <typename T>
T TAutomationObject::Answer(const TAutomationReply<T>& reply) {
  if (reply.Ok()) return *reply.Value;
  // Called from anywhere but the bus (a test of the objects themselves) there is nobody to
  // send the error to.
  if (calledFromDBus()) sendErrorReply(ErrorName(reply.Refusal.Error), FromUtf8(reply.Refusal.Message));
  return T();
}

// --- Application

QString TApplicationObject::DefaultDataFileName() { return FromUtf8(Automation().DefaultDataFileName()); }
void TApplicationObject::SetDefaultDataFileName(const QString& Value) {
  Answer(Automation().SetDefaultDataFileName(Value.toStdString()));
}
QString TApplicationObject::DefaultDataPath() { return FromUtf8(Automation().DefaultDataPath()); }
void TApplicationObject::SetDefaultDataPath(const QString& Value) {
  Answer(Automation().SetDefaultDataPath(Value.toStdString()));
}
QString TApplicationObject::DefaultImagePath() { return FromUtf8(Automation().DefaultImagePath()); }
void TApplicationObject::SetDefaultImagePath(const QString& Value) {
  Answer(Automation().SetDefaultImagePath(Value.toStdString()));
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

namespace {

constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";
constexpr const char* kIntrospectableInterface = "org.freedesktop.DBus.Introspectable";
constexpr const char* kIntrospectionHeader =
    "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
    "\"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n<node>\n";
constexpr const char* kStandardInterfaces = R"(  <interface name="org.freedesktop.DBus.Properties">
    <method name="Get">
      <arg name="interface_name" type="s" direction="in"/>
      <arg name="property_name" type="s" direction="in"/>
      <arg name="value" type="v" direction="out"/>
    </method>
    <method name="Set">
      <arg name="interface_name" type="s" direction="in"/>
      <arg name="property_name" type="s" direction="in"/>
      <arg name="value" type="v" direction="in"/>
    </method>
    <method name="GetAll">
      <arg name="interface_name" type="s" direction="in"/>
      <arg name="values" type="a{sv}" direction="out"/>
    </method>
  </interface>
  <interface name="org.freedesktop.DBus.Introspectable">
    <method name="Introspect">
      <arg name="xml_data" type="s" direction="out"/>
    </method>
  </interface>
)";
const char* const kRadiographProperties[] = {"Application", "Parent",        "Name",     "Sex",   "DateOfBirth",
                                             "DateTaken",   "Comments",      "Magnification", "TypeName", "IsType"};

QDBusMessage ErrorReply(const QDBusMessage& message, const TAutomationRefusal& refusal) {
  return message.createErrorReply(ErrorName(refusal.Error), FromUtf8(refusal.Message));
}

QDBusMessage InvalidArgs(const QDBusMessage& message, const QString& text) {
  return message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"), text);
}

// The reply's value as a D-Bus value, or the refusal.
template <typename T>
std::optional<QVariant> Value(const TAutomationReply<T>& reply, TAutomationRefusal& refusal) {
  if (!reply.Ok()) {
    refusal = reply.Refusal;
    return std::nullopt;
  }
  if constexpr (std::is_same_v<T, std::string>)
    return QVariant(FromUtf8(*reply.Value));
  else
    return QVariant::fromValue(*reply.Value);
}

std::optional<TParticular> TextParticular(const QString& name) {
  if (name == QLatin1String("Name")) return TParticular::Name;
  if (name == QLatin1String("DateOfBirth")) return TParticular::DateOfBirth;
  if (name == QLatin1String("DateTaken")) return TParticular::DateTaken;
  if (name == QLatin1String("Comments")) return TParticular::Comments;
  return std::nullopt;
}

// A reply with no value, or the refusal.
QDBusMessage Done(const QDBusMessage& message, const TAutomationReply<TAutomationDone>& reply) {
  return reply.Ok() ? message.createReply() : ErrorReply(message, reply.Refusal);
}

}  // namespace

QString TRadiographTree::introspect(const QString& path) const {
  // The parent node lists no children: they are the radiographs a client was handed.
  if (path == QLatin1String(kAutomationRadiographPath)) return {};
  // The committed interface file is the contract: the radiograph's part is served from it.
  static const QString radiograph = [] {
    QFile file(QStringLiteral(":/lumacet/org.lumacet.Lumacet.Automation.xml"));
    if (!file.open(QIODevice::ReadOnly)) return QString();
    const QString xml = QString::fromUtf8(file.readAll());
    const QString start = QStringLiteral("  <interface name=\"%1\">").arg(QLatin1String(kAutomationRadiographInterface));
    const qsizetype from = xml.indexOf(start);
    const QString end = QStringLiteral("</interface>\n");
    const qsizetype to = xml.indexOf(end, from);
    return from < 0 || to < 0 ? QString() : xml.mid(from, to + end.size() - from);
  }();
  return radiograph;
}

bool TRadiographTree::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
  const QString prefix = QString::fromLatin1(kAutomationRadiographPath) + QLatin1Char('/');
  if (!message.path().startsWith(prefix)) return false;
  bool number = false;
  const std::uint64_t serial = message.path().mid(prefix.size()).toULongLong(&number);
  if (!number) return false;
  QDBusMessage reply;
  try {
    reply = Answer(message, serial);
  } catch (const std::exception& failure) {
    // Nothing may escape into the bus's dispatch.
    reply = ErrorReply(message, {TAutomationError::Failed, failure.what()});
  }
  return QDBusConnection(connection).send(reply);
}

QDBusMessage TRadiographTree::Answer(const QDBusMessage& message, std::uint64_t serial) {
  const QList<QVariant> arguments = message.arguments();
  if (message.interface() == QLatin1String(kIntrospectableInterface) && message.member() == QLatin1String("Introspect"))
    return message.createReply(QString::fromLatin1(kIntrospectionHeader) + introspect(message.path()) +
                               QString::fromLatin1(kStandardInterfaces) + QStringLiteral("</node>\n"));
  if (message.interface() != QLatin1String(kPropertiesInterface)) return Method(message, serial);
  const bool ours = !arguments.isEmpty() && arguments.front().toString() == QLatin1String(kAutomationRadiographInterface);
  if (message.member() == QLatin1String("Get") && message.signature() == QLatin1String("ss") && ours)
    return Property(message, serial, arguments[1].toString());
  if (message.member() == QLatin1String("GetAll") && message.signature() == QLatin1String("s") && ours)
    return Properties(message, serial);
  if (message.member() == QLatin1String("Set") && message.signature() == QLatin1String("ssv") && ours)
    return SetProperty(message, serial, arguments[1].toString(), arguments[2].value<QDBusVariant>().variant());
  return InvalidArgs(message, QStringLiteral("No such interface or property call."));
}

namespace {

// The value of one property, or the refusal; nothing for a name that is none.
std::optional<QVariant> Read(TAutomation& automation, std::uint64_t serial, const QString& name,
                             TAutomationRefusal& refusal, bool& known) {
  known = true;
  if (name == QLatin1String("Application") || name == QLatin1String("Parent")) {
    // Of a closed radiograph too: the way back to the program stays.
    return QVariant::fromValue(QDBusObjectPath(QString::fromLatin1(kAutomationApplicationPath)));
  }
  if (const std::optional<TParticular> text = TextParticular(name)) return Value(automation.Text(serial, *text), refusal);
  if (name == QLatin1String("Sex")) return Value(automation.Sex(serial), refusal);
  if (name == QLatin1String("Magnification")) return Value(automation.Magnification(serial), refusal);
  if (name == QLatin1String("TypeName")) return Value(automation.TypeName(serial), refusal);
  if (name == QLatin1String("IsType")) return Value(automation.IsType(serial), refusal);
  known = false;
  return std::nullopt;
}

}  // namespace

QDBusMessage TRadiographTree::Property(const QDBusMessage& message, std::uint64_t serial, const QString& name) {
  TAutomationRefusal refusal;
  bool known = false;
  const std::optional<QVariant> value = Read(fAutomation, serial, name, refusal, known);
  if (!known) return InvalidArgs(message, QStringLiteral("No such property: ") + name);
  if (!value) return ErrorReply(message, refusal);
  return message.createReply(QVariant::fromValue(QDBusVariant(*value)));
}

QDBusMessage TRadiographTree::Properties(const QDBusMessage& message, std::uint64_t serial) {
  QVariantMap values;
  for (const char* name : kRadiographProperties) {
    TAutomationRefusal refusal;
    bool known = false;
    const std::optional<QVariant> value = Read(fAutomation, serial, QString::fromLatin1(name), refusal, known);
    if (!value) return ErrorReply(message, refusal);
    values.insert(QString::fromLatin1(name), *value);
  }
  return message.createReply(QVariant::fromValue(values));
}

QDBusMessage TRadiographTree::SetProperty(const QDBusMessage& message, std::uint64_t serial, const QString& name,
                                          const QVariant& value) {
  const int type = value.typeId();
  const auto wrongType = [&] { return InvalidArgs(message, QStringLiteral("Wrong type of value for ") + name); };
  if (const std::optional<TParticular> text = TextParticular(name)) {
    if (type != QMetaType::QString) return wrongType();
    return Done(message, fAutomation.SetText(serial, *text, value.toString().toStdString()));
  }
  if (name == QLatin1String("Sex")) {
    if (type != QMetaType::Bool) return wrongType();
    return Done(message, fAutomation.SetSex(serial, value.toBool()));
  }
  if (name == QLatin1String("Magnification")) {
    // Whole numbers are magnifications too.
    if (type != QMetaType::Double && type != QMetaType::Int && type != QMetaType::UInt &&
        type != QMetaType::LongLong && type != QMetaType::ULongLong)
      return wrongType();
    return Done(message, fAutomation.SetMagnification(serial, value.toDouble()));
  }
  return message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
                                  QStringLiteral("The property cannot be changed: ") + name);
}

QDBusMessage TRadiographTree::Method(const QDBusMessage& message, std::uint64_t serial) {
  if (!message.interface().isEmpty() && message.interface() != QLatin1String(kAutomationRadiographInterface))
    return message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"), message.interface());
  const QString member = message.member();
  const QString signature = message.signature();
  const QList<QVariant> arguments = message.arguments();
  if (member == QLatin1String("SetCurrent") && signature.isEmpty()) return Done(message, fAutomation.SetCurrent(serial));
  if (member == QLatin1String("CopyImage") && signature.isEmpty()) return Done(message, fAutomation.CopyImage(serial));
  if (signature == QLatin1String("b")) {
    const bool on = arguments.front().toBool();
    if (member == QLatin1String("Close")) return Done(message, fAutomation.CloseRadiograph(serial, on));
    if (member == QLatin1String("SetInView")) return Done(message, fAutomation.SetInView(serial, on));
    if (member == QLatin1String("SetImageVisible")) return Done(message, fAutomation.SetImageVisible(serial, on));
  }
  if (member == QLatin1String("LoadDigBitmapFromFile") && signature == QLatin1String("s")) {
    const TAutomationReply<int> loaded =
        fAutomation.LoadDigBitmapFromFile(serial, arguments.front().toString().toStdString());
    if (!loaded.Ok()) return ErrorReply(message, loaded.Refusal);
    return message.createReply(*loaded.Value);
  }
  return message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                  QStringLiteral("No method %1 with arguments (%2)").arg(member, signature));
}

// --- the service

TAutomationService::TAutomationService(TAutomationHost& host, QDBusConnection bus, QObject* parent)
    : QObject(parent),
      fAutomation(host),
      fBus(std::move(bus)),
      fApplication(std::make_unique<TApplicationObject>(*this)),
      fRadiographs(std::make_unique<TRadiographsObject>(*this)),
      fTree(std::make_unique<TRadiographTree>(fAutomation)) {}

TAutomationService::~TAutomationService() {
  if (!fBus.isConnected()) return;
  fBus.unregisterObject(QString::fromLatin1(kAutomationApplicationPath));
  fBus.unregisterObject(QString::fromLatin1(kAutomationRadiographsPath));
  fBus.unregisterObject(QString::fromLatin1(kAutomationRadiographPath), QDBusConnection::UnregisterTree);
}

bool TAutomationService::Register() {
  if (!fBus.isConnected()) return false;
  constexpr auto options = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties;
  return fBus.registerObject(QString::fromLatin1(kAutomationApplicationPath), fApplication.get(), options) &&
         fBus.registerObject(QString::fromLatin1(kAutomationRadiographsPath), fRadiographs.get(), options) &&
         fBus.registerVirtualObject(QString::fromLatin1(kAutomationRadiographPath), fTree.get(),
                                    QDBusConnection::SubPath);
}

QDBusObjectPath TAutomationService::RadiographPath(std::optional<std::uint64_t> serial) {
  if (!serial) return QDBusObjectPath(QStringLiteral("/"));
  return QDBusObjectPath(QString::fromLatin1(kAutomationRadiographPath) + QLatin1Char('/') + QString::number(*serial));
}

}  // namespace lumacet
