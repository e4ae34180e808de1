// The automation calls on the session bus: the program's Application object, its list of
// Radiographs and one Radiograph object per open radiograph handed out, each under a path
// of its own that never passes to another radiograph. The calls arrive on the main thread
// through the event loop and go to TAutomation; a refusal is a D-Bus error with the reason.
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

#include "shell/automation.h"

namespace lumacet {

inline constexpr const char* kAutomationApplicationPath = "/org/lumacet/Lumacet/Application";
inline constexpr const char* kAutomationRadiographsPath = "/org/lumacet/Lumacet/Radiographs";
inline constexpr const char* kAutomationRadiographPath = "/org/lumacet/Lumacet/Radiograph";
inline constexpr const char* kAutomationRadiographInterface = "org.lumacet.Lumacet.Radiograph";
// The error names of the refusals.
inline constexpr const char* kAutomationErrorFailed = "org.lumacet.Lumacet.Error.Failed";
inline constexpr const char* kAutomationErrorBusy = "org.lumacet.Lumacet.Error.Busy";
inline constexpr const char* kAutomationErrorGone = "org.lumacet.Lumacet.Error.Gone";

class TAutomationService;

// The part every object shares: the way back to the service and the error replies.
class TAutomationObject : public QObject, protected QDBusContext {
  Q_OBJECT

 public:
  explicit TAutomationObject(TAutomationService& service) : fService(service) {}
  QDBusObjectPath ApplicationPath() const;

 protected:
  // The value of a reply, or a default after the error reply was sent.
  template <typename T>
  T Answer(const TAutomationReply<T>& reply);
  TAutomation& Automation();

  TAutomationService& fService;
};

class TApplicationObject : public TAutomationObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.lumacet.Lumacet.Application")
  // The objects a client reaches from every other one; on the bus only what a class itself declares.
  Q_PROPERTY(QDBusObjectPath Application READ ApplicationPath)
  Q_PROPERTY(QDBusObjectPath Parent READ ApplicationPath)
  // Changed through methods: a property write could not be refused with a reason.
  Q_PROPERTY(QString DefaultDataFileName READ DefaultDataFileName)
  Q_PROPERTY(QString DefaultDataPath READ DefaultDataPath)
  Q_PROPERTY(QString DefaultImagePath READ DefaultImagePath)
  Q_PROPERTY(QString Version READ Version)
  Q_PROPERTY(QDBusObjectPath Radiographs READ Radiographs)

 public:
  using TAutomationObject::TAutomationObject;
  QString DefaultDataFileName();
  QString DefaultDataPath();
  QString DefaultImagePath();
  QString Version() const;
  QDBusObjectPath Radiographs() const;

 public slots:
  void SetDefaultDataFileName(const QString& Value);
  void SetDefaultDataPath(const QString& Value);
  void SetDefaultImagePath(const QString& Value);
  int OpenRadiograph(const QString& FileName, const QString& Name, const QString& Date, const QString& Type,
                     const QString& Comments, bool Partial);
  void Close();
  void CopyPicture();
  void CopyResults();
  void Print(uint PrintType);
  void SetAnalysisView(bool Shown);
  void SetVisible(bool Visible);
  int CreateRadiograph(const QString& Type);
  int SaveIniSettings();
};

class TRadiographsObject : public TAutomationObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.lumacet.Lumacet.Radiographs")
  Q_PROPERTY(QDBusObjectPath Application READ ApplicationPath)
  Q_PROPERTY(QDBusObjectPath Parent READ ApplicationPath)
  Q_PROPERTY(QDBusObjectPath Current READ Current)

 public:
  using TAutomationObject::TAutomationObject;
  QDBusObjectPath Current();

 public slots:
  // The object of the slot, "/" for an empty slot or an index out of 0..9.
  QDBusObjectPath Item(int Index);
};

// Every radiograph handed out, under its serial: one object serves them all, so that a path
// whose radiograph was closed still answers, with the error that says so, and a property
// write can be refused with its reason.
class TRadiographTree : public QDBusVirtualObject {
  Q_OBJECT

 public:
  explicit TRadiographTree(TAutomation& automation) : fAutomation(automation) {}
  QString introspect(const QString& path) const override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

 private:
  // The reply to one call: the values, or an error.
  QDBusMessage Answer(const QDBusMessage& message, std::uint64_t serial);
  QDBusMessage Property(const QDBusMessage& message, std::uint64_t serial, const QString& name);
  QDBusMessage Properties(const QDBusMessage& message, std::uint64_t serial);
  QDBusMessage SetProperty(const QDBusMessage& message, std::uint64_t serial, const QString& name,
                           const QVariant& value);
  QDBusMessage Method(const QDBusMessage& message, std::uint64_t serial);

  TAutomation& fAutomation;
};

class TAutomationService : public QObject {
  Q_OBJECT

 public:
  TAutomationService(TAutomationHost& host, QDBusConnection bus = QDBusConnection::sessionBus(),
                     QObject* parent = nullptr);
  ~TAutomationService() override;
  // Puts the Application and Radiographs objects on the bus; false without a bus. The
  // service name is taken by the instance service afterwards, so that a client activated
  // by the name finds the objects there.
  bool Register();

  TAutomation& Automation() { return fAutomation; }
  // The path of the object with that serial, "/" for none.
  static QDBusObjectPath RadiographPath(std::optional<std::uint64_t> serial);

 private:
  TAutomation fAutomation;
  QDBusConnection fBus;
  std::unique_ptr<TApplicationObject> fApplication;
  std::unique_ptr<TRadiographsObject> fRadiographs;
  std::unique_ptr<TRadiographTree> fTree;
};

}  // namespace lumacet
