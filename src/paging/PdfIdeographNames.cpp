#include "PdfIdeographNames.h"

#include <QVector>

namespace granwise {

namespace {

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
void nameByIdeograph(QByteArray &pdf, qsizetype at, const IdeographOfRadical &ideographOf)
{
    bool ok = false;
    const char16_t code = char16_t(pdf.mid(at, 4).toUShort(&ok, 16));
    if (!ok)
        return;
    const auto found = ideographOf.constFind(code);
    if (found == ideographOf.cend())
        return;
    const QByteArray replacement = QByteArray::number(*found, 16).toUpper().rightJustified(4, '0');
    pdf.replace(at, 4, replacement);
}

// One block "beginbfrange … endbfrange" or "beginbfchar … endbfchar" of a ToUnicode map.
void fixBlock(QByteArray &pdf, qsizetype from, qsizetype to, bool ranges, const IdeographOfRadical &ideographOf)
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
                nameByIdeograph(pdf, codes.at(1), ideographOf);
        } else if (codes.size() >= 3) {
            // <first> <last> [<unicode> …] names every glyph; <first> <last> <unicode> names a run
            // of consecutive codes, which only a single glyph may change.
            const qsizetype bracket = pdf.indexOf('[', lineStart);
            if (bracket >= 0 && bracket < lineEnd) {
                for (int i = 2; i < codes.size(); ++i)
                    nameByIdeograph(pdf, codes.at(i), ideographOf);
            } else if (codes.size() == 3
                       && pdf.mid(codes.at(0), 4).compare(pdf.mid(codes.at(1), 4), Qt::CaseInsensitive) == 0) {
                nameByIdeograph(pdf, codes.at(2), ideographOf);
            }
        }
        lineStart = lineEnd + 1;
    }
}

} // namespace

QByteArray withIdeographNames(const QByteArray &pdf, const IdeographOfRadical &ideographOf)
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
            fixBlock(fixed, from, to, block.ranges, ideographOf);
            at = to + block.end.size();
        }
    }
    return fixed;
}

} // namespace granwise
