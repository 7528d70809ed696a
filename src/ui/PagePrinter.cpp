#include "PagePrinter.h"

#include "ErrorBox.h"
#include "FileDialogs.h"
#include "Prompter.h"
#include "store/Clock.h"
#include "store/Error.h"
#include "store/OutputFile.h"
#include "store/TaskInfo.h"

#include <QAbstractSpinBox>
#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRawFont>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QString PdfFilter = u"PDF 文件 (*.pdf)"_s;
const QString PdfSuffix = u"pdf"_s;
const QString Notice = u"提示"_s;
const QString Saved = u"保存成功！"_s;
const QString PreviewCaption = u"打印预览"_s;
const QString Creator = u"Granwise（汇总版1.0）"_s;

constexpr double MarginMillimetres = 10;
constexpr double PointsPerInch = 72;
constexpr double FooterPoints = 18;
constexpr double FooterFontPoints = 8;
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
    const int pageHeight = std::max(1, int((area.height() - FooterPoints - 6) / pages.scale));
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

QRectF areaOf(const QPageLayout &layout)
{
    const QRectF rect = layout.paintRect(QPageLayout::Point);
    return QRectF(0, 0, rect.width(), rect.height());
}

QFont chineseFont(bool bold)
{
    QFont font;
    font.setFamilies({u"宋体"_s, u"SimSun"_s, u"NSimSun"_s, u"Noto Serif CJK SC"_s, u"Noto Sans CJK SC"_s,
                      u"Source Han Serif SC"_s, u"WenQuanYi Zen Hei"_s, u"AR PL UMing CN"_s});
    font.setBold(bold);
    return font;
}

// Code points of radicals that Chinese fonts draw with an ideograph's glyph, and that ideograph.
QHash<char16_t, char16_t> buildRadicalIdeographs()
{
    QHash<char16_t, char16_t> map;
    // The Kangxi radicals decompose to their ideographs.
    for (char16_t radical = 0x2F00; radical <= 0x2FD5; ++radical) {
        const QString ideograph = QString(QChar(radical)).normalized(QString::NormalizationForm_KC);
        if (ideograph.size() == 1 && ideograph.at(0).unicode() != radical)
            map.insert(radical, ideograph.at(0).unicode());
    }
    // The supplement's radicals mostly do not: take the ideograph the fonts give the same glyph.
    QString ideographs;
    for (char16_t c = 0x4E00; c <= 0x9FFF; ++c)
        ideographs.append(QChar(c));
    QString radicals;
    for (char16_t c = 0x2E80; c <= 0x2EFF; ++c)
        radicals.append(QChar(c));
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return map;
    for (const QFont &font : {chineseFont(false), chineseFont(true), QGuiApplication::font()}) {
        const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
        if (!raw.isValid())
            continue;
        const QList<quint32> ideographGlyphs = raw.glyphIndexesForString(ideographs);
        const QList<quint32> radicalGlyphs = raw.glyphIndexesForString(radicals);
        QHash<quint32, char16_t> ideographOf;
        for (int i = int(ideographGlyphs.size()) - 1; i >= 0; --i)
            if (ideographGlyphs.at(i) != 0)
                ideographOf.insert(ideographGlyphs.at(i), char16_t(0x4E00 + i));
        for (int i = 0; i < radicalGlyphs.size(); ++i) {
            const char16_t radical = char16_t(0x2E80 + i);
            const auto found = ideographOf.constFind(radicalGlyphs.at(i));
            if (radicalGlyphs.at(i) != 0 && found != ideographOf.cend() && !map.contains(radical))
                map.insert(radical, *found);
        }
    }
    return map;
}

const QHash<char16_t, char16_t> &radicalIdeographs()
{
    static const QHash<char16_t, char16_t> map = buildRadicalIdeographs();
    return map;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The four-digit hex codes <XXXX> of a line of a ToUnicode map: their offsets in the file.
QVector<qsizetype> hexCodes(const QByteArray &pdf, qsizetype from, qsizetype to)
{
    QVector<qsizetype> codes;
    for (qsizetype i = from; i + 5 < to; ++i) {
        if (pdf.at(i) != '<' || pdf.at(i + 5) != '>')
            continue;
        if (isHexDigit(pdf.at(i + 1)) && isHexDigit(pdf.at(i + 2)) && isHexDigit(pdf.at(i + 3))
            && isHexDigit(pdf.at(i + 4)))
            codes.append(i + 1);
    }
    return codes;
}

// Rewrites the code at `at` (four hex digits) when it names a radical with an ideograph.
void nameByIdeograph(QByteArray &pdf, qsizetype at)
{
    bool ok = false;
    const char16_t code = char16_t(pdf.mid(at, 4).toUShort(&ok, 16));
    if (!ok)
        return;
    const auto found = radicalIdeographs().constFind(code);
    if (found == radicalIdeographs().cend())
        return;
    const QByteArray replacement = QByteArray::number(*found, 16).toUpper().rightJustified(4, '0');
    pdf.replace(at, 4, replacement);
}

// One block "beginbfrange … endbfrange" or "beginbfchar … endbfchar" of a ToUnicode map.
void fixBlock(QByteArray &pdf, qsizetype from, qsizetype to, bool ranges)
{
    qsizetype lineStart = from;
    while (lineStart < to) {
        qsizetype lineEnd = pdf.indexOf('\n', lineStart);
        if (lineEnd < 0 || lineEnd > to)
            lineEnd = to;
        const QVector<qsizetype> codes = hexCodes(pdf, lineStart, lineEnd);
        if (!ranges) {
            // <glyph> <unicode>
            if (codes.size() == 2)
                nameByIdeograph(pdf, codes.at(1));
        } else if (codes.size() >= 3) {
            // <first> <last> [<unicode> …] names every glyph; <first> <last> <unicode> names a run
            // of consecutive codes, which only a single glyph may change.
            const qsizetype bracket = pdf.indexOf('[', lineStart);
            if (bracket >= 0 && bracket < lineEnd) {
                for (int i = 2; i < codes.size(); ++i)
                    nameByIdeograph(pdf, codes.at(i));
            } else if (codes.size() == 3
                       && pdf.mid(codes.at(0), 4).compare(pdf.mid(codes.at(1), 4), Qt::CaseInsensitive) == 0) {
                nameByIdeograph(pdf, codes.at(2));
            }
        }
        lineStart = lineEnd + 1;
    }
}

} // namespace

PageFooter currentPageFooter(const QString &databasePath)
{
    PageFooter footer;
    if (const std::optional<TaskInfo> info = readTaskInfo(databasePath))
        footer.unitName = info->unitName.trimmed();
    footer.date = formatDate(Clock::current().now().date());
    return footer;
}

QPageLayout a4Layout(QPageLayout::Orientation orientation)
{
    const QMarginsF margins(MarginMillimetres, MarginMillimetres, MarginMillimetres, MarginMillimetres);
    return QPageLayout(QPageSize(QPageSize::A4), orientation, margins, QPageLayout::Millimeter);
}

QFont printFont(const QPaintDevice &device, double points, bool bold)
{
    QFont font = chineseFont(bold);
    // The painter draws in points, so the font's size is given in points of the device's grid.
    font.setPointSizeF(points * PointsPerInch / device.logicalDpiY());
    return font;
}

QRectF pointArea(QPainter &painter)
{
    QPaintDevice *device = painter.device();
    const double scale = device->logicalDpiX() / PointsPerInch;
    const double scaleY = device->logicalDpiY() / PointsPerInch;
    painter.scale(scale, scaleY);
    return QRectF(0, 0, device->width() / scale, device->height() / scaleY);
}

double footerHeight()
{
    return FooterPoints;
}

void drawPageFooter(QPainter &painter, const QRectF &area, const PageFooter &footer, int page, int pageCount)
{
    painter.save();
    const QRectF band(area.left(), area.bottom() - FooterPoints, area.width(), FooterPoints);
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawLine(band.topLeft() + QPointF(0, 2), band.topRight() + QPointF(0, 2));
    painter.setFont(printFont(*painter.device(), FooterFontPoints));
    const QRectF text = band.adjusted(0, 4, 0, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, footer.unitName);
    painter.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, u"第 %1 页 共 %2 页"_s.arg(QString::number(page), QString::number(pageCount)));
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, footer.date);
    painter.restore();
}

void printWidget(QPagedPaintDevice &device, QWidget &widget, const PageFooter &footer)
{
    QPainter painter(&device);
    if (!painter.isActive())
        throw Error(u"无法打印：打印设备不可用"_s);
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
    return int(widgetPages(areaOf(layout), widget).starts.size()) - 1;
}

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
    writeFileAtomically(path, withIdeographText(buffer.data()));
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
        const char16_t *text;
        std::function<void()> act;
    } buttons[] = {
        {u"PreviewPrint", u"打印", printNow},
        {u"PreviewPrinter", u"打印设置…", chooseAndPrint},
        {u"PreviewZoomIn", u"放大", [preview] { preview->zoomIn(); }},
        {u"PreviewZoomOut", u"缩小", [preview] { preview->zoomOut(); }},
        {u"PreviewClose", u"关闭", [&dialog] { dialog.reject(); }},
    };
    auto *tools = new QHBoxLayout;
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QString::fromUtf16(b.text), &dialog);
        button->setObjectName(QString::fromUtf16(b.name));
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, &dialog, b.act);
        tools->addWidget(button);
    }
    tools->addStretch(1);
    auto *layoutBox = new QVBoxLayout(&dialog);
    layoutBox->addLayout(tools);
    layoutBox->addWidget(preview, 1);
    preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
    dialog.exec();
}

void exportPdf(QWidget *parent, const QString &proposedName, const QString &title, const QPageLayout &layout,
               const PagePainter &paint)
{
    const QString path = FileDialogs::current().saveFileName(parent, proposedName, PdfFilter, PdfSuffix);
    if (path.isEmpty())
        return;
    writePdf(path, title, layout, paint);
    inform(parent, Notice, Saved);
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

QByteArray withIdeographText(const QByteArray &pdf)
{
    QByteArray fixed = pdf;
    const struct {
        QByteArray begin;
        QByteArray end;
        bool ranges;
    } blocks[] = {{"beginbfrange", "endbfrange", true}, {"beginbfchar", "endbfchar", false}};
    for (const auto &block : blocks) {
        qsizetype at = 0;
        while ((at = fixed.indexOf(block.begin, at)) >= 0) {
            const qsizetype from = at + block.begin.size();
            const qsizetype to = fixed.indexOf(block.end, from);
            if (to < 0)
                break;
            fixBlock(fixed, from, to, block.ranges);
            at = to + block.end.size();
        }
    }
    return fixed;
}

} // namespace granwise
