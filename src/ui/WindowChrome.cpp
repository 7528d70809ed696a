#include "WindowChrome.h"

#include "store/CommonTexts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

namespace granwise::chrome {

using namespace Qt::StringLiterals;

QPushButton *button(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

QAction *backMenu(QWidget *window, QLayout *layout, const QString &itemName)
{
    auto *bar = new QMenuBar(window);
    QMenu *menu = bar->addMenu(texts::Back);
    menu->setObjectName(u"N1"_s);
    QAction *item = menu->addAction(texts::Back);
    item->setObjectName(itemName);
    layout->setMenuBar(bar);
    return item;
}

QHBoxLayout *buttonBar(const QList<QPushButton *> &buttons, Align align)
{
    auto *row = new QHBoxLayout;
    if (align == Align::Right)
        row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    if (align == Align::Left)
        row->addStretch();
    return row;
}

void setUpRowList(QTableWidget *grid, const QStringList &headings, const QList<int> &columnWidths)
{
    grid->setColumnCount(int(headings.size()));
    grid->setHorizontalHeaderLabels(headings);
    grid->verticalHeader()->hide();
    for (int c = 0; c < columnWidths.size(); ++c)
        grid->setColumnWidth(c, columnWidths.at(c));
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

} // namespace granwise::chrome
