#pragma once
// What the window screenshot programs share: a fixed look (style, font, a steady caret), so
// that the same build draws the same picture every time, and the window manager's title bar
// drawn above a window's picture with its caption; and prompts in which the user picks the
// sample file.

#include "platform/commondialog.h"
#include "platform/prompts.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStyleFactory>

namespace shotframe {

inline void useFixedLook()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    QApplication::setCursorFlashTime(0);
}

inline QImage withTitleBar(const QImage& client, const QString& caption)
{
    constexpr int TitleHeight = 22;
    QImage out(client.width(), client.height() + TitleHeight, QImage::Format_RGB32);
    QPainter p(&out);
    p.fillRect(0, 0, out.width(), TitleHeight, QColor(0x2b, 0x4f, 0x81));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(8, 0, out.width() - 16, TitleHeight), Qt::AlignVCenter | Qt::AlignLeft, caption);
    p.drawImage(0, TitleHeight, client);
    return out;
}

// The user picks the sample file in the open dialog and answers every message with OK.
class Choosing : public platform::Prompts {
public:
    explicit Choosing(QString path) : m_path(std::move(path)) {}
    platform::Answer MsgBox(const QString&, int, const QString&) override { return platform::Answer::OK; }
    QString InputBox(const QString&, const QString&, const QString&) override { return QString(); }
    bool ShowOpen(platform::CommonDialog& dialog) override
    {
        dialog.FileName = m_path;
        dialog.FileTitle = QFileInfo(m_path).fileName();
        return true;
    }
    bool ShowSave(platform::CommonDialog&) override { return false; }
    bool ShowColor(platform::CommonDialog&) override { return false; }

private:
    QString m_path;
};

} // namespace shotframe
