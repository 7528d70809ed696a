#pragma once

#include <QByteArray>
#include <QHash>

namespace granwise {

// A radical's code point (U+2E80 .. U+2FDF) and the ideograph a font draws with the same glyph.
using IdeographOfRadical = QHash<char16_t, char16_t>;

// The text a PDF viewer copies or searches is read from the fonts' ToUnicode maps. Chinese fonts
// give a radical and the ideograph of the same shape one glyph, and the PDF writer names the
// glyph by the lower code, so "粮食" would read "粮⻝". This names every such glyph of the
// ToUnicode maps ("beginbfchar" and single-glyph "beginbfrange" lines) by its ideograph again;
// nothing else of the file changes, and it keeps its length and layout.
QByteArray withIdeographNames(const QByteArray &pdf, const IdeographOfRadical &ideographOf);

} // namespace granwise
