#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QAction;
class QHBoxLayout;
class QLayout;
class QPushButton;
class QTableWidget;
class QWidget;

// What the program's windows share around their content: the buttons, the menu "返回" and the
// row of buttons along the window's foot, and the read-only lists of rows.
namespace granwise::chrome {

// A push button with its documented objectName. It never turns into the dialog's default button
// when it takes the focus, so Enter in a box of the window does not press it.
QPushButton *button(const QString &objectName, const QString &text, QWidget *parent);

// The menu bar of a window that goes back to where it was opened from: the menu "返回" (N1)
// holding the one item "返回" (named `itemName`), set above everything `layout` holds. The
// window connects the item it returns to its way back.
QAction *backMenu(QWidget *window, QLayout *layout, const QString &itemName);

enum class Align { Left, Right };
// A row of buttons in the order given, standing at the left or the right end.
QHBoxLayout *buttonBar(const QList<QPushButton *> &buttons, Align align);

// A read-only table under `headings` whose rows are chosen whole, one at a time; the last
// column takes what room is left after `columnWidths` (as many as given, from the first).
void setUpRowList(QTableWidget *grid, const QStringList &headings, const QList<int> &columnWidths = {});

} // namespace granwise::chrome
