#include "ReportTestSupport.h"
#include "exchange/SampleProjects.h"
#include "reports/frame/ReportRegistry.h"
#include "reports/windows/ReportWindow.h"
#include "reports/windows/ReportWindowFactory.h"
#include "store/ProjectColumns.h"

#include <QFontMetrics>
#include <QStyle>
#include <QTableWidget>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

// The projects of a province-level office at the largest scale the tables are used at.
constexpr int kSampleProjects = 100000;

class ReportCellFit : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        db = new test::TempDatabase;
        Connection connection = db->connect();
        const QStringList columns = uploadColumnNames();
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << u"?"_s;
        Transaction transaction(connection);
        Statement insert = connection.prepare(u"insert into TZ_XIANGMU (\"%1\") values (%2)"_s.arg(
            columns.join(u"\",\""_s), marks.join(u',')));
        SampleProjects samples(connection, 15);
        for (int i = 0; i < kSampleProjects; ++i) {
            const QVector<QVariant> row = samples.next();
            for (int c = 0; c < row.size(); ++c)
                insert.bind(c + 1, row.at(c));
            insert.run();
            insert.reset();
        }
        transaction.commit();
    }
    static void TearDownTestSuite()
    {
        delete db;
        db = nullptr;
    }
    static test::TempDatabase *db;
};
test::TempDatabase *ReportCellFit::db = nullptr;

// Whether a cell of the grid shows its whole text: measured with the cell's font in the cell's
// rectangle (a merged cell's whole rectangle) less the grid line and the margins the item
// delegate keeps; heads may wrap, figures and labels must fit on one line.
bool showsWhole(const QTableWidget &grid, int row, int column, bool mayWrap)
{
    const QTableWidgetItem *item = grid.item(row, column);
    const QRect cell = grid.visualRect(grid.model()->index(row, column));
    const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    const QRect text = cell.adjusted(margin, 0, -margin - 1, -1);
    const int flags = Qt::AlignCenter | (mayWrap ? Qt::TextWordWrap : 0);
    const QRect needed = QFontMetrics(item->font()).boundingRect(QRect(0, 0, text.width(), INT_MAX), flags, item->text());
    return needed.width() <= text.width() && needed.height() <= text.height();
}

TEST_F(ReportCellFit, EveryTableWindowShowsEveryTextWhole)
{
    test::table(u"1-2"_s); // registers the tables
    int checked = 0;
    for (const ReportDefinition *definition : reportDefinitions()) {
        std::unique_ptr<QDialog> dialog(createReportWindow(*definition, db->context(), nullptr));
        auto *window = qobject_cast<ReportWindow *>(dialog.get());
        ASSERT_NE(window, nullptr) << definition->title.toStdString();
        if (definition->kind == WindowKind::Selectable)
            window->BitBtn3Click(); // the whole country
        const auto *grid = window->findChild<QTableWidget *>(u"AdvStringGrid1"_s);
        const int firstDataRow = window->grid().firstDataRow();
        for (int r = 0; r < grid->rowCount(); ++r) {
            for (int c = 0; c < grid->columnCount(); ++c) {
                const QTableWidgetItem *item = grid->item(r, c);
                if (!item || item->text().isEmpty())
                    continue;
                // A cell a merge covers is drawn by its first cell.
                const QRect cell = grid->visualRect(grid->model()->index(r, c));
                if (cell.topLeft() != QPoint(grid->columnViewportPosition(c), grid->rowViewportPosition(r)))
                    continue;
                ++checked;
                EXPECT_TRUE(showsWhole(*grid, r, c, r < firstDataRow))
                    << definition->title.toStdString() << " (" << r << ", " << c << ") cuts "
                    << item->text().toStdString();
            }
        }
    }
    EXPECT_GT(checked, 5000); // every table was looked at
}

} // namespace
} // namespace granwise
