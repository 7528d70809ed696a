#pragma once

#include <QDateTime>
#include <QString>

namespace granwise {

// One cell as a workbook holds it.
struct CellValue {
    enum class Type { Empty, Number, Text, Boolean, DateTime, Error };

    Type type = Type::Empty;
    // Number: the value; Boolean: 1 or 0; DateTime: days since 1899-12-30 (the 1900 date
    // system, whatever system the workbook uses).
    double number = 0;
    // Text: the text; Error: the error's text ("#DIV/0!").
    QString text;

    static CellValue ofNumber(double value) { return {Type::Number, value, {}}; }
    static CellValue ofText(const QString &value) { return {Type::Text, 0, value}; }
    static CellValue ofBoolean(bool value) { return {Type::Boolean, value ? 1.0 : 0.0, {}}; }
    static CellValue ofDateTime(const QDateTime &value);
    static CellValue ofError(const QString &value) { return {Type::Error, 0, value}; }

    // Empty, or a text of nothing but blanks.
    bool isBlank() const;
    bool isNumeric() const { return type == Type::Number; }
    // The cell as text: numbers in the program's number format (never "1.0"), "TRUE"/"FALSE",
    // dates "yyyy-MM-dd" and date-times "yyyy-MM-dd HH:mm:ss".
    QString toText() const;
    QDateTime toDateTime() const; // DateTime cells (UTC, no time zone)
};

// Days since 1899-12-30 of a date-time, as the 1900 date system counts them (with its day
// 1900-02-29 that never was, so that serials from 61 on agree with spreadsheet programs).
double dateTimeToSerial(const QDateTime &value);
QDateTime serialToDateTime(double serial);

} // namespace granwise
