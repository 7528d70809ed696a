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

QVector<DerivedFigure> buildDerivedFigures()
{
    QVector<DerivedFigure> figures;
    for (int g = 0; g < investmentPrefixes().size(); ++g) {
        DerivedFigure total{investmentTotalControl(g), {}, {}};
        for (int p = 0; p < kCompositionParts; ++p)
            total.sources << findProjectColumn(investmentColumn(g, p))->control;
        figures << total;
    }
    for (const DerivedColumn &derived : derivedScaleColumns()) {
        DerivedFigure figure{findProjectColumn(derived.column)->control, derived.column, {}};
        for (const QString &part : derived.parts)
            figure.sources << findProjectColumn(part)->control;
        figures << figure;
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
