#pragma once
// A shown grid widget of a given size, with helpers to send it mouse events at points of its
// own coordinates, and a host that records what the grid asks of it (the editing tests' one).

#include "../edit/recordinghost.h"

#include "grid/list.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace gridtest {

inline void sendMouse(QWidget& w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, pos, w.mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}
inline void press(QWidget& w, QPointF pos, Qt::MouseButton b = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonPress, pos, b, b);
}
inline void moveHeld(QWidget& w, QPointF pos, Qt::MouseButtons held = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, held);
}
inline void moveFree(QWidget& w, QPointF pos)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
}
inline void release(QWidget& w, QPointF pos, Qt::MouseButton b = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonRelease, pos, b, Qt::NoButton);
}

inline QColor rgb(uint32_t bbggrr)
{
    return QColor(bbggrr & 0xFF, (bbggrr >> 8) & 0xFF, (bbggrr >> 16) & 0xFF);
}

struct ListFixture : ::testing::Test {
    grid::List list;
    RecordingHost host;

    ListFixture()
    {
        list.setHost(&host);
        list.resize(400, 300);
        list.show();
    }
    // The editors take the focus only in an active window.
    void SetUp() override
    {
        list.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    }
    // Rows 1..n (the grid starts with one).
    void rows(int n)
    {
        if (n > list.ListCount())
            list.AddMoreThanOneRow(n - list.ListCount());
    }
    QImage shot() { return list.grab().toImage(); }
};

} // namespace gridtest
