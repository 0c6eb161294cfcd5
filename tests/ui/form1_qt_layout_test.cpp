// The Qt window's layout as the screen and the installed fonts make it: the
// faces each control is drawn in, every label's caption inside its box, and
// the window's size at the screen's DPI. The application is set up as
// app/main.cpp sets it up (no 96-dpi test default).
//
// VELLAMIRE_TEST_DPI names the logical DPI the screen was given (QT_FONT_DPI
// headless, Xft.dpi on X11); FONTCONFIG_FILE may name a font set without
// some faces. CTest runs the program in several such settings.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
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

#include <cmath>
#include <memory>

#include "ui/form1_definition.h"
#include "ui/qt/form1.h"

namespace {

// The faces the window may be drawn in before any other, in order: the
// definition's own, then those with the same glyph widths.
const QStringList kSansFaces{"MS Sans Serif", "Microsoft Sans Serif", "Arial",
                             "Liberation Sans", "Arimo", "Nimbus Sans"};
const QStringList kMonoFaces{"Courier New", "Liberation Mono", "Cousine", "Nimbus Mono PS"};

QStringList InstalledFamilies() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
  return QFontDatabase::families();
#else
  return QFontDatabase().families();
#endif
}

// Whether any installed face is fixed-pitch, as the report box needs.
bool AnyFixedPitchFace() {
  for (const QString& family : InstalledFamilies()) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    if (QFontDatabase::isFixedPitch(family)) return true;
#else
    if (QFontDatabase().isFixedPitch(family)) return true;
#endif
  }
  return false;
}

// The box around the pixels of `image` that are not `background`.
QRect InkBox(const QImage& image, QRgb background) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
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
    return *form_;
  }

 private slots:
  void initTestCase() {
    bool ok = false;
    dpi_ = qEnvironmentVariableIntValue("VELLAMIRE_TEST_DPI", &ok);
    QVERIFY2(ok && dpi_ > 0, "VELLAMIRE_TEST_DPI must name the screen's logical DPI");
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
    QString first;
    for (const QString& face : faces) {
      if (installed.contains(face)) {
        first = face;
        break;
      }
    }
    if (faces == kMonoFaces) {
      if (!AnyFixedPitchFace()) QSKIP("no fixed-pitch face is installed in this font set");
      QVERIFY(got.fixedPitch());
    }
    if (first.isEmpty()) QSKIP("none of the faces with the layout's widths is installed");
    QCOMPARE(got.family(), first);
  }

  // Each caption measured in the face and size its label really got, and
  // drawn: the label shows as much ink as a copy with room to spare.
  void labelCaptionsFitTheirBoxes_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) QTest::newRow(name) << name;
  }

  void labelCaptionsFitTheirBoxes() {
    QFETCH(QString, name);
    ui::Form1& form = Load();
    auto* label = form.findChild<QLabel*>(name);
    QVERIFY(label != nullptr);
    const QString caption = label->text();
    const QFontMetricsF metrics(label->font());
    const qreal advance = metrics.horizontalAdvance(caption);
    qInfo("%s: \"%s\" in %s %.2f pt: %.1f of %d pixels wide", qPrintable(name),
          qPrintable(caption), qPrintable(QFontInfo(label->font()).family()),
          label->font().pointSizeF(), advance, label->contentsRect().width());
    QVERIFY2(advance <= label->contentsRect().width(), "the caption is wider than its box");

    const QImage shown = label->grab().toImage();
    const QRect box = label->geometry();
    // Room on every side, a whole number of device pixels at any scale
    // tested, so the glyphs fall on the same pixel grid.
    const int room = 48;
    label->resize(box.width() + 2 * room, box.height() + 2 * room);
    const QImage roomy = label->grab().toImage();
    label->setGeometry(box);
    const QRgb background = roomy.pixel(0, 0);
    const QRect ink = InkBox(shown, background);
    const QRect full = InkBox(roomy, background);
    QVERIFY(!full.isEmpty());
    QCOMPARE(ink.size(), full.size());
  }

  // At n dpi the client area is n/96 times 627 x 456 device pixels: the
  // window grows with its fonts.
  void clientAreaScalesWithTheScreen() {
    ui::Form1& form = Load();
    const qreal scale = dpi_ / 96.0;
    const QSize client(ui::kForm1.ClientWidth / ui::kTwipsPerPixel,
                       ui::kForm1.ClientHeight / ui::kTwipsPerPixel);
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
    QTest::mouseClick(form.Command1, Qt::LeftButton);
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
