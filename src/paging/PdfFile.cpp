#include "PdfFile.h"

#include "PageSetup.h"
#include "store/Error.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QSaveFile>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QString Creator = u"Granwise（汇总版1.0）"_s;

} // namespace

void writePdf(const QString &path, const QString &title, const QPageLayout &layout, const PagePainter &paint)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(Creator);
        writer.setPageLayout(layout);
        paint(writer);
    }
    buffer.close();
    if (buffer.data().isEmpty())
        throw Error(u"无法生成 PDF 文件：%1"_s.arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(u"无法写入文件 %1：%2"_s.arg(path, file.errorString()));
    file.write(withIdeographText(buffer.data()));
    if (!file.commit())
        throw Error(u"无法写入文件 %1：%2"_s.arg(path, file.errorString()));
}

} // namespace granwise
