#include "FormFigures.h"

#include "NumberInput.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// Parts 1-3 of an investment group (construction and installation, equipment, other costs)
// make its total.
constexpr int kCompositionParts = 3;

// The scale items summed into a derived item, planned and completed alike.
struct ScaleSum {
    const char16_t *item;
    QVector<const char16_t *> parts;
};
const QVector<ScaleSum> &scaleSums()
{
    static const QVector<ScaleSum> sums{
        {u"新建仓容", {u"平房仓", u"立筒仓", u"浅圆仓", u"其他仓型"}},
        {u"机械设备", {u"保粮设备", u"烘干设备", u"进出仓设备", u"地中衡", u"检化验设备"}},
    };
    return sums;
}

const ScaleItem &scaleItem(const QString &item)
{
    for (const ScaleItem &s : scaleItems())
        if (s.item == item)
            return s;
    Q_UNREACHABLE();
}

QVector<DerivedFigure> buildDerivedFigures()
{
    QVector<DerivedFigure> figures;
    for (int g = 0; g < investmentPrefixes().size(); ++g) {
        DerivedFigure total{investmentTotalControl(g), {}, {}};
        for (int p = 0; p < kCompositionParts; ++p)
            total.sources << findProjectColumn(investmentColumn(g, p))->control;
        figures << total;
    }
    for (const bool planned : {true, false}) {
        for (const ScaleSum &sum : scaleSums()) {
            const ScaleItem &target = scaleItem(QString::fromUtf16(sum.item));
            DerivedFigure figure{planned ? target.plannedControl : target.completedControl,
                                 planned ? target.plannedColumn : target.completedColumn,
                                 {}};
            for (const char16_t *part : sum.parts) {
                const ScaleItem &source = scaleItem(QString::fromUtf16(part));
                figure.sources << (planned ? source.plannedControl : source.completedControl);
            }
            figures << figure;
        }
    }
    return figures;
}

} // namespace

QString investmentTotalControl(int group)
{
    return u"MaskEdit1"_s + QString::number(3 + group);
}

const QVector<DerivedFigure> &derivedFigures()
{
    static const QVector<DerivedFigure> figures = buildDerivedFigures();
    return figures;
}

const QStringList &numericControls()
{
    static const QStringList controls = [] {
        QStringList names;
        for (const ProjectColumn &c : projectColumns())
            if (c.group == ColumnGroup::Investment || c.group == ColumnGroup::Scale)
                names << c.control;
        for (int g = 0; g < investmentPrefixes().size(); ++g)
            names << investmentTotalControl(g);
        return names;
    }();
    return controls;
}

QHash<QString, QString> recomputeFigures(const std::function<QString(const QString &control)> &textOf)
{
    QHash<QString, QString> texts;
    for (const DerivedFigure &figure : derivedFigures()) {
        double sum = 0;
        for (const QString &source : figure.sources)
            sum += figureValue(textOf(source));
        texts.insert(figure.control, formatNumber(sum));
    }
    return texts;
}

} // namespace granwise
