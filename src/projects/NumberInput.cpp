#include "NumberInput.h"

#include "store/NumberFormat.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isSign(QChar c)
{
    return c == u'+' || c == u'-';
}

// Index where reading the text as a number stops, or text.size() when all of it is read (an
// unfinished text included).
qsizetype readableLength(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    if (i < n && isSign(text.at(i)))
        ++i;
    bool mantissaDigits = false;
    while (i < n && isAsciiDigit(text.at(i))) {
        ++i;
        mantissaDigits = true;
    }
    if (i < n && text.at(i) == u'.') {
        ++i;
        while (i < n && isAsciiDigit(text.at(i))) {
            ++i;
            mantissaDigits = true;
        }
    }
    if (i < n && mantissaDigits && (text.at(i) == u'e' || text.at(i) == u'E')) {
        ++i;
        if (i < n && isSign(text.at(i)))
            ++i;
        while (i < n && isAsciiDigit(text.at(i)))
            ++i;
    }
    return i;
}

} // namespace

FilteredInput filterNumberInput(const QString &text)
{
    const qsizetype stop = readableLength(text);
    if (stop >= text.size())
        return {text, -1};
    QString filtered = text;
    filtered.remove(stop, 1);
    return {filtered, int(stop)};
}

double figureValue(const QString &text)
{
    if (const auto value = parseNumber(text))
        return *value;
    // An exponent still being typed ("1e", "1e-") counts as the number before it; a number
    // beyond the range of a double ("1e309") counts as nothing.
    const qsizetype e = text.lastIndexOf(u'e', -1, Qt::CaseInsensitive);
    const QStringView exponent = QStringView(text).mid(e + 1).trimmed();
    if (e > 0 && (exponent.isEmpty() || exponent == u"-" || exponent == u"+"))
        return parseNumber(text.left(e)).value_or(0.0);
    return 0.0;
}

bool isStorableFigure(const QString &text)
{
    return text.trimmed().isEmpty() || parseNumber(text).has_value();
}

} // namespace granwise
