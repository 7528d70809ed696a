#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <optional>

namespace granwise {

class Statement;
class Utf8Row;

// The values of one project: column name -> text as the form shows it (numbers as typed; a
// blank number counts as 0). Display-only totals are not included; check computes them.
using ProjectValues = QHash<QString, QString>;

struct ValidationFailure {
    int rule = -1;          // 0..69; -1 for a field that is not a number
    QString message;        // exact text to show (caption "输入错误提示", information icon, shown by the caller)
    QString focusColumn;    // catalogue column name whose control gets the focus (e.g. u"邮政编码"_s, u"总_财政性资金"_s)
};

// First broken rule in order, or nothing when the project passes. A numeric field whose text
// is no number (a lone sign, "1e", letters) stops the check before any rule, naming the field.
// The derived scale columns (新建仓容, 机械设备) are recomputed from their parts as the entry
// form does; a value given for them is not read.
std::optional<ValidationFailure> check(const ProjectValues &values);

// ---- The rule table -------------------------------------------------------------------------

// What a rule requires; the rule fails when the requirement does not hold.
enum class RuleTest {
    PostalCodeSixDigits, // the postal code, blanks around removed, is six digits 0-9
    LeftNotAboveRight,   // sum of the left columns <= sum of the right columns
    LeftEqualsRight,     // sum of the left columns == sum of the right columns
};

// One rule of the return. Where a side is a sum (or a derived column, itself a sum) both sides
// are compared rounded to 15 significant digits, as the form shows sums; a comparison of two
// typed figures is exact.
struct ValidationRule {
    int number = 0;
    RuleTest test = RuleTest::LeftNotAboveRight;
    QStringList left;       // column names summed on the left (the postal code column for rule 0)
    QStringList right;      // column names summed on the right
    QString message;
    QString focusColumn;
    // Resolved once when the table is built: catalogue positions (projectColumns()) of the
    // columns above, and whether sums are compared rounded.
    QVector<int> leftPositions;
    QVector<int> rightPositions;
    bool roundsSums = false;
};

// Rules 0 to 69 in the order they are tested.
const QVector<ValidationRule> &validationRules();

// ---- Figures: the fast path for many projects ------------------------------------------------

// What the rules read of one project: its postal code and its figures by catalogue position.
// Reuse one object for many projects: reading into it allocates nothing.
struct ProjectFigures {
    ProjectFigures();
    QString postalCode;
    QVector<double> numbers; // one per catalogue column; 0 for columns no rule reads
};

// Reads the form's values into figures (blank -> 0, derived columns recomputed). A failure
// (rule -1) names the first numeric field, in form order, whose text is no number.
std::optional<ValidationFailure> readFigures(const ProjectValues &values, ProjectFigures &figures);

// First broken rule for figures already read, or nothing.
std::optional<ValidationFailure> checkFigures(const ProjectFigures &figures);

// For figures set directly by catalogue position (values converted for storage): sets the
// derived scale columns from their parts, as readFigures does.
void recomputeDerivedFigures(ProjectFigures &figures);

// Whether one rule holds for the figures.
bool rulePasses(const ValidationRule &rule, const ProjectFigures &figures);

// The failure for a numeric field whose text is no number: the message quotes the text and
// names the field by its captions on the form; the focus goes to the field.
ValidationFailure notANumberFailure(const QString &column, const QString &text);

// Reads a figure text the way the check does: blank -> 0; nothing for a text that is no
// finite number.
std::optional<double> readFigure(const QString &text);

// The one reading of a figure held as a value (a stored column, a cell of an upload file):
// NULL -> 0, a number as it is, a text through readFigure. Nothing for a value that is no
// finite number (infinity, NaN, a text that is no number): the check stops at it as it stops
// at a lone sign.
std::optional<double> figureOf(const QVariant &value);
// The value as a failure quotes it ("INF" for infinity).
QString figureValueText(const QVariant &value);

// ---- Stored projects ------------------------------------------------------------------------

// Reads projects as they are stored into figures, every value through figureOf: the rows of a
// query over TZ_XIANGMU (for example "select * from TZ_XIANGMU"), or rows of values about to
// be stored (an upload file's, before it is taken in), so that both are checked alike. The
// positions of the needed columns are looked up once, when the reader is made; a needed column
// missing is an Error.
class StoredProjectReader {
public:
    explicit StoredProjectReader(const Statement &rows);
    // Rows of values in the order of these column names.
    explicit StoredProjectReader(const QStringList &columns);
    // Reads the current row, recomputing the derived columns as the form does. A failure
    // (rule -1) names a number column whose value is no finite number; NULL counts as 0.
    std::optional<ValidationFailure> read(const Statement &row, ProjectFigures &figures) const;
    std::optional<ValidationFailure> read(const Utf8Row &values, ProjectFigures &figures) const;
    // Reads like read() but goes on past a number column that holds no number: its figure
    // reads as 0 and its text goes into `unreadable` at the column's catalogue position (a
    // derived column takes the text of an unreadable part); readable columns stay null.
    void readAll(const Statement &row, ProjectFigures &figures, QVector<QString> &unreadable) const;

private:
    struct Source {
        int resultColumn;
        int position;
        QString name;
    };
    int m_postalCode = -1;
    QVector<Source> m_numbers;

    template<typename Row>
    std::optional<ValidationFailure> readWith(const Row &row, ProjectFigures &figures) const;
};

// The current row of a query over TZ_XIANGMU as the form would show it: every column of the
// catalogue present in the result, texts as stored, numbers through formatNumber (NULL -> "0";
// text stored in a number column that is no number is passed on unchanged, so that check
// reports it).
ProjectValues projectValuesFromRow(const Statement &row);

} // namespace granwise
