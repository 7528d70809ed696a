#include "Utf8Row.h"

namespace granwise {

using Type = CellValue::Type;

QString Utf8Row::qtext(int i) const
{
    const Cell &c = at(i);
    if (c.type == Type::Text || c.type == Type::Error) {
        const std::string_view utf8 = text(i);
        return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    }
    return cellValue(i).toText();
}

CellValue Utf8Row::cellValue(int i) const
{
    const Cell &c = at(i);
    switch (c.type) {
    case Type::Text:
    case Type::Error:
        return {c.type, 0, qtext(i)};
    default:
        return {c.type, c.number, {}};
    }
}

QVariant Utf8Row::variant(int i) const
{
    switch (at(i).type) {
    case Type::Empty:
        return {};
    case Type::Text:
    case Type::Error:
        return qtext(i);
    default:
        return at(i).number;
    }
}

bool Utf8Row::isBlank(int i) const
{
    const Cell &c = at(i);
    if (c.type == Type::Empty)
        return true;
    if (c.type != Type::Text)
        return false;
    // Most texts have a letter in the ASCII range; only one without needs QString's view of
    // what a blank is (U+3000 and the like).
    bool ascii = true;
    for (const char ch : text(i)) {
        switch (ch) {
        case ' ':
        case '\t':
        case '\n':
        case '\v':
        case '\f':
        case '\r':
            continue;
        default:
            if (static_cast<unsigned char>(ch) < 0x80)
                return false;
            ascii = false;
        }
    }
    return ascii || qtext(i).trimmed().isEmpty();
}

bool Utf8Row::isBlank() const
{
    for (int i = 0; i < size(); ++i)
        if (!isBlank(i))
            return false;
    return true;
}

void Utf8Row::setText(int i, std::string_view utf8, CellValue::Type type)
{
    m_cells[size_t(i)] = {type, quint32(utf8.size()), quint64(m_texts.size()), 0};
    if (!utf8.empty())
        m_texts.append(utf8);
}

void Utf8Row::setText(int i, const QString &text, CellValue::Type type)
{
    const QByteArray utf8 = text.toUtf8();
    setText(i, std::string_view(utf8.constData(), size_t(utf8.size())), type);
}

void Utf8Row::setCell(int i, const CellValue &cell)
{
    if (cell.type == Type::Text || cell.type == Type::Error)
        setText(i, cell.text, cell.type);
    else
        m_cells[size_t(i)] = {cell.type, 0, 0, cell.number};
}

void Utf8Row::assign(const QVector<CellValue> &cells)
{
    clear();
    resize(int(cells.size()));
    for (int i = 0; i < cells.size(); ++i)
        setCell(i, cells.at(i));
}

void Utf8Row::toCells(QVector<CellValue> &cells) const
{
    cells.resize(size());
    for (int i = 0; i < size(); ++i)
        cells[i] = cellValue(i);
}

qsizetype utf16Length(std::string_view utf8)
{
    qsizetype length = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        length += (byte & 0xC0) != 0x80;
        length += byte >= 0xF0;
    }
    return length;
}

} // namespace granwise
