#pragma once

#include "store/Error.h"
#include "store/OutputFile.h"

#include <QFile>
#include <xlsxwriter.h>

namespace granwise::templets {

// A template workbook written by libxlsxwriter. It is written under a temporary name beside
// its path and renamed into place by close() only when complete; a book dropped unfinished is
// freed and its temporary removed, so a template is never half a workbook.
class TemplateBook {
public:
    explicit TemplateBook(const QString &path) : m_out(path)
    {
        m_book = workbook_new(QFile::encodeName(m_out.path()).constData());
        if (!m_book)
            throw Error(QStringLiteral("Cannot create file %1").arg(path));
    }
    ~TemplateBook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    TemplateBook(const TemplateBook &) = delete;
    TemplateBook &operator=(const TemplateBook &) = delete;

    lxw_workbook *book() const { return m_book; }
    const QString &path() const { return m_out.target(); }

    // Writes the workbook and puts it in place.
    void close()
    {
        const lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        if (error != LXW_NO_ERROR)
            throw Error(QStringLiteral("模板写不成：%1（%2）").arg(path(), QString::fromUtf8(lxw_strerror(error))));
        m_out.commit();
    }

private:
    OutputFile m_out;
    lxw_workbook *m_book = nullptr;
};

} // namespace granwise::templets
