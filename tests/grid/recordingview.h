#pragma once
// A grid view for tests: records what the grid would redraw or re-lay, as short strings.

#include "grid/gridview.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

class RecordingView : public grid::GridView {
public:
    QStringList calls;
    int visibleHeight = 400;
    QString failOn; // a call name that throws, to stand for a failing step
    std::function<void(const QString&)> onCall; // runs at every call, before any failure

    void renderColumn(int Stol) override { note(QStringLiteral("render %1").arg(Stol)); }
    void setScrollers() override { note(QStringLiteral("scrollers")); }
    void fitCounterColumn() override { note(QStringLiteral("fit")); }
    void deselectRow() override { note(QStringLiteral("deselect")); }
    void columnsChanged(int first) override { note(QStringLiteral("columns %1").arg(first)); }
    void rowsChanged(int first) override { note(QStringLiteral("rows %1").arg(first)); }
    // Not recorded: they concern the cell editors, which this view has none of.
    void changeBegins() override {}
    void changeEnded() override {}
    void columnCaptionChanged(int index) override { note(QStringLiteral("caption %1").arg(index)); }
    void columnEditChanged(int index) override { note(QStringLiteral("edit %1").arg(index)); }
    void resetHorizontalScroll() override { note(QStringLiteral("left")); }
    int rowAreaHeight() const override { return visibleHeight; }

    bool saw(const QString& call) const { return calls.contains(call); }
    QStringList renders() const { return calls.filter(QStringLiteral("render ")); }

private:
    void note(const QString& call)
    {
        calls += call;
        if (onCall)
            onCall(call);
        if (!failOn.isEmpty() && call == failOn)
            throw std::runtime_error("view failed");
    }
};
