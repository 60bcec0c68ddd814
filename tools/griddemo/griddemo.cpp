// Shows one grid with a few formatted rows in a plain window, for screenshots of the widget.

#include "grid/list.h"
#include "platform/brokenpipe.h"

#include <QApplication>
#include <QStyleHints>

int main(int argc, char** argv)
{
    platform::ignoreBrokenPipe();
    QApplication app(argc, argv);
    // A steady caret: a blinking one would be in some screenshots and not in others.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    grid::List list;
    list.setWindowTitle(QStringLiteral("Grid"));
    list.resize(560, 300);
    list.SetColumnHeader(1, QStringLiteral("Item Name"));
    list.LetWidthColumn(1, 170);
    list.AddColumn(0, 80, QStringLiteral("Price"));
    list.AddColumn(0, 70, QStringLiteral("Quantity"));
    list.AddColumn(0, 90, QStringLiteral("Total"));
    list.AddColumn(0, 160, QStringLiteral("Note"));
    const char* items[] = {"Oak board 20 mm", "Pine batten", "Wood glue 1 kg", "Brass hinge", "Wood screws 4x40",
                           "Varnish, clear", "Sandpaper P120", "Drawer runner"};
    const double prices[] = {24.5, 3.2, 9.9, 1.75, 6.4, 14.0, 0.8, 12.3};
    const int quantities[] = {4, 12, 1, 8, 3, 2, 25, 6};
    list.AddMoreThanOneRow(29);
    for (int r = 1; r <= 8; ++r) {
        list.ChangeItem(r, 1, QString::fromLatin1(items[r - 1]));
        list.ChangeItem(r, 2, QString::number(prices[r - 1], 'f', 2));
        list.ChangeItem(r, 3, QString::number(quantities[r - 1]));
        list.ChangeItem(r, 4, QString::number(prices[r - 1] * quantities[r - 1], 'f', 2));
    }
    list.SetBold(1, 1, true);
    list.SetColor(2, 1, 0x0000C0);
    list.SetItallic(3, 1, true);
    list.SetUnderlined(4, 1, true);
    list.SetColor(5, 4, 0x008000);
    list.SetBold(5, 4, true);
    list.ChangeItem(6, 5, QStringLiteral("ask for the matt finish"));
    list.SetItallic(6, 5, true);
    list.SetColor(6, 5, 0x800000);
    list.ClearUndoRedo();
    list.show();
    list.SelectItem(3, 1, 2);
    return app.exec();
}
