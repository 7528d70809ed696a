#pragma once

#include "CellValue.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <string>
#include <string_view>
#include <vector>

namespace granwise {

// A row of cells whose texts stay in UTF-8, as a workbook and the database hold them, one
// after the other in one buffer of the row. A reader of a hundred thousand rows wants this:
// a QString per text would cost an allocation, a conversion each way and a free, on two
// threads. The room of the cells and of the texts is kept when the row is filled again.
class Utf8Row {
public:
    struct Cell {
        CellValue::Type type = CellValue::Type::Empty;
        quint32 size = 0;  // Text, Error: bytes of the text
        quint64 offset = 0; // Text, Error: where the text begins in the row's buffer
        double number = 0; // Number, Boolean, DateTime: as CellValue holds it
    };

    int size() const { return int(m_cells.size()); }
    const Cell &at(int i) const { return m_cells[size_t(i)]; }
    // Text, Error: the cell's text, valid until the row changes. Empty for any other cell.
    std::string_view text(int i) const
    {
        const Cell &c = m_cells[size_t(i)];
        return {m_texts.data() + c.offset, c.size};
    }
    // The cell's text as a QString: null for an empty cell, numbers as CellValue::toText().
    QString qtext(int i) const;
    CellValue cellValue(int i) const;
    // NULL (invalid) for an empty cell, a double for a number, a QString for a text.
    QVariant variant(int i) const;
    // Empty, or a text of nothing but blanks (as QString::trimmed() counts them).
    bool isBlank(int i) const;
    bool isBlank() const;

    void clear()
    {
        m_cells.clear();
        m_texts.clear();
    }
    // New cells are empty.
    void resize(int size) { m_cells.resize(size_t(size)); }
    void setEmpty(int i) { m_cells[size_t(i)] = {}; }
    void setNumber(int i, double number, CellValue::Type type = CellValue::Type::Number)
    {
        m_cells[size_t(i)] = {type, 0, 0, number};
    }
    // Text or Error; `utf8` must be well-formed UTF-8.
    void setText(int i, std::string_view utf8, CellValue::Type type = CellValue::Type::Text);
    void setText(int i, const QString &text, CellValue::Type type = CellValue::Type::Text);
    void setCell(int i, const CellValue &cell);

    void assign(const QVector<CellValue> &cells);
    void toCells(QVector<CellValue> &cells) const;

private:
    std::vector<Cell> m_cells;
    std::string m_texts;
};

// UTF-16 units of well-formed UTF-8: one per character, two for those beyond the BMP.
qsizetype utf16Length(std::string_view utf8);

} // namespace granwise
