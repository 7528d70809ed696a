#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>

class QPagedPaintDevice;

namespace granwise {

// Paints every page of a document onto a paged device (a printer or a PDF writer), calling
// device.newPage() between pages.
using PagePainter = std::function<void(QPagedPaintDevice &device)>;

// Writes a PDF file with the Chinese fonts embedded. The file at `path` is replaced only once
// the document is complete; a failure throws an Error and leaves it as it was.
void writePdf(const QString &path, const QString &title, const QPageLayout &layout, const PagePainter &paint);

} // namespace granwise
