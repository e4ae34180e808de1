#include "app/options_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "app/digitizer_properties.h"
#include "app/language_pack.h"
#include "app/qt_prompts.h"
#include "measure/analysis_text.h"
#include "persistence/data_file.h"
#include "platform/qpainter_canvas.h"
#include "shell/language_packs.h"
#include "shell/radiograph_entry.h"

namespace lumacet {

namespace {

QGroupBox* Group(const QString& title, QLayout* layout) {
  auto* group = new QGroupBox(title);
  group->setLayout(layout);
  return group;
}

// A page that scrolls when the screen is small.
QWidget* Scrolling(QWidget* page) {
  auto* area = new QScrollArea;
  area->setWidget(page);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  return area;
}

// The weight a control line gives a pixel against its distance, drawn as the morph page's
// parameters stand: distance in tracing units to the right, weight 1 at the top.
class TWeightPreview : public QWidget {
 public:
  TWeightPreview() { setFixedSize(kSide + 2 * kInset, kSide + 2 * kInset); }

  void Show(int function, int limit, int fallOff, double exponent, int smoothness) {
    fFunction = function;
    fLimit = limit;
    fFallOff = fallOff;
    fExponent = exponent;
    fSmoothness = smoothness;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::gray);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setClipRect(kInset, kInset, kSide + 1, kSide + 1);
    painter.setPen(QPen(Qt::darkBlue, 1));
    if (fFunction == 0) {
      painter.drawLine(kInset, kInset, fLimit + kInset, kSide + kInset);
      return;
    }
    if (fFunction != 1 && fFunction != 2) return;
    for (int x = 0; x <= kSide; x += 10) {
      // Exponential is shown against its weight at distance 0, the S-curve's maximum.
      const double weight = fFunction == 1 ? std::exp(-double(x * x) / (double(fFallOff) * fFallOff))
                                           : std::pow(fSmoothness / (x + double(fSmoothness)), fExponent);
      const QPointF at(x + kInset, kSide - kSide * weight + kInset);
      painter.drawEllipse(at, 1.5, 1.5);
    }
  }

 private:
  static constexpr int kSide = 100;
  static constexpr int kInset = 5;
  int fFunction = 0;
  int fLimit = 100;
  int fFallOff = 100;
  double fExponent = 8;
  int fSmoothness = 400;
};

const char* const kStyleNames[kTextStyleCount] = {"Style 1", "Style 2", "Style 3", "Style 4",
                                                  "Style 5", "Style 6", "Style 7", "Style 8",
                                                  "Style 9", "Style 10", "Default Printing Style", "Style 12"};

}  // namespace

TColourButton::TColourButton(QWidget* parent) : QToolButton(parent) {
  setIconSize(QSize(32, 14));
  connect(this, &QToolButton::clicked, this, [this] {
    const QColor chosen = QColorDialog::getColor(ToQColor(fColour), this);
    if (chosen.isValid()) SetColour(FromQColor(chosen));
  });
  SetColour(0);
}

void TColourButton::SetColour(uint32_t colour) {
  fColour = colour & 0xFFFFFF;
  QPixmap swatch(iconSize());
  swatch.fill(ToQColor(fColour));
  QPainter(&swatch).drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  setIcon(QIcon(swatch));
}

TLCOptions::TLCOptions(TSettings& settings, TWorkspacePrompts& prompts, TTextFormats formats,
                       std::vector<std::string> typeNames, std::function<void()> applied, QWidget* parent)
    : QDialog(parent),
      fSettings(settings),
      fPrompts(prompts),
      fFormats(std::move(formats)),
      fTypeNames(std::move(typeNames)),
      fApplied(std::move(applied)) {
  setWindowTitle(tr("Options"));
  auto* layout = new QVBoxLayout(this);
  fPages = new QTabWidget;
  fPages->addTab(Scrolling(BuildViewPage()), tr("&View"));
  fPages->addTab(Scrolling(BuildRadiographPage()), tr("&Radiograph"));
  fPages->addTab(Scrolling(BuildGeneralPage()), tr("&General"));
  fPages->addTab(Scrolling(BuildImagePage()), tr("&Image"));
  fPages->addTab(Scrolling(BuildResultsPage()), tr("&Printing && Results"));
  fPages->addTab(Scrolling(BuildStylesPage()), tr("&Styles"));
  fPages->addTab(Scrolling(BuildInputPage()), tr("I&nput"));
  fPages->addTab(Scrolling(BuildMorphPage()), tr("&Morph"));
  // Each page has a help section of its own, found by the page's name.
  for (int page = 0; const char* name :
       {"optionsView", "optionsRadiograph", "optionsGeneral", "optionsImage", "optionsResults", "optionsStyles",
        "optionsInput", "optionsMorph"})
    fPages->widget(page++)->setObjectName(QString::fromLatin1(name));
  layout->addWidget(fPages);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply |
                                       QDialogButtonBox::Help);
  // Each page opens its own section of the help.
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { ShowContextHelp(this); });
  connect(buttons, &QDialogButtonBox::accepted, this, &TLCOptions::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TLCOptions::reject);
  connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { Apply(); });
  layout->addWidget(buttons);
  Load();
}

TLCOptions::~TLCOptions() = default;

QCheckBox* TLCOptions::Check(const QString& caption, const char* name, TField<bool> field) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(QString::fromLatin1(name));
  fLoaders.push_back([box, field](const TSettings& s) { box->setChecked(field(const_cast<TSettings&>(s))); });
  fStorers.push_back([box, field](TSettings& s) { field(s) = box->isChecked(); });
  return box;
}

QSpinBox* TLCOptions::Spin(const char* name, int low, int high, TField<int> field) {
  auto* spin = new QSpinBox;
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(low, high);
  fLoaders.push_back([spin, field](const TSettings& s) { spin->setValue(field(const_cast<TSettings&>(s))); });
  fStorers.push_back([spin, field](TSettings& s) { field(s) = spin->value(); });
  return spin;
}

QDoubleSpinBox* TLCOptions::Real(const char* name, double low, double high, int decimals, TField<double> field) {
  auto* spin = new QDoubleSpinBox;
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(low, high);
  spin->setDecimals(decimals);
  fLoaders.push_back([spin, field](const TSettings& s) { spin->setValue(field(const_cast<TSettings&>(s))); });
  fStorers.push_back([spin, field](TSettings& s) { field(s) = spin->value(); });
  return spin;
}

QComboBox* TLCOptions::Choice(const char* name, const QStringList& items, TField<int> field) {
  auto* combo = new QComboBox;
  combo->setObjectName(QString::fromLatin1(name));
  combo->addItems(items);
  fLoaders.push_back([combo, field](const TSettings& s) {
    const int value = field(const_cast<TSettings&>(s));
    combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : 0);
  });
  fStorers.push_back([combo, field](TSettings& s) { field(s) = combo->currentIndex(); });
  return combo;
}

QLineEdit* TLCOptions::Line(const char* name, TField<std::string> field) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QString::fromLatin1(name));
  fLoaders.push_back([edit, field](const TSettings& s) { edit->setText(Utf8(field(const_cast<TSettings&>(s)))); });
  fStorers.push_back([edit, field](TSettings& s) { field(s) = edit->text().toStdString(); });
  return edit;
}

QWidget* TLCOptions::Folder(const char* name, TField<std::string> field) {
  QLineEdit* edit = Line(name, std::move(field));
  fFolders.push_back(edit);
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* browse = new QPushButton(tr("..."));
  connect(browse, &QPushButton::clicked, this, [this, edit] {
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Folder"), edit->text());
    if (!folder.isEmpty()) edit->setText(folder);
  });
  layout->addWidget(edit, 1);
  layout->addWidget(browse);
  return row;
}

TColourButton* TLCOptions::Colour(const char* name, TField<uint32_t> field) {
  auto* button = new TColourButton;
  button->setObjectName(QString::fromLatin1(name));
  fLoaders.push_back([button, field](const TSettings& s) { button->SetColour(field(const_cast<TSettings&>(s))); });
  fStorers.push_back([button, field](TSettings& s) { field(s) = button->Colour(); });
  return button;
}

QWidget* TLCOptions::Slider(const char* name, int low, int high, std::function<int(const TSettings&)> load,
                            std::function<void(TSettings&, int)> store, std::function<QString(int)> shown) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* slider = new QSlider(Qt::Horizontal);
  slider->setObjectName(QString::fromLatin1(name));
  slider->setRange(low, high);
  auto* value = new QLabel;
  value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000.0")));
  if (!shown) shown = [](int position) { return QString::number(position); };
  connect(slider, &QSlider::valueChanged, value, [value, shown](int position) { value->setText(shown(position)); });
  value->setText(shown(slider->value()));
  layout->addWidget(slider, 1);
  layout->addWidget(value);
  fLoaders.push_back([slider, load](const TSettings& s) { slider->setValue(load(s)); });
  fStorers.push_back([slider, store](TSettings& s) { store(s, slider->value()); });
  return row;
}

QWidget* TLCOptions::BuildViewPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);

  auto* grid = new QFormLayout;
  grid->addRow(Check(tr("Show &Grid"), "viewGrid", [](TSettings& s) -> bool& { return s.View.ViewGrid; }));
  grid->addRow(tr("Grid &density (mm):"),
               Spin("gridDensity", 0, 100, [](TSettings& s) -> int& { return s.View.GridDensity; }));
  grid->addRow(tr("Grid colour:"), Colour("gridColour", [](TSettings& s) -> uint32_t& { return s.View.GridColour; }));
  layout->addWidget(Group(tr("Grid"), grid));

  auto* ruler = new QFormLayout;
  ruler->addRow(tr("Ruler colour:"), Colour("rulerColour", [](TSettings& s) -> uint32_t& { return s.View.RulerColour; }));
  ruler->addRow(Check(tr("Tick &marks"), "rulerTicks", [](TSettings& s) -> bool& { return s.View.RulerTicks; }));
  layout->addWidget(Group(tr("Ruler"), ruler));

  auto* marker = new QFormLayout;
  marker->addRow(tr("Line colour:"),
                 Colour("markerLine", [](TSettings& s) -> uint32_t& { return s.View.NormalMarker.LineColour; }));
  marker->addRow(tr("Fill colour:"),
                 Colour("markerFill", [](TSettings& s) -> uint32_t& { return s.View.NormalMarker.FillColour; }));
  marker->addRow(tr("Size:"), Spin("markerSize", 1, 20, [](TSettings& s) -> int& { return s.View.NormalMarker.Size; }));
  auto* shape = new QComboBox;
  shape->setObjectName(QStringLiteral("markerShape"));
  shape->addItems({QStringLiteral("Square"), QStringLiteral("Circle"), QStringLiteral("Diamond"),
                   QStringLiteral("Triangle")});
  fLoaders.push_back([shape](const TSettings& s) {
    const int index = shape->findText(Utf8(s.View.NormalMarker.Shape));
    shape->setCurrentIndex(index >= 0 ? index : 0);
  });
  fStorers.push_back([shape](TSettings& s) { s.View.NormalMarker.Shape = shape->currentText().toStdString(); });
  marker->addRow(tr("Shape:"), shape);
  layout->addWidget(Group(tr("Selection markers"), marker));

  auto* labels = new QFormLayout;
  auto* font = new QFontComboBox;
  font->setObjectName(QStringLiteral("labelFont"));
  auto shown = std::make_shared<QString>();
  fLoaders.push_back([font, shown](const TSettings& s) {
    font->setCurrentFont(QFont(Utf8(s.View.FontName)));
    *shown = font->currentFont().family();
  });
  // A font this system lacks shows as a substitute; its name is kept unless another is chosen.
  fStorers.push_back([font, shown](TSettings& s) {
    if (font->currentFont().family() != *shown) s.View.FontName = font->currentFont().family().toStdString();
  });
  labels->addRow(tr("&Font:"), font);
  labels->addRow(tr("Size (pt):"), Spin("labelSize", 4, 72, [](TSettings& s) -> int& { return s.View.FontSize; }));
  labels->addRow(Check(tr("&Bold"), "labelBold", [](TSettings& s) -> bool& { return s.View.FontBold; }));
  labels->addRow(Check(tr("&Italic"), "labelItalic", [](TSettings& s) -> bool& { return s.View.FontItalic; }));
  labels->addRow(
      Check(tr("&Transparent"), "labelTransparent", [](TSettings& s) -> bool& { return s.View.FontTransparent; }));
  labels->addRow(Check(tr("&Outline"), "labelOutline", [](TSettings& s) -> bool& { return s.View.FontOutline; }));
  labels->addRow(tr("Outline colour:"),
                 Colour("labelOutlineColour", [](TSettings& s) -> uint32_t& { return s.View.FontOutlineColour; }));
  labels->addRow(Check(tr("Show measurement &hints"), "variableHints",
                       [](TSettings& s) -> bool& { return s.View.VariableHints; }));
  layout->addWidget(Group(tr("Labels"), labels));

  auto* deviation = new QGridLayout;
  // The label's buddy makes "&n" a mnemonic instead of a printed ampersand.
  auto* deviationLabel = new QLabel(tr("Deviation from Mea&n:"));
  QComboBox* deviationChoice = Choice("deviationFromMean", {tr("In Color"), tr("With Asterisks"), tr("Don't Show")},
                                      [](TSettings& s) -> int& { return s.View.DeviationFromMean; });
  deviationLabel->setBuddy(deviationChoice);
  deviation->addWidget(deviationLabel, 0, 0, 1, 2);
  deviation->addWidget(deviationChoice, 0, 2, 1, 2);
  for (int band = 0; band < 8; ++band) {
    const QString caption = band == 7 ? tr("No norm") : QString::number(band - 3);
    deviation->addWidget(new QLabel(caption), 1 + band / 4, (band % 4) * 2 % 8, Qt::AlignRight);
    const std::string name = "deviationColour" + std::to_string(band);
    TColourButton* button = Colour(name.c_str(), [band](TSettings& s) -> uint32_t& {
      return s.View.DeviationColour[static_cast<size_t>(band)];
    });
    deviation->addWidget(button, 1 + band / 4, (band % 4) * 2 % 8 + 1);
  }
  layout->addWidget(Group(tr("Deviation colours"), deviation));
  layout->addStretch();
  return page;
}

QWidget* TLCOptions::BuildRadiographPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);

  auto* shown = new QFormLayout;
  shown->addRow(tr("Radiograph &title:"),
                Choice("title",
                       {tr("Name"), tr("Initials"), tr("Initials and Age"), tr("Date of Birth"), tr("Date Taken"),
                        tr("Comments"), tr("Age"), tr("Initials and Comments")},
                       [](TSettings& s) -> int& { return s.Radiograph.Title; }));
  shown->addRow(tr("&Age format:"),
                Choice("ageFormat",
                       {tr("Years:Months"), tr("Years (Fractional)"), tr("Months:Days"), tr("Months (Fractional)"),
                        tr("Days")},
                       [](TSettings& s) -> int& { return s.Radiograph.AgeFormat; }));
  shown->addRow(Check(tr("Zoom to Best &Fit on Loading"), "bestFitOnLoading",
                      [](TSettings& s) -> bool& { return s.Radiograph.BestFitOnLoading; }));
  shown->addRow(Check(tr("Zoom to &Best Fit on Selecting"), "bestFitOnSelecting",
                      [](TSettings& s) -> bool& { return s.Radiograph.BestFitOnSelecting; }));
  shown->addRow(Check(tr("S&ort on Loading"), "sortOnLoading",
                      [](TSettings& s) -> bool& { return s.Radiograph.SortFitOnLoading; }));
  shown->addRow(Check(tr("Auto Scale to Life Si&ze"), "showLifeSize",
                      [](TSettings& s) -> bool& { return s.Radiograph.ShowLifeSize; }));
  layout->addWidget(Group(tr("Radiographs"), shown));

  auto* pens = new QGridLayout;
  pens->addWidget(new QLabel(tr("Drawing st&yle:")), 0, 0, 1, 2);
  pens->addWidget(Choice("drawingStyle",
                         {tr("As Defined"), tr("By Position"), tr("Current: as Defined, Others: by Position")},
                         [](TSettings& s) -> int& { return s.Radiograph.DrawingStyle; }),
                  0, 2, 1, 2);
  const QStringList lineStyles{tr("Solid"), tr("Dash"), tr("Dot"), tr("Dash Dot"), tr("Dash Dot Dot"), tr("Clear")};
  for (int position = 0; position < kPositionCount; ++position) {
    auto pen = [position](TSettings& s) -> TPositionPen& {
      return s.Radiograph.PositionPens[static_cast<size_t>(position)];
    };
    const std::string suffix = std::to_string(position);
    pens->addWidget(new QLabel(tr("Position %1").arg(position)), position + 1, 0);
    pens->addWidget(Colour(("penColour" + suffix).c_str(), [pen](TSettings& s) -> uint32_t& { return pen(s).Colour; }),
                    position + 1, 1);
    pens->addWidget(Choice(("penStyle" + suffix).c_str(), lineStyles, [pen](TSettings& s) -> int& { return pen(s).Style; }),
                    position + 1, 2);
    pens->addWidget(Spin(("penWidth" + suffix).c_str(), 0, 20, [pen](TSettings& s) -> int& { return pen(s).Width; }),
                    position + 1, 3);
  }
  layout->addWidget(Group(tr("Tracing pens"), pens));

  auto* defaults = new QFormLayout;
  auto* type = new QComboBox;
  type->setObjectName(QStringLiteral("defaultType"));
  type->setEditable(true);
  for (const std::string& name : fTypeNames) type->addItem(Utf8(name));
  fLoaders.push_back([type](const TSettings& s) { type->setCurrentText(Utf8(s.Radiograph.DefaultType)); });
  fStorers.push_back([type](TSettings& s) { s.Radiograph.DefaultType = type->currentText().toStdString(); });
  defaults->addRow(tr("Type:"), type);
  fDefaultName = Line("defaultName", [](TSettings& s) -> std::string& { return s.Radiograph.DefaultName; });
  fDefaultName->setMaxLength(static_cast<int>(kNameWidth));
  defaults->addRow(tr("Name:"), fDefaultName);
  fDefaultDob = Line("defaultDob", [](TSettings& s) -> std::string& { return s.Radiograph.DefaultDob; });
  fDefaultDob->setMaxLength(10);
  defaults->addRow(tr("Date of Birth:"), fDefaultDob);
  fDefaultDateTaken = Line("defaultDateTaken", [](TSettings& s) -> std::string& { return s.Radiograph.DefaultDateTaken; });
  fDefaultDateTaken->setMaxLength(10);
  defaults->addRow(tr("Date Taken:"), fDefaultDateTaken);
  fDefaultMagnification =
      Line("defaultMagnification", [](TSettings& s) -> std::string& { return s.Radiograph.DefaultMagnification; });
  defaults->addRow(tr("Magnification (%):"), fDefaultMagnification);
  fDefaultComments = Line("defaultComments", [](TSettings& s) -> std::string& { return s.Radiograph.DefaultComments; });
  fDefaultComments->setMaxLength(static_cast<int>(kCommentsWidth));
  defaults->addRow(tr("Comments:"), fDefaultComments);
  auto* sex = new QComboBox;
  sex->setObjectName(QStringLiteral("defaultSex"));
  sex->addItems({tr("Male"), tr("Female")});
  fLoaders.push_back([sex](const TSettings& s) { sex->setCurrentIndex(s.Radiograph.DefaultSex ? 1 : 0); });
  fStorers.push_back([sex](TSettings& s) { s.Radiograph.DefaultSex = sex->currentIndex() == 1; });
  defaults->addRow(tr("Sex:"), sex);
  fDefaultFile = Line("defaultFile", [](TSettings& s) -> std::string& { return s.Radiograph.DefaultFile; });
  defaults->addRow(tr("Data file:"), fDefaultFile);
  defaults->addRow(Check(tr("&Remember the latest entries"), "defaultRemember",
                         [](TSettings& s) -> bool& { return s.Radiograph.DefaultRemember; }));
  layout->addWidget(Group(tr("New radiographs"), defaults));

  auto* text = new QFormLayout;
  auto formatBit = [this](const QString& caption, const char* name, int bit) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    fLoaders.push_back([box, bit](const TSettings& s) { box->setChecked((s.Radiograph.TextFormat & bit) != 0); });
    fStorers.push_back([box, bit](TSettings& s) {
      s.Radiograph.TextFormat = box->isChecked() ? s.Radiograph.TextFormat | bit : s.Radiograph.TextFormat & ~bit;
    });
    return box;
  };
  text->addRow(formatBit(tr("Show &normal values"), "textNormals", kTextLineNormals));
  text->addRow(formatBit(tr("Show &graph"), "textGraph", kTextLineGraph));
  text->addRow(Check(tr("&Word wrap"), "textWordWrap", [](TSettings& s) -> bool& { return s.Radiograph.TextWordWrap; }));
  layout->addWidget(Group(tr("Analysis text"), text));
  layout->addStretch();
  return page;
}

QWidget* TLCOptions::BuildGeneralPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* folders = new QFormLayout;
  folders->addRow(tr("Radiograph &types:"), Folder("lcrPath", [](TSettings& s) -> std::string& { return s.General.LcrPath; }));
  folders->addRow(tr("Radiograph &data:"), Folder("csvPath", [](TSettings& s) -> std::string& { return s.General.CsvPath; }));
  folders->addRow(tr("&Images:"), Folder("bmpPath", [](TSettings& s) -> std::string& { return s.General.BmpPath; }));
  layout->addWidget(Group(tr("Default folders"), folders));

  auto* analysis = new QFormLayout;
  analysis->addRow(Check(tr("Show the &analysis"), "analysisOn", [](TSettings& s) -> bool& { return s.General.AnalysisOn; }));
  analysis->addRow(tr("Analysis &mode:"), Choice("analysisMode", {tr("Current Only"), tr("Comparative"), tr("All")},
                                                [](TSettings& s) -> int& { return s.General.AnalysisMode; }));
  analysis->addRow(tr("&Not available:"),
                   Line("notAvailable", [](TSettings& s) -> std::string& { return s.General.NotAvailable; }));
  layout->addWidget(Group(tr("Analysis"), analysis));

  auto* files = new QFormLayout;
  files->addRow(Check(tr("Dates &compatible with version 1 files"), "compatibility",
                      [](TSettings& s) -> bool& { return s.General.Compatibility; }));
  layout->addWidget(Group(tr("Data files"), files));

  layout->addWidget(Group(tr("Language"), LanguageChoice()));
  layout->addStretch();
  return page;
}

// The packs found beside the program, English first. A language the settings name without
// a pack stays listed, so that OK does not change it unasked.
QLayout* TLCOptions::LanguageChoice() {
  auto* combo = new QComboBox;
  combo->setObjectName(QStringLiteral("language"));
  auto* layout = new QFormLayout;
  layout->addRow(tr("&Language:"), combo);
  layout->addRow(new QLabel(tr("A new language takes effect at the next start of Lumacet.")));
  fLoaders.push_back([combo](const TSettings& s) {
    combo->clear();
    std::vector<std::string> languages = InstalledLanguages(QCoreApplication::applicationDirPath().toStdString());
    languages.insert(languages.begin(), std::string());
    if (std::find(languages.begin(), languages.end(), s.General.Language) == languages.end())
      languages.push_back(s.General.Language);
    for (const std::string& language : languages)
      combo->addItem(LanguageDisplayName(language), QString::fromStdString(language));
    combo->setCurrentIndex(combo->findData(QString::fromStdString(s.General.Language)));
  });
  fStorers.push_back([this, combo](TSettings& s) {
    const std::string chosen = combo->currentData().toString().toStdString();
    if (chosen == s.General.Language) return;
    s.General.Language = chosen;
    QMessageBox::information(this, QStringLiteral("Lumacet"),
                             DisplayText(TText(kLanguageChangedMessage, {combo->currentText().toStdString()})));
  });
  return layout;
}

QWidget* TLCOptions::BuildResultsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* results = new QFormLayout;
  results->addRow(tr("&Folder:"),
                  Folder("resultsPath", [](TSettings& s) -> std::string& { return s.General.ResultsPath; }));
  results->addRow(tr("&Delimiter:"), Choice("resultsDelimiter", {tr("Tab"), tr("Comma"), tr("Space"), tr("CR - LF")},
                                            [](TSettings& s) -> int& { return s.General.ResultsDelimiter; }));
  layout->addWidget(Group(tr("Results"), results));
  layout->addStretch();
  return page;
}

QWidget* TLCOptions::BuildImagePage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* scale = new QFormLayout;
  scale->addRow(tr("Pixel width (0.1 mm):"),
                Real("bmpScaleX", 0.001, 1000, 3, [](TSettings& s) -> double& { return s.General.BmpScaleX; }));
  scale->addRow(tr("Pixel height (0.1 mm):"),
                Real("bmpScaleY", 0.001, 1000, 3, [](TSettings& s) -> double& { return s.General.BmpScaleY; }));
  layout->addWidget(Group(tr("Default image scale"), scale));
  auto* dicom = new QFormLayout;
  dicom->addRow(Check(tr("Set brightness and contrast from the file"), "dicomWindowAdjust",
                      [](TSettings& s) -> bool& { return s.General.DicomWindowAdjust; }));
  dicom->addRow(tr("Update patient data:"), Choice("dicomPatientData", {tr("No"), tr("Ask First"), tr("Update")},
                                                  [](TSettings& s) -> int& { return s.General.DicomPatientData; }));
  layout->addWidget(Group(tr("DICOM"), dicom));
  auto* enhance = new QFormLayout;
  enhance->addRow(tr("Adaptive equalization tile (%):"),
                  Spin("adaptiveSize", 5, 50, [](TSettings& s) -> int& { return s.General.AdaptiveSize; }));
  enhance->addRow(tr("Auto levels cut-off (%):"),
                  Spin("levelsCutoff", 0, 10, [](TSettings& s) -> int& { return s.General.LevelsCutoff; }));
  layout->addWidget(Group(tr("Enhancement"), enhance));
  layout->addStretch();
  return page;
}

QWidget* TLCOptions::BuildInputPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* input = new QFormLayout;
  input->addRow(tr("&Input Device:"), Choice("inputDevice", {tr("Digitizer"), tr("Image File"), tr("Scanner"), tr("Ask")},
                                             [](TSettings& s) -> int& { return s.General.InputDevice; }));
  layout->addLayout(input);

  auto* tablets = new QGridLayout;
  tablets->addWidget(new QLabel(tr("Default Digitizer:")), 0, 0);
  fDefaultDigitizer = new QLabel;
  fDefaultDigitizer->setObjectName(QStringLiteral("defaultDigitizer"));
  fDefaultDigitizer->setTextFormat(Qt::PlainText);
  QFont bold = fDefaultDigitizer->font();
  bold.setBold(true);
  fDefaultDigitizer->setFont(bold);
  tablets->addWidget(fDefaultDigitizer, 0, 1);
  fDigitizerList = new QComboBox;
  fDigitizerList->setObjectName(QStringLiteral("digitizers"));
  auto* listLabel = new QLabel(tr("D&igitizers:"));
  listLabel->setBuddy(fDigitizerList);
  tablets->addWidget(listLabel, 1, 0);
  tablets->addWidget(fDigitizerList, 1, 1);
  auto* buttons = new QHBoxLayout;
  const std::pair<QString, void (TLCOptions::*)()> actions[] = {
      {tr("&Properties..."), &TLCOptions::ButDigPropertiesClick},
      {tr("&Add..."), &TLCOptions::ButDigAddClick},
      {tr("&Delete"), &TLCOptions::ButDigDeleteClick},
      {tr("Set As De&fault"), &TLCOptions::ButDigSetDefClick}};
  for (const auto& [caption, handler] : actions) {
    auto* button = new QPushButton(caption);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    buttons->addWidget(button);
  }
  tablets->addLayout(buttons, 2, 0, 1, 2);
  layout->addWidget(Group(tr("Digitizer tablets"), tablets));
  layout->addStretch();

  // The definitions change with the dialog's other values: on OK or Apply.
  fLoaders.push_back([this](const TSettings& s) {
    fDigitizers = s.Digitizers;
    FillDigitizers(Utf8(fDigitizers.Default));
  });
  fStorers.push_back([this](TSettings& s) { s.Digitizers = fDigitizers; });
  return page;
}

void TLCOptions::FillDigitizers(const QString& selected) {
  fDigitizerList->clear();
  for (const auto& entry : fDigitizers.Entries) fDigitizerList->addItem(Utf8(entry.first));
  const int index = fDigitizerList->findText(selected, Qt::MatchFixedString);
  fDigitizerList->setCurrentIndex(index >= 0 ? index : 0);
  fDefaultDigitizer->setText(fDigitizers.Default.empty() || fDigitizers.Find(fDigitizers.Default) == nullptr
                                 ? tr("None")
                                 : Utf8(fDigitizers.Default));
}

void TLCOptions::ButDigPropertiesClick() {
  if (fDigitizerList->currentIndex() < 0 || !Permit("DigitizerProperties")) return;
  const std::string name = fDigitizerList->currentText().toStdString();
  TDigitizer definition;
  definition.Name = name;
  if (const TResult loaded = definition.LoadSettings(*fDigitizers.Find(name)); !loaded)
    ShowTabletError(this, loaded.Text());
  TDigitizerProperties properties(definition, this);
  properties.exec();
  // Written back after Cancel too, then with what was read: a definition short of fields is
  // stored whole.
  fDigitizers.Store(name, definition.SettingsString());
}

void TLCOptions::ButDigAddClick() {
  bool ok = false;
  const QString name =
      QInputDialog::getText(this, tr("New Digitizer"), tr("Enter Digitizer Name:"), QLineEdit::Normal, tr("Generic"), &ok);
  if (!ok) return;
  if (const TResult added = fDigitizers.Add(name.toStdString()); !added) {
    QMessageBox::warning(this, QStringLiteral("Lumacet"), DisplayText(added.Text()));
    return;
  }
  FillDigitizers(name);
}

void TLCOptions::ButDigDeleteClick() {
  if (fDigitizerList->currentIndex() < 0 || !Permit("DigitizerDelete")) return;
  if (const TResult deleted = fDigitizers.Delete(fDigitizerList->currentText().toStdString()); !deleted) {
    QMessageBox::warning(this, QStringLiteral("Lumacet"), DisplayText(deleted.Text()));
    return;
  }
  FillDigitizers({});
}

void TLCOptions::ButDigSetDefClick() {
  if (fDigitizerList->currentIndex() < 0 || !Permit("DigitizerDefault")) return;
  fDigitizers.Default = fDigitizerList->currentText().toStdString();
  FillDigitizers(Utf8(fDigitizers.Default));
}

QWidget* TLCOptions::BuildStylesPage() {
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  fStyleList = new QListWidget;
  fStyleList->setObjectName(QStringLiteral("styles"));
  for (const char* name : kStyleNames) fStyleList->addItem(tr(name));
  fStyleList->setMaximumWidth(180);
  layout->addWidget(fStyleList);

  auto* form = new QFormLayout;
  fStyleFont = new QFontComboBox;
  fStyleFont->setObjectName(QStringLiteral("styleFont"));
  form->addRow(tr("&Font:"), fStyleFont);
  fStyleSize = new QSpinBox;
  fStyleSize->setObjectName(QStringLiteral("styleSize"));
  fStyleSize->setRange(1, 200);
  form->addRow(tr("Si&ze:"), fStyleSize);
  fStylePitch = new QComboBox;
  fStylePitch->addItems({tr("Default"), tr("Variable"), tr("Fixed")});
  form->addRow(tr("&Pitch:"), fStylePitch);
  const QString effects[] = {tr("&Bold"), tr("&Italic"), tr("&Underline"), tr("Stri&keout")};
  for (size_t i = 0; i < fStyleEffects.size(); ++i) {
    fStyleEffects[i] = new QCheckBox(effects[i]);
    form->addRow(fStyleEffects[i]);
  }
  fStyleEffects[0]->setObjectName(QStringLiteral("styleBold"));
  fStyleColour = new TColourButton;
  fStyleColour->setObjectName(QStringLiteral("styleColour"));
  form->addRow(tr("&Colour:"), fStyleColour);
  fStyleAlignment = new QComboBox;
  fStyleAlignment->addItems({tr("Left"), tr("Right"), tr("Center")});
  form->addRow(tr("&Alignment:"), fStyleAlignment);
  const QString indents[] = {tr("First line indent:"), tr("Left indent:"), tr("Right indent:")};
  for (size_t i = 0; i < fStyleIndents.size(); ++i) {
    fStyleIndents[i] = new QSpinBox;
    fStyleIndents[i]->setRange(0, 200);
    form->addRow(indents[i], fStyleIndents[i]);
  }
  fStyleAsterisks = new QCheckBox(tr("Show &Asterisks"));
  fStyleVariableColour = new QCheckBox(tr("Use &Variable Color"));
  form->addRow(fStyleAsterisks);
  form->addRow(fStyleVariableColour);
  layout->addLayout(form, 1);

  connect(fStyleList, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0) return;
    KeepStyle(fShownStyle);
    ShowStyle(row);
  });
  fLoaders.push_back([this](const TSettings& s) {
    fStyles = s.Styles;
    ShowStyle(fShownStyle);
  });
  fStorers.push_back([this](TSettings& s) {
    KeepStyle(fShownStyle);
    s.Styles = fStyles;
  });
  return page;
}

QWidget* TLCOptions::BuildMorphPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* top = new QFormLayout;
  QComboBox* function =
      Choice("warpFunction", {tr("Linear"), tr("S-curve"), tr("Exponential"), tr("Triangle interpolation")},
             [](TSettings& s) -> int& { return s.General.WarpFunction; });
  top->addRow(tr("&Warping function:"), function);
  layout->addLayout(top);

  auto* parameters = new QFormLayout;
  QWidget* limit = Slider(
      "morphLimit", 1, 200, [](const TSettings& s) { return s.General.MorphParam1; },
      [](TSettings& s, int v) { s.General.MorphParam1 = v; });
  QWidget* sCurve = Slider(
      "morphFallOff", 1, 200, [](const TSettings& s) { return s.General.MorphParam2; },
      [](TSettings& s, int v) { s.General.MorphParam2 = v; });
  // The exponent moves in tenths, the smoothness in tens of tracing units.
  QWidget* exponent = Slider(
      "morphExponent", 1, 200, [](const TSettings& s) { return int(std::lround(s.General.MorphParam3 * 10)); },
      [](TSettings& s, int v) { s.General.MorphParam3 = v / 10.0; },
      [](int v) { return QLocale().toString(v / 10.0, 'f', 1); });
  QWidget* smoothness = Slider(
      "morphSmoothness", 1, 200,
      [](const TSettings& s) { return std::clamp(int(std::lround(s.General.MorphParam4 / 10.0)), 1, 200); },
      [](TSettings& s, int v) { s.General.MorphParam4 = v * 10; }, [](int v) { return QString::number(v * 10); });
  QWidget* block = Slider(
      "morphBlockSize", 2, 100, [](const TSettings& s) { return s.General.MorphBlockSize; },
      [](TSettings& s, int v) { s.General.MorphBlockSize = v; });
  parameters->addRow(tr("Distance &limit:"), limit);
  parameters->addRow(tr("Distance fa&ll off:"), sCurve);
  parameters->addRow(tr("Distance fa&ll off:"), exponent);
  parameters->addRow(tr("Smooth&ness:"), smoothness);
  parameters->addRow(tr("&Block Size (for low quality):"), block);
  auto* preview = new TWeightPreview;
  preview->setObjectName(QStringLiteral("morphPreview"));
  auto* group = new QHBoxLayout;
  group->addLayout(parameters, 1);
  group->addWidget(preview, 0, Qt::AlignTop);
  layout->addWidget(Group(tr("Parameters"), group));
  layout->addStretch();

  const auto position = [](QWidget* row) { return row->findChild<QSlider*>()->value(); };
  const auto follow = [function, parameters, limit, sCurve, exponent, smoothness, preview, position] {
    const int chosen = function->currentIndex();
    parameters->setRowVisible(limit, chosen == 0);
    parameters->setRowVisible(sCurve, chosen == 1);
    parameters->setRowVisible(exponent, chosen == 2);
    parameters->setRowVisible(smoothness, chosen == 2);
    preview->Show(chosen, position(limit), position(sCurve), position(exponent) / 10.0, position(smoothness) * 10);
  };
  connect(function, &QComboBox::currentIndexChanged, page, follow);
  for (QWidget* row : {limit, sCurve, exponent, smoothness})
    connect(row->findChild<QSlider*>(), &QSlider::valueChanged, page, follow);
  follow();
  return page;
}

void TLCOptions::ShowStyle(int index) {
  fShownStyle = index;
  const TTextStyle& style = fStyles[static_cast<size_t>(index)];
  const bool wasBlocked = fStyleList->blockSignals(true);
  fStyleList->setCurrentRow(index);
  fStyleList->blockSignals(wasBlocked);
  fStyleFont->setCurrentFont(QFont(Utf8(style.FontName)));
  fStyleFontShown = fStyleFont->currentFont().family();
  fStyleSize->setValue(style.Size);
  fStylePitch->setCurrentIndex(static_cast<int>(style.Pitch));
  fStyleEffects[0]->setChecked(style.Bold);
  fStyleEffects[1]->setChecked(style.Italic);
  fStyleEffects[2]->setChecked(style.Underline);
  fStyleEffects[3]->setChecked(style.StrikeOut);
  fStyleColour->SetColour(style.Colour);
  fStyleAlignment->setCurrentIndex(static_cast<int>(style.Alignment));
  fStyleIndents[0]->setValue(style.FirstIndent);
  fStyleIndents[1]->setValue(style.LeftIndent);
  fStyleIndents[2]->setValue(style.RightIndent);
  fStyleAsterisks->setChecked(style.ShowAsterisks);
  fStyleVariableColour->setChecked(style.UseVariableColour);
}

void TLCOptions::KeepStyle(int index) {
  TTextStyle& style = fStyles[static_cast<size_t>(index)];
  // A font the system lacks keeps its stored name rather than the substitute shown.
  if (fStyleFont->currentFont().family() != fStyleFontShown)
    style.FontName = fStyleFont->currentFont().family().toStdString();
  style.Size = fStyleSize->value();
  style.Pitch = static_cast<TFontPitch>(fStylePitch->currentIndex());
  style.Bold = fStyleEffects[0]->isChecked();
  style.Italic = fStyleEffects[1]->isChecked();
  style.Underline = fStyleEffects[2]->isChecked();
  style.StrikeOut = fStyleEffects[3]->isChecked();
  style.Colour = fStyleColour->Colour();
  style.Alignment = static_cast<TTextAlignment>(fStyleAlignment->currentIndex());
  style.FirstIndent = fStyleIndents[0]->value();
  style.LeftIndent = fStyleIndents[1]->value();
  style.RightIndent = fStyleIndents[2]->value();
  style.ShowAsterisks = fStyleAsterisks->isChecked();
  style.UseVariableColour = fStyleVariableColour->isChecked();
}

void TLCOptions::Load() {
  for (const auto& load : fLoaders) load(fSettings);
}

bool TLCOptions::Check() {
  auto refuse = [this](const TText& message, QLineEdit* field) {
    fPrompts.ShowText(message);
    for (int page = 0; page < fPages->count(); ++page)
      if (fPages->widget(page)->isAncestorOf(field)) fPages->setCurrentIndex(page);
    field->setFocus();
    field->selectAll();
    return false;
  };
  for (QLineEdit* date : {fDefaultDob, fDefaultDateTaken})
    if (!ParseUserDate(date->text().toStdString(), fFormats))
      return refuse(IncorrectDateMessage(fFormats), date);
  if (!ParseMagnification(fDefaultMagnification->text().toStdString(), fFormats))
    return refuse(kBadMagnificationMessage, fDefaultMagnification);
  for (QLineEdit* text : {fDefaultName, fDefaultComments})
    if (TText error = RecordTextError(text->text().toStdString()); !error.Empty()) return refuse(error, text);
  if (fDefaultFile->text().trimmed().isEmpty()) return refuse(kNoFileNameMessage, fDefaultFile);
  for (QLineEdit* folder : fFolders) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder->text().toStdString(), error))
      return refuse(TText(LcText("Options", "The folder \"%1\" does not exist."), {folder->text().toStdString()}),
                    folder);
  }
  return true;
}

bool TLCOptions::Apply() {
  if (!Check()) return false;
  for (const auto& store : fStorers) store(fSettings);
  if (fApplied) fApplied();
  return true;
}

void TLCOptions::ShowPage(const QString& caption) {
  for (int page = 0; page < fPages->count(); ++page)
    if (fPages->tabText(page) == caption) fPages->setCurrentIndex(page);
}

void TLCOptions::accept() {
  if (Apply()) QDialog::accept();
}

}  // namespace lumacet
