// The options dialog: the in-memory settings on pages, copied back on OK or Apply after the
// entries that must read (default dates and magnification, folders, default texts) have
// been checked. Writing the file is left to the settings' own path (exit, "Save Settings").
// Pages appear for the features the program has.
#pragma once

#include <QDialog>
#include <QToolButton>

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings.h"
#include "shell/workspace.h"
#include "support/dates.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QFormLayout;
class QLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace lumacet {

// A colour setting: the button shows the colour and opens the colour chooser.
class TColourButton : public QToolButton {
 public:
  explicit TColourButton(QWidget* parent = nullptr);
  uint32_t Colour() const { return fColour; }  // 0x00BBGGRR
  void SetColour(uint32_t colour);

 private:
  uint32_t fColour = 0;
};

class TLCOptions : public QDialog {
  Q_OBJECT

 public:
  // `applied` runs after the settings took the dialog's values, for the program to follow them.
  TLCOptions(TSettings& settings, TWorkspacePrompts& prompts, TTextFormats formats,
             std::vector<std::string> typeNames, std::function<void()> applied, QWidget* parent = nullptr);
  ~TLCOptions() override;

  // Shows the settings' current values.
  void Load();
  // Checks the entries, then copies them into the settings; false (nothing copied) on a
  // refusal, which the user has been shown.
  bool Apply();
  // Opens at the page of that caption ("&Morph" and the like), when there is one.
  void ShowPage(const QString& caption);
  // Asks the user levels whether an action of that name may go ahead, telling a refusal;
  // without it every action may.
  void SetPermission(std::function<bool(std::string_view action)> permit) { fPermit = std::move(permit); }

  void accept() override;

 private:
  template <class T>
  using TField = std::function<T&(TSettings&)>;

  QWidget* BuildViewPage();
  QWidget* BuildRadiographPage();
  QWidget* BuildGeneralPage();
  QWidget* BuildImagePage();
  QWidget* BuildResultsPage();
  QWidget* BuildStylesPage();
  QLayout* LanguageChoice();
  QWidget* BuildInputPage();

  // The tablet definitions of the input page.
  void FillDigitizers(const QString& selected);
  void ButDigPropertiesClick();
  void ButDigAddClick();
  void ButDigDeleteClick();
  void ButDigSetDefClick();
  bool Permit(std::string_view action) const { return !fPermit || fPermit(action); }
  QWidget* BuildMorphPage();

  QCheckBox* Check(const QString& caption, const char* name, TField<bool> field);
  QSpinBox* Spin(const char* name, int low, int high, TField<int> field);
  QDoubleSpinBox* Real(const char* name, double low, double high, int decimals, TField<double> field);
  QComboBox* Choice(const char* name, const QStringList& items, TField<int> field);
  QLineEdit* Line(const char* name, TField<std::string> field);
  QWidget* Folder(const char* name, TField<std::string> field);
  TColourButton* Colour(const char* name, TField<uint32_t> field);
  // A slider with its value beside it (`shown` turns the position into the text); `load` and
  // `store` translate between the setting and the slider's positions.
  QWidget* Slider(const char* name, int low, int high, std::function<int(const TSettings&)> load,
                  std::function<void(TSettings&, int)> store, std::function<QString(int)> shown = {});

  void ShowStyle(int index);
  void KeepStyle(int index);
  // The first entry that cannot be taken: its message shown, its field focused.
  bool Check();

  TSettings& fSettings;
  TWorkspacePrompts& fPrompts;
  TTextFormats fFormats;
  std::vector<std::string> fTypeNames;
  std::function<void()> fApplied;
  std::vector<std::function<void(const TSettings&)>> fLoaders;
  std::vector<std::function<void(TSettings&)>> fStorers;
  QTabWidget* fPages = nullptr;
  std::function<bool(std::string_view)> fPermit;
  TDigitizerDefinitions fDigitizers;
  QComboBox* fDigitizerList = nullptr;
  QLabel* fDefaultDigitizer = nullptr;

  QLineEdit* fDefaultDob = nullptr;
  QLineEdit* fDefaultDateTaken = nullptr;
  QLineEdit* fDefaultMagnification = nullptr;
  QLineEdit* fDefaultName = nullptr;
  QLineEdit* fDefaultComments = nullptr;
  QLineEdit* fDefaultFile = nullptr;
  std::vector<QLineEdit*> fFolders;

  std::array<TTextStyle, kTextStyleCount> fStyles;
  int fShownStyle = 0;
  QListWidget* fStyleList = nullptr;
  QFontComboBox* fStyleFont = nullptr;
  QString fStyleFontShown;  // the family the font box showed for the style
  QSpinBox* fStyleSize = nullptr;
  QComboBox* fStylePitch = nullptr;
  std::array<QCheckBox*, 4> fStyleEffects{};  // bold, italic, underline, strike out
  TColourButton* fStyleColour = nullptr;
  QComboBox* fStyleAlignment = nullptr;
  std::array<QSpinBox*, 3> fStyleIndents{};  // first line, left, right
  QCheckBox* fStyleAsterisks = nullptr;
  QCheckBox* fStyleVariableColour = nullptr;
};

}  // namespace lumacet
