#include "ui/qt/form1.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/compute_command.h"
#include "ui/form1_definition.h"

namespace ui {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<int>(text.size()));
}

// Pixels here are device-independent, so the layout scales with the screen.
QRect GeometryOf(const ControlDef& def) {
  return {def.Left / kTwipsPerPixel, def.Top / kTwipsPerPixel, def.Width / kTwipsPerPixel,
          def.Height / kTwipsPerPixel};
}

QFont FontOf(const FontDef& def) {
  QFont font(ToQString(def.Family));
  // Where the family is missing, its metric twins come next (the layout was
  // measured in them), then whatever sans or fixed-pitch font the hint finds.
  QStringList families{font.family()};
  if (def.FixedPitch) {
    families << QStringLiteral("Liberation Mono") << QStringLiteral("Cousine");
  } else {
    families << QStringLiteral("Microsoft Sans Serif") << QStringLiteral("Liberation Sans")
             << QStringLiteral("Arial");
  }
  font.setFamilies(families);
  font.setPointSizeF(def.Points);
  font.setWeight(def.Weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setStyleHint(def.FixedPitch ? QFont::TypeWriter : QFont::SansSerif);
  font.setFixedPitch(def.FixedPitch);
  return font;
}

QWidget* MakeControl(const ControlDef& def, QWidget* parent) {
  QWidget* widget = nullptr;
  switch (def.Kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(ToQString(def.Text), parent);
      label->setFocusPolicy(Qt::NoFocus);
      widget = label;
      break;
    }
    case ControlKind::TextBox:
      widget = new QLineEdit(ToQString(def.Text), parent);
      break;
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(false);
      for (std::string_view day : kDayNames) combo->addItem(ToQString(day));
      // Adding entries chose the first one; the choice belongs to Form_Load.
      combo->setCurrentIndex(-1);
      widget = combo;
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(ToQString(def.Text), parent);
      button->setAutoDefault(false);
      button->setDefault(false);
      widget = button;
      break;
    }
    case ControlKind::ReportBox: {
      auto* box = new QPlainTextEdit(parent);
      box->setReadOnly(true);
      box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
      box->setFocusPolicy(Qt::StrongFocus);
      box->setTabChangesFocus(true);
      box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      widget = box;
      break;
    }
  }
  widget->setObjectName(ToQString(def.Name));
  widget->setGeometry(GeometryOf(def));
  widget->setFont(FontOf(def.Font));
  if (!def.AccessibleName.empty()) widget->setAccessibleName(ToQString(def.AccessibleName));
  if (def.Kind == ControlKind::ReportBox) {
    // Tab stops every eight characters, as the report's columns expect and as
    // a multi-line edit box places them by default.
    auto* box = static_cast<QPlainTextEdit*>(widget);
    box->setTabStopDistance(8 * QFontMetricsF(box->font()).horizontalAdvance(QLatin1Char(' ')));
  }
  return widget;
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(ToQString(kForm1.Name));
  setWindowTitle(ToQString(kForm1.Caption));
  setFont(FontOf(kForm1.Font));
  resize(kForm1.ClientWidth / kTwipsPerPixel, kForm1.ClientHeight / kTwipsPerPixel);

  QWidget* previous = nullptr;
  for (const ControlDef& def : kForm1Controls) {
    QWidget* widget = MakeControl(def, this);
    if (widget->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) setTabOrder(previous, widget);
    previous = widget;
  }
  for (const ControlDef& def : kForm1Controls) {
    if (def.Kind != ControlKind::Label) continue;
    auto* label = findChild<QLabel*>(ToQString(def.Name));
    QWidget* named = Control(def.LabelOf);
    label->setBuddy(named);
    named->setAccessibleName(ToQString(AccessibleNameOf(def)));
  }

  Label1 = findChild<QLabel*>(QStringLiteral("Label1"));
  Label2 = findChild<QLabel*>(QStringLiteral("Label2"));
  Label3 = findChild<QLabel*>(QStringLiteral("Label3"));
  Label4 = findChild<QLabel*>(QStringLiteral("Label4"));
  txtSunrise = findChild<QLineEdit*>(QStringLiteral("txtSunrise"));
  txtSunset = findChild<QLineEdit*>(QStringLiteral("txtSunset"));
  txtNextSunrise = findChild<QLineEdit*>(QStringLiteral("txtNextSunrise"));
  Combo1 = findChild<QComboBox*>(QStringLiteral("Combo1"));
  Command1 = findChild<QPushButton*>(QStringLiteral("Command1"));
  Text1 = findChild<QPlainTextEdit*>(QStringLiteral("Text1"));

  connect(Combo1, qOverload<int>(&QComboBox::currentIndexChanged), this, &Form1::Combo1_Click);
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
}

void Form1::Form_Load() {
  LoadForm1(
      state_.RulerTable, [this] { show(); },
      [this](std::string_view name) { Control(name)->setFocus(Qt::OtherFocusReason); },
      // Choosing by the text, as a user would, runs Combo1_Click.
      [this](std::string_view day) { Combo1->setCurrentText(ToQString(day)); });
}

void Form1::Combo1_Click() { state_.SelectedDay = SelectedDayFor(Combo1->currentIndex()); }

void Form1::Command1_Click() {
  const ComputeDecision decision =
      DecideCompute(txtSunrise->text().toStdString(), txtSunset->text().toStdString(),
                    txtNextSunrise->text().toStdString(), Combo1->currentText().toStdString(),
                    state_);
  if (decision.Refused) {
    ShowMessage(ToQString(decision.Refused->Message));
    Control(decision.Refused->FocusControl)->setFocus(Qt::OtherFocusReason);
    return;
  }
  // The box keeps lines apart by itself; the report's CR LF becomes its line break.
  Text1->setPlainText(ToQString(decision.Report).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void Form1::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(kProductName), text, QMessageBox::Ok, this);
  box.exec();
}

QWidget* Form1::Control(std::string_view name) const {
  return findChild<QWidget*>(ToQString(name), Qt::FindDirectChildrenOnly);
}

}  // namespace ui
