#include "ui/qt/form1.h"

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/compute_command.h"
#include "ui/form1_definition.h"
#include "ui/qt/fonts.h"
#include "ui/qt/read_only_text.h"

namespace ui {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<int>(text.size()));
}

// Pixels here are device-independent (96 to the inch), so the layout scales
// with the screen.
int Pixels(int twips) { return TwipsToPixels(twips, 96); }

QRect GeometryOf(const ControlDef& def) {
  return {Pixels(def.Left), Pixels(def.Top), Pixels(def.Width), Pixels(def.Height)};
}

QWidget* MakeControl(const ControlDef& def, QWidget* parent) {
  QWidget* widget = nullptr;
  switch (def.Kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(ToQString(def.Text), parent);
      label->setFocusPolicy(Qt::NoFocus);
      // A 12 pt line (17.9 pixels in Arial's metrics) is taller than its
      // 17-pixel box: centred, it would lose the foot of "(" and "y". Set on
      // the bottom edge, the descent stays inside and the caps still fit.
      label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
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
  if (def.Kind == ControlKind::Label) FitCaption(static_cast<QLabel*>(widget));
  if (def.Kind == ControlKind::ReportBox) {
    // Tab stops every eight characters, as the report's columns expect and as
    // a multi-line edit box places them by default.
    auto* box = static_cast<QPlainTextEdit*>(widget);
    box->setTabStopDistance(8 * QFontMetricsF(box->font()).horizontalAdvance(QLatin1Char(' ')));
  }
  return widget;
}

}  // namespace

void PrepareHighDpiScaling() {
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
  QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
  QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
      Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
}

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  // Before the report box exists: assistive technologies read it, never write it.
  QAccessible::installFactory(ReadOnlyTextFactory);
  setObjectName(ToQString(kForm1.Name));
  setWindowTitle(ToQString(kForm1.Caption));
  setFont(FontOf(kForm1.Font));
  resize(Pixels(kForm1.ClientWidth), Pixels(kForm1.ClientHeight));

  QWidget* previous = nullptr;
  for (const ControlDef& def : kForm1Controls) {
    QWidget* widget = MakeControl(def, this);
    if (widget->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) setTabOrder(previous, widget);
    previous = widget;
  }
  Label1 = static_cast<QLabel*>(Control("Label1"));
  Label2 = static_cast<QLabel*>(Control("Label2"));
  Label3 = static_cast<QLabel*>(Control("Label3"));
  Label4 = static_cast<QLabel*>(Control("Label4"));
  txtSunrise = static_cast<QLineEdit*>(Control("txtSunrise"));
  txtSunset = static_cast<QLineEdit*>(Control("txtSunset"));
  txtNextSunrise = static_cast<QLineEdit*>(Control("txtNextSunrise"));
  Combo1 = static_cast<QComboBox*>(Control("Combo1"));
  Command1 = static_cast<QPushButton*>(Control("Command1"));
  Text1 = static_cast<QPlainTextEdit*>(Control("Text1"));

  for (const ControlDef& def : kForm1Controls) {
    if (def.Kind != ControlKind::Label) continue;
    QWidget* named = Control(def.LabelOf);
    static_cast<QLabel*>(Control(def.Name))->setBuddy(named);
    named->setAccessibleName(ToQString(AccessibleNameOf(def)));
  }

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
  const ComputeDecision decision = DecideCompute(
      txtSunrise->text().toStdString(), txtSunset->text().toStdString(),
      txtNextSunrise->text().toStdString(), Combo1->currentText().toStdString(), state_);
  if (decision.Refused) {
    ShowMessage(ToQString(decision.Refused->Message));
    Control(decision.Refused->FocusControl)->setFocus(Qt::OtherFocusReason);
    return;
  }
  // The box keeps lines apart by itself; the report's CR LF becomes its line break.
  Text1->setPlainText(
      ToQString(decision.Report).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void Form1::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(kProductName), text, QMessageBox::Ok, this);
  box.exec();
}

QWidget* Form1::Control(std::string_view name) const {
  // Each control carries its definition's name as its object name.
  const ControlDef* control = FindControl(name);
  if (control == nullptr) return nullptr;
  return findChild<QWidget*>(ToQString(control->Name), Qt::FindDirectChildrenOnly);
}

}  // namespace ui
