#include "ui/qt/fonts.h"

#include <cstdlib>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>

namespace ui {
namespace {

// A pixel counts as ink of a text when it has moved at least this fraction of
// the way from its background to the text's colour: when a glyph covers at
// least half of it, as a renderer without anti-aliasing would draw it. A
// fainter row or column only places a glyph's edge within a pixel; losing it
// moves that edge by under half a pixel, which nobody sees (the outermost
// rows that 12 pt captions in Noto Sans lose at 144 dpi reach 19 to 33 per
// cent), while rows inside a glyph reach 86 per cent and more.
constexpr double kInkContrast = 0.5;

QString ToQString(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<int>(text.size()));
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

// The installed families fontconfig calls fixed-pitch, the only ones worth
// measuring for a report face.
QStringList FixedPitchFamilies() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
  const QStringList all = QFontDatabase::families();
  const auto isFixedPitch = [](const QString& family) {
    return QFontDatabase::isFixedPitch(family);
  };
#else
  const QFontDatabase database;
  const QStringList all = database.families();
  const auto isFixedPitch = [&database](const QString& family) {
    return database.isFixedPitch(family);
  };
#endif
  QStringList fixed;
  for (const QString& family : all) {
    if (isFixedPitch(family)) fixed << family;
  }
  return fixed;
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
  const QRgb text = palette.color(label.foregroundRole()).rgb();
  QImage blank(canvasOnScreen.size(), QImage::Format_RGB32);
  blank.setDevicePixelRatio(ratio);
  blank.fill(palette.color(label.backgroundRole()).rgb());
  QImage canvas = blank.copy();
  {
    QPainter painter(&canvas);
    painter.translate(-canvasOnScreen.left() / ratio, -canvasOnScreen.top() / ratio);
    painter.setFont(font);
    painter.setPen(QColor(text));
    painter.drawText(QRectF(box), static_cast<int>(label.alignment()) | Qt::TextDontClip,
                     label.text());
  }
  const QRect ink = InkBox(canvas, blank, text);
  return ink.isEmpty() || onScreen.contains(ink.translated(canvasOnScreen.topLeft()));
}

}  // namespace

QFont FontOf(const FontDef& def) {
  QFont font(ToQString(def.Family));
  font.setFamilies(FamiliesOf(def));
  font.setPointSizeF(def.Points);
  font.setWeight(def.Weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setStyleHint(def.FixedPitch ? QFont::TypeWriter : QFont::SansSerif);
  font.setFixedPitch(def.FixedPitch);
  if (!def.FixedPitch) return font;
  return WithOneAdvance(font, QFontDatabase::systemFont(QFontDatabase::FixedFont),
                        FixedPitchFamilies());
}

QFont WithOneAdvance(const QFont& font, const QFont& systemFixed, const QStringList& families) {
  if (SharesOneAdvance(font)) return font;
  QFont fixed = systemFixed;
  fixed.setPointSizeF(font.pointSizeF());
  fixed.setWeight(font.weight());
  if (SharesOneAdvance(fixed)) return fixed;
  for (const QString& family : families) {
    QFont other = font;
    other.setFamilies({family});
    if (SharesOneAdvance(other)) return other;
  }
  return font;
}

QRect InkBox(const QImage& drawn, const QImage& blank, QRgb text) {
  if (drawn.size() != blank.size()) return {};
  const QImage with = drawn.convertToFormat(QImage::Format_RGB32);
  const QImage without = blank.convertToFormat(QImage::Format_RGB32);
  int (*const channels[])(QRgb) = {qRed, qGreen, qBlue};
  QRect box;
  for (int y = 0; y < with.height(); ++y) {
    const auto* withLine = reinterpret_cast<const QRgb*>(with.constScanLine(y));
    const auto* withoutLine = reinterpret_cast<const QRgb*>(without.constScanLine(y));
    for (int x = 0; x < with.width(); ++x) {
      int full = 0;
      int moved = 0;
      for (auto* channel : channels) {
        const int span = std::abs(channel(text) - channel(withoutLine[x]));
        if (span > full) {
          full = span;
          moved = std::abs(channel(withLine[x]) - channel(withoutLine[x]));
        }
      }
      if (full > 0 && moved >= kInkContrast * full) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

void FitCaption(QLabel* label) {
  // A face wider or taller than the layout's would cut a caption off at its
  // box's edge. In the metric twins every caption fits at its own size.
  QFont font = label->font();
  const double smallest = font.pointSizeF() / 2;
  while (!CaptionFits(*label, font) && font.pointSizeF() - 0.25 >= smallest) {
    font.setPointSizeF(font.pointSizeF() - 0.25);
  }
  label->setFont(font);
}

}  // namespace ui
