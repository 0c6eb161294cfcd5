#include "ui/qt/form1.h"

#include <cstdlib>

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/compute_command.h"
#include "ui/form1_definition.h"
#include "ui/qt/read_only_text.h"

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

// The faces a font of the definition may be drawn in, in this order: the
// family itself, then the faces with its glyph widths (its metric twins, in
// which the layout was measured), and only after them whatever face the
// style hint finds.
QStringList FamiliesOf(const FontDef& def) {
  QStringList families{ToQString(def.Family)};
  if (def.FixedPitch) {
    families << QStringLiteral("Liberation Mono") << QStringLiteral("Cousine")
             << QStringLiteral("Nimbus Mono PS");
  } else {
    // MS Sans Serif's TrueType successor, then Arial and the faces with Arial's widths.
    families << QStringLiteral("Microsoft Sans Serif") << QStringLiteral("Arial")
             << QStringLiteral("Liberation Sans") << QStringLiteral("Arimo")
             << QStringLiteral("Nimbus Sans");
  }
  return families;
}

// Whether every character a report can hold (printable ASCII) has the same
// advance in `font`, so the report's blanks and TABs line its columns up.
// Qt's fixed-pitch flag is not asked: fontconfig withholds it from faces
// such as Noto Sans Mono whose ASCII characters all share one advance.
bool SharesOneAdvance(const QFont& font) {
  const QFontMetricsF metrics(font);
  // Advances are whole 64ths of a pixel, as the font engine gives them.
  const int blank = qRound(metrics.horizontalAdvance(QLatin1Char(' ')) * 64);
  for (char c = '!'; c <= '~'; ++c) {
    if (qRound(metrics.horizontalAdvance(QLatin1Char(c)) * 64) != blank) return false;
  }
  return blank > 0;
}

QStringList AllFamilies() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
  return QFontDatabase::families();
#else
  return QFontDatabase().families();
#endif
}

bool IsFixedPitchFamily(const QString& family) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
  return QFontDatabase::isFixedPitch(family);
#else
  return QFontDatabase().isFixedPitch(family);
#endif
}

}  // namespace

QFont WithOneAdvance(const QFont& font) {
  if (SharesOneAdvance(font)) return font;
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSizeF(font.pointSizeF());
  fixed.setWeight(font.weight());
  if (SharesOneAdvance(fixed)) return fixed;
  for (const QString& family : AllFamilies()) {
    if (!IsFixedPitchFamily(family)) continue;
    QFont other = font;
    other.setFamilies({family});
    if (SharesOneAdvance(other)) return other;
  }
  return font;
}

namespace {

QFont FontOf(const FontDef& def) {
  QFont font(ToQString(def.Family));
  font.setFamilies(FamiliesOf(def));
  font.setPointSizeF(def.Points);
  font.setWeight(def.Weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setStyleHint(def.FixedPitch ? QFont::TypeWriter : QFont::SansSerif);
  font.setFixedPitch(def.FixedPitch);
  return def.FixedPitch ? WithOneAdvance(font) : font;
}

// The pixels of `image` that have moved at least kInkContrast of the way from
// `background` to `text` (on the channel where those two differ most): the
// box around them, empty when there are none.
QRect InkOf(const QImage& image, QRgb background, QRgb text) {
  int (*const channels[])(QRgb) = {qRed, qGreen, qBlue};
  int (*channel)(QRgb) = qRed;
  int full = 0;
  for (auto* c : channels) {
    if (std::abs(c(text) - c(background)) > full) {
      full = std::abs(c(text) - c(background));
      channel = c;
    }
  }
  QRect box;
  for (int y = 0; full > 0 && y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (std::abs(channel(line[x]) - channel(background)) >= kInkContrast * full)
        box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// Whether the caption of `label`, drawn in `font`, keeps all its ink inside
// the pixels its box covers on screen. The caption is drawn as the window
// draws it: at the screen's device pixel ratio, on the same fraction of a
// pixel, in the label's colours, with the box's edges rounded to whole
// device pixels as Qt rounds them.
bool CaptionFits(const QLabel& label, const QFont& font) {
  const qreal ratio = label.devicePixelRatioF();
  const QRect box = label.geometry();
  const QRect onScreen(
      QPoint(qRound(box.left() * ratio), qRound(box.top() * ratio)),
      QPoint(qRound((box.right() + 1) * ratio) - 1, qRound((box.bottom() + 1) * ratio) - 1));
  // Room around the box for whatever the caption puts outside it.
  const int room = onScreen.height();
  const QRect canvasOnScreen = onScreen.adjusted(-room, -room, room, room);
  const QPalette palette = label.palette();
  const QRgb background = palette.color(label.backgroundRole()).rgb();
  const QRgb text = palette.color(label.foregroundRole()).rgb();
  QImage canvas(canvasOnScreen.size(), QImage::Format_RGB32);
  canvas.setDevicePixelRatio(ratio);
  canvas.fill(background);
  {
    QPainter painter(&canvas);
    painter.translate(-canvasOnScreen.left() / ratio, -canvasOnScreen.top() / ratio);
    painter.setFont(font);
    painter.setPen(QColor(text));
    painter.drawText(QRectF(box), static_cast<int>(label.alignment()) | Qt::TextDontClip,
                     label.text());
  }
  const QRect ink = InkOf(canvas, background, text);
  return ink.isEmpty() || onScreen.contains(ink.translated(canvasOnScreen.topLeft()));
}

// A face wider or taller than the layout's would cut a caption off at its
// box's edge; then the caption's size goes down a quarter point at a time
// until it fits (no lower than half its size). In the metric twins every
// caption fits at its own size.
void FitCaption(QLabel* label) {
  QFont font = label->font();
  const double smallest = font.pointSizeF() / 2;
  while (!CaptionFits(*label, font) && font.pointSizeF() - 0.25 >= smallest) {
    font.setPointSizeF(font.pointSizeF() - 0.25);
  }
  label->setFont(font);
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
  resize(kForm1.ClientWidth / kTwipsPerPixel, kForm1.ClientHeight / kTwipsPerPixel);

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
