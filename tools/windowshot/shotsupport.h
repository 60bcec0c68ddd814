#pragma once
// What the window picture programs (windowshot, paymentshot, transactionshot) share: the
// program around one document window reduced to what that window asks of it, prompts that
// choose a given file in the open dialog, fixed style and fonts so the same build draws the
// same picture every time, and the window manager's title bar drawn above the window with its
// caption.

#include "datafiles/settingsstore.h"
#include "grid/documents/exchangehost.h"
#include "platform/commondialog.h"
#include "platform/prompts.h"
#include "windows/document/documentwindow.h"
#include "windows/document/windowshell.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStyleFactory>

namespace windowshot {

// The program around the window, reduced to what one document window asks of it.
class Surroundings : public grid::ExchangeHost, public windows::WindowShell {
public:
    explicit Surroundings(datafiles::SettingsStore& store) : m_store(store) {}
    windows::DocumentWindow* shown = nullptr;

    QString ActiveList() const override { return m_store.ActiveList.value(); }
    grid::GridWindow* window(const QString& name) override
    {
        return shown && shown->kind().formName == name ? shown : nullptr;
    }
    QString lblEXCELSTATUS() const override { return m_store.lblEXCELSTATUS.value(); }
    QString PrintExcelFile() const override { return m_store.PrintExcelFile.value(); }
    void setPrintExcelFile(const QString& caption) override { m_store.PrintExcelFile = caption; }
    grid::ProgressDisplay* ProgressBar1(const QString&) override { return shown ? shown->progressDisplay() : nullptr; }
    void showStartupWindow() override {}
    void unloadFileSearchIfVisible() override {}

private:
    datafiles::SettingsStore& m_store;
};

// The user picks the sample file in the open dialog and answers every message with OK.
class Choosing : public platform::Prompts {
public:
    explicit Choosing(QString path) : m_path(std::move(path)) {}
    platform::Answer MsgBox(const QString&, int, const QString&) override { return platform::Answer::OK; }
    QString InputBox(const QString&, const QString&, const QString&) override { return input; }
    bool ShowOpen(platform::CommonDialog& dialog) override
    {
        dialog.FileName = m_path;
        dialog.FileTitle = QFileInfo(m_path).fileName();
        return true;
    }
    bool ShowSave(platform::CommonDialog&) override { return false; }
    bool ShowColor(platform::CommonDialog&) override { return false; }

    QString input; // what is typed into an input box

private:
    QString m_path;
};

// The style, the fonts and a steady caret every picture is drawn with.
inline void fixLook()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    QApplication::setCursorFlashTime(0);
}

// The window's picture below a title bar with its caption.
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

} // namespace windowshot
