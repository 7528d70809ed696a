#include "PdfFile.h"

#include "PageSetup.h"
#include "store/AppLocations.h"
#include "store/Error.h"
#include "store/OutputFile.h"

#include <QBuffer>
#include <QPdfWriter>

namespace granwise {

using namespace Qt::StringLiterals;

void writePdf(const QString &path, const QString &title, const QPageLayout &layout, const PagePainter &paint)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(ApplicationTitle);
        writer.setPageLayout(layout);
        paint(writer);
    }
    buffer.close();
    if (buffer.data().isEmpty())
        throw Error(u"无法生成 PDF 文件：%1"_s.arg(path));
    writeFileAtomically(path, withIdeographText(buffer.data()));
}

} // namespace granwise
