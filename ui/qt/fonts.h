// The fonts of Form1 in Qt: the faces a definition's font may take, a report
// face whose characters share one advance, what counts as a text's ink, and
// captions fitted to their boxes by that ink.
#ifndef VELLAMIRE_UI_QT_FONTS_H_
#define VELLAMIRE_UI_QT_FONTS_H_

#include <QFont>
#include <QImage>
#include <QRect>
#include <QStringList>

#include "ui/form1_definition.h"

class QLabel;

namespace ui {

// The font a control of that definition is drawn in: the family itself, then
// the faces with its glyph widths, then whatever the style hint finds; for a
// fixed-pitch definition, the face WithOneAdvance gives with the system's
// fixed font and the installed fixed-pitch families. Cannot fail.
QFont FontOf(const FontDef& def);

// `font` when every character a report can hold (printable ASCII) has the
// same advance in it; otherwise, in its size and weight, `systemFixed` or else
// the first of `families` whose characters do.
// Gives `font` itself when none of them does.
QFont WithOneAdvance(const QFont& font, const QFont& systemFixed, const QStringList& families);

// The box around the ink of a text of colour `text` in `drawn`: the pixels
// that have moved at least half the way from the same pixel of `blank` (the
// picture without the text) towards `text`, on the channel where those two
// differ most. A fainter pixel only places a glyph's edge within it.
// Gives an empty box when no pixel is ink or the pictures differ in size.
QRect InkBox(const QImage& drawn, const QImage& blank, QRgb text);

// Makes the caption of `label` smaller, a quarter point at a time and no
// lower than half its size, until it leaves all its ink inside the pixels
// the label's box covers on screen. Cannot fail.
void FitCaption(QLabel* label);

}  // namespace ui

#endif  // VELLAMIRE_UI_QT_FONTS_H_
