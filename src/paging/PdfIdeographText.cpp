#include "PdfIdeographText.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QRawFont>
#include <QVector>

namespace granwise {

namespace {

// Code points of radicals that Chinese fonts draw with an ideograph's glyph, and that ideograph.
QHash<char16_t, char16_t> buildRadicalIdeographs()
{
    QHash<char16_t, char16_t> map;
    // The Kangxi radicals decompose to their ideographs.
    for (char16_t radical = 0x2F00; radical <= 0x2FD5; ++radical) {
        const QString ideograph = QString(QChar(radical)).normalized(QString::NormalizationForm_KC);
        if (ideograph.size() == 1 && ideograph.at(0).unicode() != radical)
            map.insert(radical, ideograph.at(0).unicode());
    }
    // The supplement's radicals mostly do not: take the ideograph the fonts give the same glyph.
    QString ideographs;
    for (char16_t c = 0x4E00; c <= 0x9FFF; ++c)
        ideographs.append(QChar(c));
    QString radicals;
    for (char16_t c = 0x2E80; c <= 0x2EFF; ++c)
        radicals.append(QChar(c));
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return map;
    for (const QFont &font : {chineseFont(false), chineseFont(true), QGuiApplication::font()}) {
        const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
        if (!raw.isValid())
            continue;
        const QList<quint32> ideographGlyphs = raw.glyphIndexesForString(ideographs);
        const QList<quint32> radicalGlyphs = raw.glyphIndexesForString(radicals);
        QHash<quint32, char16_t> ideographOf;
        for (int i = int(ideographGlyphs.size()) - 1; i >= 0; --i)
            if (ideographGlyphs.at(i) != 0)
                ideographOf.insert(ideographGlyphs.at(i), char16_t(0x4E00 + i));
        for (int i = 0; i < radicalGlyphs.size(); ++i) {
            const char16_t radical = char16_t(0x2E80 + i);
            const auto found = ideographOf.constFind(radicalGlyphs.at(i));
            if (radicalGlyphs.at(i) != 0 && found != ideographOf.cend() && !map.contains(radical))
                map.insert(radical, *found);
        }
    }
    return map;
}

const QHash<char16_t, char16_t> &radicalIdeographs()
{
    static const QHash<char16_t, char16_t> map = buildRadicalIdeographs();
    return map;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The four-digit hex codes <XXXX> of a line of a ToUnicode map: their offsets in the file.
QVector<qsizetype> hexCodes(const QByteArray &pdf, qsizetype from, qsizetype to)
{
    QVector<qsizetype> codes;
    for (qsizetype i = from; i + 5 < to; ++i) {
        if (pdf.at(i) != '<' || pdf.at(i + 5) != '>')
            continue;
        if (isHexDigit(pdf.at(i + 1)) && isHexDigit(pdf.at(i + 2)) && isHexDigit(pdf.at(i + 3))
            && isHexDigit(pdf.at(i + 4)))
            codes.append(i + 1);
    }
    return codes;
}

// Rewrites the code at `at` (four hex digits) when it names a radical with an ideograph.
void nameByIdeograph(QByteArray &pdf, qsizetype at)
{
    bool ok = false;
    const char16_t code = char16_t(pdf.mid(at, 4).toUShort(&ok, 16));
    if (!ok)
        return;
    const auto found = radicalIdeographs().constFind(code);
    if (found == radicalIdeographs().cend())
        return;
    const QByteArray replacement = QByteArray::number(*found, 16).toUpper().rightJustified(4, '0');
    pdf.replace(at, 4, replacement);
}

// One block "beginbfrange … endbfrange" or "beginbfchar … endbfchar" of a ToUnicode map.
void fixBlock(QByteArray &pdf, qsizetype from, qsizetype to, bool ranges)
{
    qsizetype lineStart = from;
    while (lineStart < to) {
        qsizetype lineEnd = pdf.indexOf('\n', lineStart);
        if (lineEnd < 0 || lineEnd > to)
            lineEnd = to;
        const QVector<qsizetype> codes = hexCodes(pdf, lineStart, lineEnd);
        if (!ranges) {
            // <glyph> <unicode>
            if (codes.size() == 2)
                nameByIdeograph(pdf, codes.at(1));
        } else if (codes.size() >= 3) {
            // <first> <last> [<unicode> …] names every glyph; <first> <last> <unicode> names a run
            // of consecutive codes, which only a single glyph may change.
            const qsizetype bracket = pdf.indexOf('[', lineStart);
            if (bracket >= 0 && bracket < lineEnd) {
                for (int i = 2; i < codes.size(); ++i)
                    nameByIdeograph(pdf, codes.at(i));
            } else if (codes.size() == 3
                       && pdf.mid(codes.at(0), 4).compare(pdf.mid(codes.at(1), 4), Qt::CaseInsensitive) == 0) {
                nameByIdeograph(pdf, codes.at(2));
            }
        }
        lineStart = lineEnd + 1;
    }
}

} // namespace

QByteArray withIdeographText(const QByteArray &pdf)
{
    QByteArray fixed = pdf;
    const struct {
        QByteArray begin;
        QByteArray end;
        bool ranges;
    } blocks[] = {{"beginbfrange", "endbfrange", true}, {"beginbfchar", "endbfchar", false}};
    for (const auto &block : blocks) {
        qsizetype at = 0;
        while ((at = fixed.indexOf(block.begin, at)) >= 0) {
            const qsizetype from = at + block.begin.size();
            const qsizetype to = fixed.indexOf(block.end, from);
            if (to < 0)
                break;
            fixBlock(fixed, from, to, block.ranges);
            at = to + block.end.size();
        }
    }
    return fixed;
}

} // namespace granwise
