// The automation calls on the session bus: the program's Application object, its list of
// Radiographs and one Radiograph object per open radiograph handed out, each under a path
// of its own that never passes to another radiograph. The calls arrive on the main thread
// through the event loop and go to TAutomation; a refusal is a D-Bus error with the reason.
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "shell/automation.h"

namespace lumacet {

inline constexpr const char* kAutomationApplicationPath = "/org/lumacet/Lumacet/Application";
inline constexpr const char* kAutomationRadiographsPath = "/org/lumacet/Lumacet/Radiographs";
inline constexpr const char* kAutomationRadiographPath = "/org/lumacet/Lumacet/Radiograph/";
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
  template <typename T, typename V = T>
  V Answer(const TAutomationReply<T>& reply);
  TAutomation& Automation();

  TAutomationService& fService;
};

class TApplicationObject : public TAutomationObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.lumacet.Lumacet.Application")
  // The objects a client reaches from every other one; on the bus only what a class itself declares.
  Q_PROPERTY(QDBusObjectPath Application READ ApplicationPath)
  Q_PROPERTY(QDBusObjectPath Parent READ ApplicationPath)
  Q_PROPERTY(QString DefaultDataFileName READ DefaultDataFileName WRITE SetDefaultDataFileName)
  Q_PROPERTY(QString DefaultDataPath READ DefaultDataPath WRITE SetDefaultDataPath)
  Q_PROPERTY(QString DefaultImagePath READ DefaultImagePath WRITE SetDefaultImagePath)
  Q_PROPERTY(QString Version READ Version)
  Q_PROPERTY(QDBusObjectPath Radiographs READ Radiographs)

 public:
  using TAutomationObject::TAutomationObject;
  QString DefaultDataFileName();
  void SetDefaultDataFileName(const QString& value);
  QString DefaultDataPath();
  void SetDefaultDataPath(const QString& value);
  QString DefaultImagePath();
  void SetDefaultImagePath(const QString& value);
  QString Version() const;
  QDBusObjectPath Radiographs() const;

 public slots:
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

class TRadiographObject : public TAutomationObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.lumacet.Lumacet.Radiograph")
  Q_PROPERTY(QDBusObjectPath Application READ ApplicationPath)
  Q_PROPERTY(QDBusObjectPath Parent READ ApplicationPath)
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(bool Sex READ Sex WRITE SetSex)
  Q_PROPERTY(QString DateOfBirth READ DateOfBirth WRITE SetDateOfBirth)
  Q_PROPERTY(QString DateTaken READ DateTaken WRITE SetDateTaken)
  Q_PROPERTY(QString Comments READ Comments WRITE SetComments)
  Q_PROPERTY(double Magnification READ Magnification WRITE SetMagnification)
  Q_PROPERTY(QString TypeName READ TypeName)
  Q_PROPERTY(bool IsType READ IsType)

 public:
  TRadiographObject(TAutomationService& service, std::uint64_t serial)
      : TAutomationObject(service), fSerial(serial) {}
  QString Name();
  void SetName(const QString& value);
  bool Sex();
  void SetSex(bool female);
  QString DateOfBirth();
  void SetDateOfBirth(const QString& value);
  QString DateTaken();
  void SetDateTaken(const QString& value);
  QString Comments();
  void SetComments(const QString& value);
  double Magnification();
  void SetMagnification(double percent);
  QString TypeName();
  bool IsType();

 public slots:
  void SetCurrent();
  void Close(bool SavePrompt);
  void SetInView(bool Shown);
  void SetImageVisible(bool Shown);
  void CopyImage();
  int LoadDigBitmapFromFile(const QString& FileName);

 private:
  QString Particular(TParticular particular);
  void SetParticular(TParticular particular, const QString& value);

  const std::uint64_t fSerial;
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
  // The path of the object with that serial ("/" for none), put on the bus the first time.
  QDBusObjectPath RadiographPath(std::optional<std::uint64_t> serial);

 private:
  TAutomation fAutomation;
  QDBusConnection fBus;
  std::unique_ptr<TApplicationObject> fApplication;
  std::unique_ptr<TRadiographsObject> fRadiographs;
  std::map<std::uint64_t, std::unique_ptr<TRadiographObject>> fObjects;
};

}  // namespace lumacet
