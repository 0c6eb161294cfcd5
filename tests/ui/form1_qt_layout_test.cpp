// The Qt window's layout as the screen and the installed fonts make it, judged
// as a person looking at it would judge it: the faces each control is drawn
// in, every caption and entry text whole where the window paints it, a report
// face whose characters share one advance, and the window's size at the
// screen's DPI. The application is set up as app/main.cpp sets it up.
//
// VELLAMIRE_TEST_DPI names the logical DPI the screen was given (QT_FONT_DPI
// headless, Xft.dpi on X11); VELLAMIRE_TEST_FONTS names the families the font
// set must have and the Debian package of each ("package=Family,..."), empty
// for the machine's own fonts. CTest runs the program in several such settings.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>

#include "tests/ui/press_compute.h"
#include "ui/form1_definition.h"
#include "ui/qt/fonts.h"
#include "ui/qt/form1.h"

namespace {

// The faces the window may be drawn in before any other, in order: the
// definition's own, then those with the same glyph widths.
const QStringList kSansFaces{"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans",
                             "Arimo",         "Nimbus Sans"};
const QStringList kMonoFaces{"Courier New", "Liberation Mono", "Cousine", "Nimbus Mono PS"};

// Room on every side of a widget's roomy copy: a whole number of device
// pixels at every scale tested, so the text stays on the same pixel grid.
constexpr int kRoom = 48;

// "Nimbus Sans [UKWN]" is Nimbus Sans: Qt adds the foundry where two
// foundries give a family of one name.
QString WithoutFoundry(QString family) {
  const int bracket = family.indexOf(QLatin1String(" ["));
  if (bracket > 0 && family.endsWith(QLatin1Char(']'))) family.truncate(bracket);
  return family;
}

QStringList FontFamilies() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
  return QFontDatabase::families();
#else
  return QFontDatabase().families();
#endif
}

QStringList InstalledFamilies() {
  QStringList names;
  for (const QString& family : FontFamilies()) names << WithoutFoundry(family);
  return names;
}

QString TextOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* entry = qobject_cast<QLineEdit*>(widget)) return entry->text();
  if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
  return {};
}

void SetTextOf(QWidget* widget, const QString& text) {
  if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(text);
  if (auto* entry = qobject_cast<QLineEdit*>(widget)) entry->setText(text);
  if (auto* button = qobject_cast<QPushButton*>(widget)) button->setText(text);
}

// The window as it paints itself, in device pixels, with `widget` the only
// control shown, so its ink is told from its neighbours'.
QImage ShotOf(QWidget& window, QWidget* widget) {
  QList<QWidget*> hidden;
  for (QWidget* other : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (other != widget && other->isVisible()) {
      other->hide();
      hidden << other;
    }
  }
  const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  for (QWidget* other : hidden) other->show();
  return shot;
}

// The ink of the widget's text where the window paints it: the window with
// the text against the window with the widget's text empty.
QRect TextInk(QWidget& window, QWidget* widget) {
  const QString text = TextOf(widget);
  const QImage with = ShotOf(window, widget);
  SetTextOf(widget, QString());
  const QImage without = ShotOf(window, widget);
  SetTextOf(widget, text);
  return ui::InkBox(with, without, widget->palette().color(widget->foregroundRole()).rgb());
}

// The same, with the widget grown in place by kRoom on every side and its
// text centred from top to bottom, so nothing of its text can be cut: a
// caption set on the bottom edge keeps glyphs that reach below the line
// (a parenthesis) cut however tall its box. Gives an empty box when the
// grown copy's ink touches the window's edge (the room was not there).
QRect RoomyTextInk(QWidget& window, QWidget* widget) {
  const QRect box = widget->geometry();
  widget->setGeometry(box.adjusted(-kRoom, -kRoom, kRoom, kRoom));
  auto* label = qobject_cast<QLabel*>(widget);
  const Qt::Alignment alignment = label != nullptr ? label->alignment() : Qt::Alignment();
  if (label != nullptr)
    label->setAlignment((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
  const QRect ink = TextInk(window, widget);
  if (label != nullptr) label->setAlignment(alignment);
  widget->setGeometry(box);
  const QRect shot(QPoint(0, 0), window.grab().size());
  if (!shot.adjusted(1, 1, -1, -1).contains(ink)) return {};
  return ink;
}

// Every printable character of the reports of all seven weekdays, as the
// window shows them after Compute; none when Compute opens a message box.
QString ReportCharacters(ui::Form1& form) {
  QString reports;
  for (int day = 0; day < form.Combo1->count(); ++day) {
    form.Combo1->setCurrentIndex(day);
    if (!test_support::PressCompute(form).Text.isEmpty()) return {};
    reports += form.Text1->toPlainText();
  }
  QString characters;
  for (QChar c : reports) {
    if (c.isPrint() && !characters.contains(c)) characters += c;
  }
  return characters;
}

// Names the first of `characters` whose advance in `font` is not a blank's;
// empty when they all share it.
QString UnequalAdvance(const QFont& font, const QString& characters) {
  const QFontMetricsF metrics(font);
  const qreal blank = metrics.horizontalAdvance(QLatin1Char(' '));
  if (characters.size() < 40)
    return QStringLiteral("too few characters to judge: %1").arg(characters);
  for (QChar c : characters) {
    // Whole 64ths of a pixel, as the font engine gives them.
    if (qRound(metrics.horizontalAdvance(c) * 64) != qRound(blank * 64)) {
      return QStringLiteral("in %1 '%2' is %3 pixels wide, a blank %4")
          .arg(QFontInfo(font).family(), QString(c))
          .arg(metrics.horizontalAdvance(c))
          .arg(blank);
    }
  }
  return {};
}

// The first installed family drawn in a face of its own name (not an alias
// such as "Monospace") in which `characters` in `sample`'s size and weight
// share one advance (`shares`) or do not: a face this font set is known to
// have. Empty when it has none.
QString FaceWhere(bool shares, const QFont& sample, const QString& characters) {
  for (const QString& family : FontFamilies()) {
    QFont font = sample;
    font.setFamilies({family});
    if (WithoutFoundry(QFontInfo(font).family()) != WithoutFoundry(family)) continue;
    if (UnequalAdvance(font, characters).isEmpty() == shares) return family;
  }
  return {};
}

}  // namespace

class Form1LayoutTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ui::Form1> form_;
  int dpi_ = 0;

  ui::Form1& Load() {
    form_ = std::make_unique<ui::Form1>();
    form_->Form_Load();
    if (!QTest::qWaitForWindowExposed(form_.get())) qWarning("window was not exposed");
    // No text cursor: it would count as ink of the entry it blinks in.
    if (QWidget* focus = form_->focusWidget()) focus->clearFocus();
    return *form_;
  }

 private slots:
  void initTestCase() {
    bool ok = false;
    dpi_ = qEnvironmentVariableIntValue("VELLAMIRE_TEST_DPI", &ok);
    QVERIFY2(ok && dpi_ > 0, "VELLAMIRE_TEST_DPI must name the screen's logical DPI");
    const QStringList installed = InstalledFamilies();
    const QString needs = qEnvironmentVariable("VELLAMIRE_TEST_FONTS");
    for (const QString& need : needs.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      const QString package = need.section(QLatin1Char('='), 0, 0);
      const QString family = need.section(QLatin1Char('='), 1);
      if (!installed.contains(family)) {
        QFAIL(qPrintable(QStringLiteral("this font set needs %1 (the Debian package %2): "
                                        "apt-get install %2")
                             .arg(family, package)));
      }
    }
  }

  void cleanup() { form_.reset(); }

  void facesAreTheDefinitionsOrTheirTwins_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("faces");
    QTest::newRow("label") << "Label1" << kSansFaces;
    QTest::newRow("entry") << "txtSunrise" << kSansFaces;
    QTest::newRow("day list") << "Combo1" << kSansFaces;
    QTest::newRow("button") << "Command1" << kMonoFaces;
    QTest::newRow("report") << "Text1" << kMonoFaces;
  }

  // Where the set has a face with the definition's widths, the first of them
  // in the window's order is the one drawn.
  void facesAreTheDefinitionsOrTheirTwins() {
    QFETCH(QString, control);
    QFETCH(QStringList, faces);
    ui::Form1& form = Load();
    auto* widget = form.findChild<QWidget*>(control);
    QVERIFY(widget != nullptr);
    const QFontInfo got(widget->font());
    qInfo("%s is drawn in %s %.2f pt", qPrintable(control), qPrintable(got.family()),
          got.pointSizeF());
    const QStringList installed = InstalledFamilies();
    const auto first = std::find_if(faces.begin(), faces.end(),
                                    [&](const QString& face) { return installed.contains(face); });
    if (first == faces.end()) QSKIP("none of the faces with the layout's widths is in this set");
    QCOMPARE(WithoutFoundry(got.family()), *first);
  }

  void fixedFacesShareOneAdvance_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("report") << "Text1";
    QTest::newRow("button") << "Command1";
  }

  // Every character of the reports of all seven weekdays, and of the
  // button's caption, has the same advance in the face the control got, in
  // its definition's size and weight, so the report's blanks and TABs line
  // its columns up.
  void fixedFacesShareOneAdvance() {
    QFETCH(QString, control);
    ui::Form1& form = Load();
    const QString characters = ReportCharacters(form) + form.Command1->text();
    const QFont font = form.findChild<QWidget*>(control)->font();
    QVERIFY2(UnequalAdvance(font, characters).isEmpty(),
             qPrintable(UnequalAdvance(font, characters)));
    QCOMPARE(font.pointSizeF(), ui::FindControl(control.toStdString())->Font.Points);
    QCOMPARE(font.weight(), static_cast<int>(QFont::Normal));
  }

  void oneAdvanceRuleTakesItsSteps_data() {
    QTest::addColumn<bool>("givenShares");
    QTest::addColumn<bool>("systemFixedShares");
    QTest::addColumn<QList<bool>>("familiesShare");
    QTest::addColumn<bool>("keepsGiven");  // otherwise the face of one advance in the given size
    QTest::newRow("kept") << true << true << QList<bool>{true} << true;
    QTest::newRow("system fixed font") << false << true << QList<bool>{} << false;
    QTest::newRow("family search") << false << false << QList<bool>{false, true} << false;
    QTest::newRow("none found") << false << false << QList<bool>{false} << true;
  }

  // Each step of the rule for a report face, with a face of this set whose
  // report characters share one advance and one whose do not.
  void oneAdvanceRuleTakesItsSteps() {
    QFETCH(bool, givenShares);
    QFETCH(bool, systemFixedShares);
    QFETCH(QList<bool>, familiesShare);
    QFETCH(bool, keepsGiven);
    const QString characters = ReportCharacters(Load());
    QVERIFY2(!characters.isEmpty(), "Compute gave no report");
    QFont given;
    given.setPointSizeF(9.75);
    given.setWeight(QFont::Bold);
    given.setStyleHint(QFont::TypeWriter);  // which a face taken from elsewhere lacks
    const QString faces[] = {FaceWhere(false, given, characters),
                             FaceWhere(true, given, characters)};
    qInfo("unequal advances: %s; one advance: %s", qPrintable(faces[0]), qPrintable(faces[1]));
    if (faces[0].isEmpty() || faces[1].isEmpty())
      QSKIP("this font set lacks a face of one advance or one of unequal advances");
    given.setFamilies({faces[givenShares]});
    QStringList families;
    for (bool shares : familiesShare) families << faces[shares];
    const QFont chosen = ui::WithOneAdvance(given, QFont(faces[systemFixedShares]), families);
    if (keepsGiven) {
      QVERIFY(chosen == given);
    } else {
      QCOMPARE(WithoutFoundry(QFontInfo(chosen).family()), WithoutFoundry(faces[1]));
      QCOMPARE(chosen.pointSizeF(), 9.75);
      QCOMPARE(chosen.weight(), static_cast<int>(QFont::Bold));
    }
  }

  void inkIsHalfWayToTheText_data() {
    QTest::addColumn<uint>("blank");
    QTest::addColumn<uint>("text");
    QTest::addColumn<uint>("pixel");
    QTest::addColumn<bool>("ink");
    // clang-format off
    QTest::newRow("black on white, half way") << 0xffffffu << 0x000000u << 0x7f7f7fu << true;
    QTest::newRow("black on white, short of it") << 0xffffffu << 0x000000u << 0x808080u << false;
    QTest::newRow("on grey, half way") << 0x808080u << 0x000000u << 0x404040u << true;
    QTest::newRow("on grey, short of it") << 0x808080u << 0x000000u << 0x414141u << false;
    // Red differs most between white and this blue; green alone moved.
    QTest::newRow("judged on red") << 0xffffffu << 0x00c0ffu << 0xff80ffu << false;
    QTest::newRow("text of the background's colour") << 0x000000u << 0x000000u << 0xffffffu << false;
    // clang-format on
  }

  // A pixel is ink when it has moved at least half the way from the picture
  // without the text to the text's colour.
  void inkIsHalfWayToTheText() {
    QFETCH(uint, blank);
    QFETCH(uint, text);
    QFETCH(uint, pixel);
    QFETCH(bool, ink);
    QImage without(3, 2, QImage::Format_RGB32);
    without.fill(blank);
    QImage with = without.copy();
    with.setPixel(2, 1, pixel);
    QCOMPARE(ui::InkBox(with, without, text), ink ? QRect(2, 1, 1, 1) : QRect());
  }

  // Pictures of two sizes are not a text and its background: no ink.
  void inkOfPicturesOfTwoSizesIsNone() {
    QImage without(3, 2, QImage::Format_RGB32);
    without.fill(Qt::white);
    QImage with(2, 3, QImage::Format_RGB32);
    with.fill(Qt::black);
    QCOMPARE(ui::InkBox(with, without, qRgb(0, 0, 0)), QRect());
  }

  void captionsAreWholeInTheirBoxes_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) QTest::newRow(name) << name;
  }

  // Each label where the window paints it shows as much ink as a copy with
  // room to spare, in its definition's box; where the window made a caption
  // smaller, a quarter point more would lose some of it.
  void captionsAreWholeInTheirBoxes() {
    QFETCH(QString, name);
    ui::Form1& form = Load();
    auto* label = form.findChild<QLabel*>(name);
    QVERIFY(label != nullptr);
    const ui::ControlDef def = *ui::FindControl(name.toStdString());
    const QRect ink = TextInk(form, label);
    const QRect full = RoomyTextInk(form, label);
    qInfo("%s: \"%s\" in %s %.2f pt: ink %dx%d device pixels in a box of %.1fx%.1f",
          qPrintable(name), qPrintable(label->text()),
          qPrintable(QFontInfo(label->font()).family()), label->font().pointSizeF(), full.width(),
          full.height(), label->width() * form.devicePixelRatioF(),
          label->height() * form.devicePixelRatioF());
    QVERIFY(!full.isEmpty());
    QCOMPARE(ink.size(), full.size());

    if (label->font().pointSizeF() < def.Font.Points) {
      QFont larger = label->font();
      larger.setPointSizeF(larger.pointSizeF() + 0.25);
      label->setFont(larger);
      QVERIFY2(TextInk(form, label).size() != RoomyTextInk(form, label).size(),
               "the caption would fit a quarter point larger");
    }
  }

  void entryAndButtonTextsAreVerticallyWhole_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("entry, left") << "txtSunrise" << "5:30 pm";
    QTest::newRow("entry, right") << "txtNextSunrise" << "05:30 pm";
    QTest::newRow("button") << "Command1" << "Compute";
    // clang-format on
  }

  // An entry's text and the button's caption, with their ascenders and
  // descenders, take as many rows of pixels as in a taller copy.
  void entryAndButtonTextsAreVerticallyWhole() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    ui::Form1& form = Load();
    QWidget* widget = form.findChild<QWidget*>(control);
    QVERIFY(widget != nullptr);
    SetTextOf(widget, text);
    const QRect ink = TextInk(form, widget);
    const QRect full = RoomyTextInk(form, widget);
    qInfo("%s: \"%s\": ink %d of %.1f device pixels high", qPrintable(control), qPrintable(text),
          full.height(), widget->height() * form.devicePixelRatioF());
    QVERIFY(!full.isEmpty());
    QCOMPARE(ink.height(), full.height());
  }

  // At n dpi the client area is n/96 times 627 x 456 device pixels: the
  // window grows with its fonts.
  void clientAreaScalesWithTheScreen() {
    ui::Form1& form = Load();
    const qreal scale = dpi_ / 96.0;
    const QSize client(627, 456);
    QCOMPARE(form.size(), client);  // device-independent pixels
    const qreal ratio = form.devicePixelRatioF();
    qInfo("%d dpi: device pixel ratio %.3f, client area %.1f x %.1f device pixels", dpi_, ratio,
          form.width() * ratio, form.height() * ratio);
    QVERIFY(std::abs(form.width() * ratio - client.width() * scale) <= 1.0);
    QVERIFY(std::abs(form.height() * ratio - client.height() * scale) <= 1.0);
  }

  // Every report line takes one line of the box, so its columns stay lined up.
  void reportLinesDoNotWrap() {
    ui::Form1& form = Load();
    QCOMPARE(test_support::PressCompute(form).Text, QString());
    QTextDocument* document = form.Text1->document();
    QCOMPARE(document->blockCount(), 41);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
      document->documentLayout()->blockBoundingRect(block);  // lays the block out
      QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
    }
  }
};

int main(int argc, char* argv[]) {
  ui::PrepareHighDpiScaling();
  QApplication app(argc, argv);
  Form1LayoutTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "form1_qt_layout_test.moc"
