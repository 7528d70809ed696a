#include "PageSetup.h"

#include "PdfIdeographNames.h"

#include "store/Clock.h"
#include "store/TaskInfo.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

constexpr double MarginMillimetres = 10;
constexpr double PointsPerInch = 72;
constexpr double FooterPoints = 18;
constexpr double FooterFontPoints = 8;

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

QRectF pointArea(const QPageLayout &layout)
{
    const QRectF rect = layout.paintRect(QPageLayout::Point);
    return QRectF(0, 0, rect.width(), rect.height());
}

QByteArray withIdeographText(const QByteArray &pdf)
{
    return withIdeographNames(pdf, radicalIdeographs());
}

} // namespace granwise
