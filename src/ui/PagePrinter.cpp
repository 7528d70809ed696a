#include "PagePrinter.h"

#include "ErrorBox.h"
#include "FileDialogs.h"
#include "Prompter.h"
#include "WindowChrome.h"
#include "store/CommonTexts.h"
#include "store/Error.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QString PdfFilter = u"PDF 文件 (*.pdf)"_s;
const QString PdfSuffix = u"pdf"_s;
const QString PdfDialogTitle = u"保存PDF文件"_s;
const QString PreviewCaption = u"打印预览"_s;

// A form is printed at most at its size on a screen of 96 dots per inch.
constexpr double NaturalPointsPerPixel = 0.75;

// A widget's rows are cut between controls; a cut moves up at most this share of a page.
constexpr double LargestCutShift = 0.5;

struct WidgetPages {
    double scale = 1;    // points per widget pixel
    QVector<int> starts; // the widget's y of the top of every page, then its height
};

// Where a control of the widget lies vertically; no page is cut through it.
struct Band {
    int top;
    int bottom;
};

// A control is a widget without visible children of its own, or a box made of parts.
bool isControl(const QWidget *widget)
{
    if (qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget))
        return true;
    const QList<QWidget *> parts = widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    return std::none_of(parts.cbegin(), parts.cend(),
                        [widget](const QWidget *part) { return part->isVisibleTo(widget); });
}

QVector<Band> controlBands(QWidget &widget, int pageHeight)
{
    QVector<Band> bands;
    const QList<QWidget *> children = widget.findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (!child->isVisibleTo(&widget) || child->height() >= pageHeight * LargestCutShift || !isControl(child))
            continue;
        const int top = child->mapTo(&widget, QPoint(0, 0)).y();
        bands.append({top, top + child->height()});
    }
    return bands;
}

WidgetPages widgetPages(const QRectF &area, QWidget &widget)
{
    WidgetPages pages;
    const QSize size = widget.size();
    pages.scale = std::min(NaturalPointsPerPixel, area.width() / std::max(1, size.width()));
    const int pageHeight = std::max(1, int((area.height() - footerHeight() - 6) / pages.scale));
    const QVector<Band> bands = controlBands(widget, pageHeight);
    int start = 0;
    do {
        pages.starts.append(start);
        int cut = start + pageHeight;
        if (cut >= size.height())
            break;
        // Move the cut above every control it would split, but not by more than half a page.
        for (bool moved = true; moved;) {
            moved = false;
            for (const Band &band : bands) {
                if (band.top < cut && cut < band.bottom && band.top > start + pageHeight * LargestCutShift) {
                    cut = band.top;
                    moved = true;
                }
            }
        }
        start = cut;
    } while (start < size.height());
    pages.starts.append(size.height());
    return pages;
}


} // namespace

void printWidget(QPagedPaintDevice &device, QWidget &widget, const PageFooter &footer)
{
    QPainter painter(&device);
    if (!painter.isActive())
        throw Error(texts::PrinterUnavailable);
    const QRectF area = pointArea(painter);
    const WidgetPages pages = widgetPages(area, widget);
    const int pageCount = int(pages.starts.size()) - 1;
    for (int p = 0; p < pageCount; ++p) {
        if (p > 0)
            device.newPage();
        const int top = pages.starts.at(p);
        const int height = pages.starts.at(p + 1) - top;
        painter.save();
        painter.translate(area.topLeft());
        painter.scale(pages.scale, pages.scale);
        painter.setClipRect(QRect(0, 0, widget.width(), height));
        widget.render(&painter, QPoint(0, 0), QRegion(0, top, widget.width(), height),
                      QWidget::DrawWindowBackground | QWidget::DrawChildren);
        painter.restore();
        drawPageFooter(painter, area, footer, p + 1, pageCount);
    }
}

int widgetPageCount(const QPageLayout &layout, QWidget &widget)
{
    return int(widgetPages(pointArea(layout), widget).starts.size()) - 1;
}

void printWithPreview(QWidget *parent, const QString &title, const QPageLayout &layout, const PagePainter &paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setPageLayout(layout);

    QDialog dialog(parent);
    dialog.setObjectName(u"PrintPreview"_s);
    dialog.setWindowTitle(PreviewCaption);
    dialog.resize(1100, 800);
    auto *preview = new QPrintPreviewWidget(&printer, &dialog);
    preview->setObjectName(u"PrintPreviewWidget"_s);
    QObject::connect(preview, &QPrintPreviewWidget::paintRequested, &dialog,
                     [&](QPrinter *target) { guarded(&dialog, [&] { paint(*target); }); });

    // The printer and its settings chosen in the print dialog, then printed.
    const auto chooseAndPrint = [&] {
        QPrintDialog choose(&printer, &dialog);
        if (choose.exec() != QDialog::Accepted)
            return;
        preview->print();
        dialog.accept();
    };
    // "打印" prints on the machine's printer at once; without one it asks where to print.
    const auto printNow = [&] {
        if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty()) {
            chooseAndPrint();
            return;
        }
        preview->print();
        dialog.accept();
    };
    const struct {
        const char16_t *name;
        QString text;
        std::function<void()> act;
    } buttons[] = {
        {u"PreviewPrint", texts::Print, printNow},
        {u"PreviewPrinter", u"打印设置…"_s, chooseAndPrint},
        {u"PreviewZoomIn", u"放大"_s, [preview] { preview->zoomIn(); }},
        {u"PreviewZoomOut", u"缩小"_s, [preview] { preview->zoomOut(); }},
        {u"PreviewClose", u"关闭"_s, [&dialog] { dialog.reject(); }},
    };
    QList<QPushButton *> tools;
    for (const auto &b : buttons) {
        QPushButton *button = chrome::button(QString::fromUtf16(b.name), b.text, &dialog);
        QObject::connect(button, &QPushButton::clicked, &dialog, b.act);
        tools.append(button);
    }
    auto *layoutBox = new QVBoxLayout(&dialog);
    layoutBox->addLayout(chrome::buttonBar(tools, chrome::Align::Left));
    layoutBox->addWidget(preview, 1);
    preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
    dialog.exec();
}

void exportPdf(QWidget *parent, const QString &proposedName, const QString &title, const QPageLayout &layout,
               const PagePainter &paint)
{
    const QString path =
        FileDialogs::current().saveFileName(parent, PdfDialogTitle, proposedName, PdfFilter, PdfSuffix);
    if (path.isEmpty())
        return;
    writePdf(path, title, layout, paint);
    inform(parent, texts::Hint, texts::SaveSucceeded);
}

void printWidgetWithPreview(QWidget *parent, QWidget &content, const QString &title, const QString &databasePath)
{
    const PageFooter footer = currentPageFooter(databasePath);
    printWithPreview(parent, title, a4Layout(QPageLayout::Landscape),
                     [&](QPagedPaintDevice &device) { printWidget(device, content, footer); });
}

void exportWidgetPdf(QWidget *parent, QWidget &content, const QString &proposedName, const QString &title,
                     const QString &databasePath)
{
    const PageFooter footer = currentPageFooter(databasePath);
    exportPdf(parent, proposedName, title, a4Layout(QPageLayout::Landscape),
              [&](QPagedPaintDevice &device) { printWidget(device, content, footer); });
}

} // namespace granwise
