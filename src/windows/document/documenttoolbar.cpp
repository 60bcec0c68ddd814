#include "windows/document/documentkind.h"

#include <QStyle>

namespace windows {

QList<ToolBarButton> documentToolBar(const QString& listToolTip)
{
    const auto b = [](const char* name, int left, int width, const QString& tip, const char* caption = "",
                      int icon = -1) {
        return ToolBarButton{QString::fromLatin1(name), left, width, tip, QString::fromLatin1(caption), icon};
    };
    const auto tip = [](const char* text) { return QString::fromLatin1(text); };
    return {
        b("btnBack", 120, 280, tip("Back"), "", QStyle::SP_ArrowBack),
        b("cmdNew", 600, 260, tip("New"), "", QStyle::SP_FileIcon),
        b("cmdOpen", 840, 280, tip("Open"), "", QStyle::SP_DialogOpenButton),
        b("cmdSave", 1080, 280, tip("Save"), "", QStyle::SP_DialogSaveButton),
        b("cmdPrintOptions", 1320, 280, tip("Print"), "", QStyle::SP_FileDialogDetailedView),
        b("cmdList", 1920, 260, listToolTip, "", QStyle::SP_FileDialogListView),
        b("cmdFindFiles", 2160, 280, tip("Search Computer for Item Group Files"), "", QStyle::SP_DirOpenIcon),
        b("cmdUndo", 2640, 280, tip("Undo"), "", QStyle::SP_ArrowLeft),
        b("cmdRedo", 2880, 280, tip("Redo"), "", QStyle::SP_ArrowRight),
        b("cmdFind", 3120, 280, tip("Find"), "", QStyle::SP_FileDialogContentsView),
        b("cmdBold", 3600, 260, tip("Bold"), "B"),
        b("cmdItalic", 3840, 260, tip("Italic"), "I"),
        b("cmdUnderlined", 4080, 260, tip("Underline"), "U"),
        b("cmdFontColor", 4320, 260, tip("Font Color"), "A C"),
    };
}

} // namespace windows
