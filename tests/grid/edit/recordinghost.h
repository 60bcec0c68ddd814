#pragma once
// A recording stand-in for the program around a grid: ActiveList, and document windows that
// record what the grid asked of them. A window's text bar follows the windows' rule: the
// user's edit of it writes its text into the selected row's cell of the published column.

#include "grid/gridcore.h"
#include "grid/gridhost.h"
#include "grid/gridselection.h"
#include "grid/gridwindow.h"

#include <QStringList>
#include <map>
#include <memory>

class RecordingWindow : public grid::GridWindow {
public:
    bool visible = true;
    grid::GridSelection* grid = nullptr;
    int rowLimit = 65001;
    QStringList calls;
    QString activeColumn = QStringLiteral("1");
    QString textBar;
    QString contactFrom, contactTo;
    // ActiveColumn at the moment the cell was shown in the text bar.
    QString activeColumnAtShow;

    bool Visible() const override { return visible; }
    void DODARED() override
    {
        calls += QStringLiteral("DODARED");
        if (grid && grid->core().ListCount() < rowLimit)
            grid->core().AddRow(QString(), 0);
    }
    void setActiveColumn(const QString& caption) override
    {
        calls += QStringLiteral("ActiveColumn ") + caption;
        bool numeric = false;
        const int n = caption.toInt(&numeric);
        activeColumn = !numeric || n < 1 ? QStringLiteral("1") : caption;
    }
    void showCell(const QString& text, bool bold, bool italic, bool underline, uint32_t color) override
    {
        calls += QStringLiteral("showCell %1 %2%3%4 %5").arg(text).arg(bold).arg(italic).arg(underline).arg(color);
        textBar = text;
        activeColumnAtShow = activeColumn;
    }
    grid::GridSelection* gridSelection() override { return grid; }
    void TransfersItem() override { calls += QStringLiteral("TransfersItem"); }
    void setSelectedContacts(const QString& name) override
    {
        contactFrom = contactTo = name;
        calls += QStringLiteral("SelectedContacts ") + name;
    }
    QString SelectedContactFrom() const override { return contactFrom; }
    void showTransferItems() override { calls += QStringLiteral("showTransferItems"); }
    void OPENITEMS() override { calls += QStringLiteral("OPENITEMS"); }

    // The user edits the text bar: the windows' rule writes it into the grid.
    void typeInTextBar(const QString& text)
    {
        textBar = text;
        grid->COLUMNUMBER();
        grid->core().ChangeItem(grid->core().iSelected(), activeColumn.toInt(), text);
    }
};

class RecordingHost : public grid::GridHost {
public:
    QString activeList;
    std::map<QString, std::unique_ptr<RecordingWindow>> windows;

    RecordingWindow& open(const QString& name, grid::GridSelection* grid = nullptr, bool visible = true)
    {
        auto& w = windows[name];
        w = std::make_unique<RecordingWindow>();
        w->grid = grid;
        w->visible = visible;
        return *w;
    }
    QString ActiveList() const override { return activeList; }
    grid::GridWindow* window(const QString& name) override
    {
        const auto it = windows.find(name);
        return it == windows.end() ? nullptr : it->second.get();
    }
};
