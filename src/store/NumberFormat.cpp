#include "NumberFormat.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {
struct Decimal {
    bool negative = false;
    QString digits; // significant digits without trailing zeros, at least one
    int exponent = 0; // power of ten of the first digit
};

Decimal toDecimal15(double value)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    const QString text = QString::fromLatin1(buffer);
    Decimal d;
    int i = 0;
    if (text.at(0) == u'-') {
        d.negative = true;
        i = 1;
    }
    const int e = int(text.indexOf(u'e'));
    for (int k = i; k < e; ++k)
        if (text.at(k).isDigit())
            d.digits.append(text.at(k));
    d.exponent = text.mid(e + 1).toInt();
    while (d.digits.size() > 1 && d.digits.endsWith(u'0'))
        d.digits.chop(1);
    return d;
}
} // namespace

QString formatNumber(double value)
{
    if (std::isnan(value))
        return u"NAN"_s;
    if (std::isinf(value))
        return value > 0 ? u"INF"_s : u"-INF"_s;
    if (value == 0)
        return u"0"_s;
    const Decimal d = toDecimal15(value);
    QString out = d.negative ? u"-"_s : QString();
    if (d.exponent >= -5 && d.exponent <= 14) {
        if (d.exponent < 0) {
            out += u"0."_s + QString(-d.exponent - 1, u'0') + d.digits;
        } else if (d.digits.size() <= d.exponent + 1) {
            out += d.digits + QString(d.exponent + 1 - d.digits.size(), u'0');
        } else {
            out += d.digits.left(d.exponent + 1) + u'.' + d.digits.mid(d.exponent + 1);
        }
        return out;
    }
    out += d.digits.left(1);
    if (d.digits.size() > 1)
        out += u'.' + d.digits.mid(1);
    out += u'E' + QString::number(d.exponent);
    return out;
}

std::optional<double> parseNumber(const QString &text)
{
    static const QRegularExpression pattern(u"^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"_s);
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    const QByteArray latin = text.trimmed().toLatin1();
    const double value = std::strtod(latin.constData(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

double numberOrZero(const QString &text)
{
    return parseNumber(text).value_or(0.0);
}

double roundTo15Digits(double value)
{
    if (value == 0 || !std::isfinite(value))
        return value;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    return std::strtod(buffer, nullptr);
}

} // namespace granwise
