#include "platform/qtprompts.h"

#include "platform/colors.h"
#include "platform/commondialog.h"
#include "platform/msgboxstyle.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

QString titleOrDefault(const QString& title)
{
    return title.isEmpty() ? DefaultTitle : title;
}

QMessageBox::StandardButton standardButton(Answer answer)
{
    switch (answer) {
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Retry: return QMessageBox::Retry;
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    case Answer::OK: break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon messageIcon(MsgBoxStyle::Icon icon)
{
    switch (icon) {
    case MsgBoxStyle::Icon::Critical: return QMessageBox::Critical;
    case MsgBoxStyle::Icon::Question: return QMessageBox::Question;
    case MsgBoxStyle::Icon::Warning: return QMessageBox::Warning;
    case MsgBoxStyle::Icon::Information: return QMessageBox::Information;
    case MsgBoxStyle::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QWidget* QtPrompts::parentWindow()
{
    return QApplication::activeWindow();
}

Answer QtPrompts::MsgBox(const QString& text, int style, const QString& title)
{
    const MsgBoxStyle s = MsgBoxStyle::fromStyle(style);
    QMessageBox box(messageIcon(s.icon), titleOrDefault(title), text, QMessageBox::NoButton,
                    parentWindow());
    for (Answer a : s.buttons)
        box.addButton(standardButton(a));
    box.setDefaultButton(standardButton(s.defaultButton));
    box.setEscapeButton(box.button(standardButton(s.escapeAnswer)));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (Answer a : s.buttons) {
        if (clicked && clicked == box.button(standardButton(a)))
            return a;
    }
    return s.escapeAnswer;
}

QString QtPrompts::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parentWindow(), titleOrDefault(title), prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

bool QtPrompts::showFileDialog(CommonDialog& dialog, bool save)
{
    QFileDialog fileDialog(parentWindow(), dialog.DialogTitle);
    fileDialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    fileDialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = dialog.qtNameFilters();
    if (!filters.isEmpty())
        fileDialog.setNameFilters(filters);
    constexpr int OverwritePrompt = 2;
    if (save && !(dialog.Flags & OverwritePrompt))
        fileDialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!dialog.InitDir.isEmpty())
        fileDialog.setDirectory(dialog.InitDir);
    else if (!dialog.FileName.isEmpty())
        fileDialog.setDirectory(QFileInfo(dialog.FileName).absolutePath());
    if (!dialog.FileName.isEmpty())
        fileDialog.selectFile(QFileInfo(dialog.FileName).fileName());
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return false;
    dialog.FileName = fileDialog.selectedFiles().constFirst();
    dialog.FileTitle = QFileInfo(dialog.FileName).fileName();
    return true;
}

bool QtPrompts::ShowOpen(CommonDialog& dialog)
{
    return showFileDialog(dialog, false);
}

bool QtPrompts::ShowSave(CommonDialog& dialog)
{
    return showFileDialog(dialog, true);
}

bool QtPrompts::ShowColor(CommonDialog& dialog)
{
    const QColor chosen = QColorDialog::getColor(toQColor(dialog.Color), parentWindow(), dialog.DialogTitle);
    if (!chosen.isValid())
        return false;
    dialog.Color = fromQColor(chosen);
    return true;
}

} // namespace platform
