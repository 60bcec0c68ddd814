#include "windows/document/documentwindow.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/htmlhelp.h"
#include "grid/documents/documentlist.h"
#include "platform/colors.h"
#include "platform/desktop.h"
#include "platform/keys.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/vb.h"
#include "windows/document/progressbardisplay.h"
#include "windows/document/windowshell.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace windows {

namespace {

// Design places of the controls, in twips.
constexpr ControlPlace ListDesign{0, 360, 8900, 5400};
constexpr ControlPlace MainbarDesign{0, 0, 8900, 375};
constexpr ControlPlace TextBarDesign{4560, 0, 4095, 340};
constexpr ControlPlace FindDesign{120, 360, 3300, 615};
constexpr ControlPlace PleaseWaitDesign{1800, 2400, 5775, 615};
// The window's own design size, the one the settings store starts with.
constexpr int DesignWidth = 9060;
constexpr int DesignHeight = 6210;
constexpr int ButtonHeight = 330;
constexpr uint32_t TextBarBackColor = 0xE0E0E0;
constexpr uint32_t TextBarFocusColor = 0xF1E1D5;
constexpr uint32_t PleaseWaitBackColor = 0x00D3DAE2;
constexpr int TextBarMaxLength = 80;

int toPixels(int twips)
{
    return qRound(twips / double(platform::TwipsPerPixelX));
}

void setBackColor(QWidget* widget, uint32_t color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, platform::toQColor(color));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A twips value read from the settings store; the fallback where it does not read as a
// number (a damaged settings file).
int storedTwips(const QString& text, int fallback)
{
    const auto value = platform::vb::CDbl(text);
    if (!value || !std::isfinite(*value) || std::abs(*value) > 1e7)
        return fallback;
    return int(platform::vb::RoundHalfEven(*value));
}

// A step of the layout that would give a control a negative size is skipped.
void setSize(int& field, int value)
{
    if (value >= 0)
        field = value;
}

} // namespace

DocumentWindow::DocumentWindow(const DocumentKind& kind, const DocumentContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_kind(kind),
      m_context(context),
      m_recent({&(context.store.*kind.recentFiles[0]), &(context.store.*kind.recentFiles[1]),
                &(context.store.*kind.recentFiles[2])},
               kind.extension)
{
    // Form_Load: the data folders must exist before anything is opened or saved.
    datafiles::CreateDataFolders();
    setObjectName(kind.formName);
    setBackColor(this, kind.backColor);
    m_menuBar = new QMenuBar(this);
    m_client = new QWidget(this);
    m_list = new grid::DocumentList(m_client);
    m_list->setObjectName(QStringLiteral("List1"));
    if (m_context.gridHost)
        m_list->setExchangeHost(m_context.gridHost);
    buildToolBar();
    buildTextBar();
    buildFindFrame();
    buildProgressFrame();
    buildMenus();
    connectCommands();
    m_places = {{QStringLiteral("List1"), ListDesign},
                {QStringLiteral("mainbar"), MainbarDesign},
                {QStringLiteral("TextText"), TextBarDesign},
                {QStringLiteral("Find"), FindDesign},
                {QStringLiteral("PleaseWait"), PleaseWaitDesign}};
    layOutFindFrame();
    setUnsavedCaption();
    resize(toPixels(DesignWidth), toPixels(DesignHeight));
    Reposition();
}

DocumentWindow::~DocumentWindow() = default;

// ---------------------------------------------------------------------------------------
// Controls

void DocumentWindow::buildToolBar()
{
    m_mainbar = new QWidget(m_client);
    m_mainbar->setObjectName(QStringLiteral("mainbar"));
    for (const ToolBarButton& entry : m_kind.toolButtons) {
        auto* button = new QToolButton(m_mainbar);
        button->setObjectName(entry.name);
        button->setToolTip(entry.toolTip);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::TabFocus);
        if (!entry.caption.isEmpty())
            button->setText(entry.caption);
        else if (entry.icon >= 0)
            button->setIcon(style()->standardIcon(QStyle::StandardPixmap(entry.icon)));
        button->setGeometry(toPixels(entry.left), 0, toPixels(entry.width), toPixels(ButtonHeight));
        m_buttons.insert(entry.name, button);
    }
    // The swatch of the active cell's colour sits on the lower half of the font colour
    // button, under its caption.
    if (QAbstractButton* fontColor = m_buttons.value(QStringLiteral("cmdFontColor"))) {
        fontColor->setStyleSheet(QStringLiteral("QToolButton { padding-bottom: 6px; font-size: 10px; }"));
        m_swatch = new QFrame(m_mainbar);
        m_swatch->setObjectName(QStringLiteral("Picture1"));
        setBackColor(m_swatch, 0);
        m_swatch->setGeometry(fontColor->x() + 2, toPixels(ButtonHeight) - 7, toPixels(210), 5);
        m_swatch->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_swatch->raise();
    }
}

void DocumentWindow::buildTextBar()
{
    m_textBar = new QLineEdit(m_client);
    m_textBar->setObjectName(QStringLiteral("TextText"));
    m_textBar->setToolTip(QStringLiteral("Edit"));
    m_textBar->setMaxLength(TextBarMaxLength);
    m_textBar->setReadOnly(m_kind.textBarLocked);
    m_textBar->installEventFilter(this);
    QPalette palette = m_textBar->palette();
    palette.setColor(QPalette::Base, platform::toQColor(TextBarBackColor));
    m_textBar->setPalette(palette);
}

void DocumentWindow::buildFindFrame()
{
    m_findFrame = new QFrame(m_client);
    m_findFrame->setObjectName(QStringLiteral("Find"));
    m_findFrame->setFrameShape(QFrame::StyledPanel);
    m_findFrame->setToolTip(QStringLiteral("Find"));
    setBackColor(m_findFrame, m_kind.backColor);
    auto addField = [this](const QString& name, const QString& tip, QRect at) {
        auto* field = new QLineEdit(m_findFrame);
        field->setObjectName(name);
        field->setToolTip(tip);
        field->setGeometry(at);
    };
    auto addCheck = [this](const QString& name, const QString& caption, QRect at) {
        auto* check = new QCheckBox(caption, m_findFrame);
        check->setObjectName(name);
        check->setGeometry(at);
        m_buttons.insert(name, check);
    };
    auto addLabelButton = [this](const QString& name, const QString& caption, const QString& tip, QRect at) {
        auto* label = new QToolButton(m_findFrame);
        label->setObjectName(name);
        label->setText(caption);
        label->setToolTip(tip);
        label->setAutoRaise(true);
        label->setGeometry(at);
        m_buttons.insert(name, label);
    };
    addField(QStringLiteral("txttoFind"), QStringLiteral("text to Find"), QRect(3, 2, 86, 18));
    addCheck(QStringLiteral("ExactMatch"), QStringLiteral("Exact Match"), QRect(92, 2, 86, 18));
    addLabelButton(QStringLiteral("FindInList"), QStringLiteral("Find"), QStringLiteral("Find the text"),
                   QRect(178, 2, 30, 18));
    if (m_kind.findFrameReplaces) {
        addField(QStringLiteral("txttoReplace"), QStringLiteral("Text to Replace"), QRect(3, 21, 86, 18));
        addCheck(QStringLiteral("ReplaceAll"), QStringLiteral("Replace all"), QRect(92, 21, 86, 18));
        addLabelButton(QStringLiteral("ReplaceInList"), QStringLiteral("Replace"),
                       QStringLiteral("Find and Replace "), QRect(172, 21, 44, 18));
    }
    addLabelButton(QStringLiteral("Label1"), QStringLiteral("X"), QStringLiteral("Close Find Menu"),
                   QRect(207, 2, 12, 14));
    m_findFrame->hide();
}

// The frame's two rows at the window's font: the text field, the check box as wide as its
// caption needs, the button as wide as its caption, and the close box at the top right. The
// frame is widened where its design width cannot hold them, so that no caption is cut and no
// control runs under another.
void DocumentWindow::layOutFindFrame()
{
    constexpr int Gap = 3;
    constexpr int FieldWidth = 86;
    constexpr int RowHeight = 18;
    const int rowTop[] = {2, 21};
    const QString rows[][3] = {
        {QStringLiteral("txttoFind"), QStringLiteral("ExactMatch"), QStringLiteral("FindInList")},
        {QStringLiteral("txttoReplace"), QStringLiteral("ReplaceAll"), QStringLiteral("ReplaceInList")},
    };
    const auto child = [this](const QString& name) { return m_findFrame->findChild<QWidget*>(name); };
    const auto captionWidth = [](const QWidget* control) {
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        return button ? button->fontMetrics().horizontalAdvance(button->text()) : 0;
    };
    int checkWidth = 0;
    int buttonWidth = 0;
    for (const auto& row : rows) {
        if (const QWidget* check = child(row[1]))
            checkWidth = std::max(checkWidth, check->sizeHint().width());
        if (const QWidget* button = child(row[2]))
            buttonWidth = std::max(buttonWidth, captionWidth(button) + 12);
    }
    const int checkLeft = Gap + FieldWidth + Gap;
    const int buttonLeft = checkLeft + checkWidth + Gap;
    for (int r = 0; r < 2; ++r) {
        const int lefts[] = {Gap, checkLeft, buttonLeft};
        const int widths[] = {FieldWidth, checkWidth, buttonWidth};
        for (int c = 0; c < 3; ++c)
            if (QWidget* control = child(rows[r][c]))
                control->setGeometry(lefts[c], rowTop[r], widths[c], RowHeight);
    }
    QWidget* close = child(QStringLiteral("Label1"));
    const int closeWidth = std::max(12, captionWidth(close) + 6);
    const int closeLeft = buttonLeft + buttonWidth + Gap;
    close->setGeometry(closeLeft, 2, closeWidth, 14);
    const int frameWidth = closeLeft + closeWidth + Gap;
    ControlPlace& place = placeOf(QStringLiteral("Find"));
    place.Width = std::max(FindDesign.Width, frameWidth * platform::TwipsPerPixelX);
}

void DocumentWindow::buildProgressFrame()
{
    m_pleaseWait = new QFrame(m_client);
    m_pleaseWait->setObjectName(QStringLiteral("PleaseWait"));
    m_pleaseWait->setFrameShape(QFrame::StyledPanel);
    setBackColor(m_pleaseWait, PleaseWaitBackColor);
    m_pleaseWaitCaption = new QLabel(IdleCaption, m_pleaseWait);
    m_pleaseWaitCaption->setGeometry(6, 2, toPixels(PleaseWaitDesign.Width) - 12, 16);
    m_progressBar = new QProgressBar(m_pleaseWait);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setTextVisible(false);
    m_progressBar->setGeometry(6, 20, toPixels(PleaseWaitDesign.Width) - 12, 16);
    m_progressDisplay = std::make_unique<ProgressBarDisplay>(*m_progressBar);
    showProgressFrame(false);
}

void DocumentWindow::buildMenus()
{
    QSet<QString> parents;
    for (const MenuEntry& entry : m_kind.menus)
        parents.insert(entry.parent);
    QHash<QString, QMenu*> menus;
    for (const MenuEntry& entry : m_kind.menus) {
        QMenu* parentMenu = menus.value(entry.parent);
        QAction* action = nullptr;
        const QString caption = menuText(entry.caption);
        if (entry.separator) {
            action = parentMenu ? parentMenu->addSeparator() : m_menuBar->addSeparator();
        } else if (parents.contains(entry.name)) {
            QMenu* submenu = parentMenu ? parentMenu->addMenu(caption) : m_menuBar->addMenu(caption);
            submenu->setObjectName(entry.name);
            menus.insert(entry.name, submenu);
            action = submenu->menuAction();
        } else {
            action = parentMenu ? parentMenu->addAction(caption) : m_menuBar->addAction(caption);
            action->setShortcut(entry.shortcut);
            action->setCheckable(entry.checkable);
            action->setChecked(entry.checked);
        }
        action->setObjectName(entry.name);
        m_actions.insert(entry.name, action);
    }
    // The recent-file entries are hidden until they name a document.
    for (int k = 1; k <= 3; ++k)
        if (QAction* entry = menu(QStringLiteral("file%1").arg(k)))
            entry->setVisible(false);
}

void DocumentWindow::onMenu(const QString& name, const std::function<void()>& handler)
{
    if (QAction* action = menu(name))
        connect(action, &QAction::triggered, this, handler);
}

void DocumentWindow::onButton(const QString& name, const std::function<void()>& handler)
{
    if (QAbstractButton* b = button(name))
        connect(b, &QAbstractButton::clicked, this, handler);
}

void DocumentWindow::connectCommands()
{
    onMenu(QStringLiteral("new"), [this] { cmdNew_Click(); });
    onMenu(QStringLiteral("open"), [this] { cmdOpen_Click(); });
    onMenu(QStringLiteral("close"), [this] { close_Click(); });
    onMenu(QStringLiteral("save"), [this] {
        if (isWritable())
            cmdSave_Click();
    });
    onMenu(QStringLiteral("saveas"), [this] { saveas_Click(); });
    for (int k = 1; k <= 3; ++k)
        onMenu(QStringLiteral("file%1").arg(k), [this, k] { file_Click(k); });
    onMenu(QStringLiteral("toolbar"), [this] { toolbar_Click(); });
    onMenu(QStringLiteral("textbar"), [this] { textbar_Click(); });
    onMenu(QStringLiteral("Help"), [this] { Help_Click(); });
    onButton(QStringLiteral("cmdNew"), [this] { cmdNew_Click(); });
    onButton(QStringLiteral("cmdOpen"), [this] { cmdOpen_Click(); });
    onButton(QStringLiteral("cmdSave"), [this] { cmdSave_Click(); });
    onButton(QStringLiteral("cmdFind"), [this] { cmdFind_Click(); });
    onButton(QStringLiteral("btnBack"), [this] { btnBack_Click(); });
    onButton(QStringLiteral("Label1"), [this] { Label1_Click(); });
    connectEditingCommands();

    // Any key the grid passes on is a change of the document, and so is every change of the
    // grid's content, whatever route it came by.
    connect(m_list, &grid::List::GridKeyDown, this, [this] { markChanged(); });
    connect(m_list, &grid::List::contentEdited, this, [this] {
        if (m_settingUp == 0)
            markChanged();
    });
    connect(m_textBar, &QLineEdit::textChanged, this, [this] {
        if (!m_showingCell)
            TextText_Change();
    });
    connect(m_list, &grid::List::contentEdited, this, &DocumentWindow::showActiveCellText);
    connect(m_list, &grid::List::activeCellMoved, this, &DocumentWindow::showActiveCellText);
    // The grid taking the focus names this window in ActiveList again.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && (now == m_list || m_list->isAncestorOf(now)))
            store().ActiveList = m_kind.formName;
    });
}

QString DocumentWindow::menuText(const QString& caption)
{
    QString text = caption;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QAbstractButton* DocumentWindow::button(const QString& name) const
{
    return m_buttons.value(name);
}

QAction* DocumentWindow::menu(const QString& name) const
{
    return m_actions.value(name);
}

QString DocumentWindow::PleaseWaitCaption() const
{
    return m_pleaseWaitCaption->text();
}

ControlPlace DocumentWindow::place(const QString& control) const
{
    return m_places.value(control);
}

ControlPlace& DocumentWindow::placeOf(const QString& control)
{
    return m_places[control];
}

// ---------------------------------------------------------------------------------------
// Layout

void DocumentWindow::placeClientArea()
{
    const int menuHeight = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, width(), menuHeight);
    m_client->setGeometry(0, menuHeight, width(), std::max(0, height() - menuHeight));
}

int DocumentWindow::clientWidthTwips() const
{
    return width() * platform::TwipsPerPixelX;
}

int DocumentWindow::clientHeightTwips() const
{
    return (height() - m_menuBar->sizeHint().height()) * platform::TwipsPerPixelY;
}

void DocumentWindow::Reposition()
{
    placeClientArea();
    const bool textShown = !m_textBar->isHidden();
    const bool toolShown = !m_mainbar->isHidden();
    const bool findShown = !m_findFrame->isHidden();
    const bool barShown = textShown || toolShown;
    ControlPlace& list = placeOf(QStringLiteral("List1"));
    ControlPlace& bar = placeOf(QStringLiteral("mainbar"));
    ControlPlace& text = placeOf(QStringLiteral("TextText"));
    ControlPlace& find = placeOf(QStringLiteral("Find"));
    ControlPlace& wait = placeOf(QStringLiteral("PleaseWait"));

    list.Top = barShown ? 360 : 0;
    setSize(list.Width, clientWidthTwips() - 100);
    setSize(list.Height, clientHeightTwips() - list.Top - 100);
    setSize(bar.Width, list.Width);
    if (textShown && !toolShown) {
        text.Left = list.Left;
        setSize(text.Width, list.Width);
    } else {
        text.Left = 4680;
        setSize(text.Width, width() * platform::TwipsPerPixelX - 4870);
        wait.Left = qRound(list.Width / 2.0) - 2500;
        wait.Top = list.Top * 8;
    }
    // The grid's height stays as computed for Top 0 or 360 while the Find frame is shown.
    if (findShown) {
        find.Top = barShown ? 360 : 0;
        list.Top = barShown ? 960 : 600;
    } else {
        list.Top = barShown ? 360 : 0;
    }
    applyPlaces();
}

void DocumentWindow::applyPlaces()
{
    const QHash<QString, QWidget*> controls = {{QStringLiteral("List1"), m_list},
                                               {QStringLiteral("mainbar"), m_mainbar},
                                               {QStringLiteral("TextText"), m_textBar},
                                               {QStringLiteral("Find"), m_findFrame},
                                               {QStringLiteral("PleaseWait"), m_pleaseWait}};
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const ControlPlace p = m_places.value(it.key());
        it.value()->setGeometry(toPixels(p.Left), toPixels(p.Top), toPixels(p.Width), toPixels(p.Height));
    }
}

void DocumentWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Reposition(); // Form_Resize
}

// ---------------------------------------------------------------------------------------
// Life cycle

void DocumentWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Activate();
}

void DocumentWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void DocumentWindow::Form_Activate()
{
    store().ActiveList = m_kind.formName;
    EnsureDefaultColumns();
    Reposition();
}

void DocumentWindow::EnsureDefaultColumns()
{
    if (m_list->ColumnCount() >= 2)
        return;
    const SettingUp settingUp(*this);
    int index = 0;
    for (const DefaultColumn& column : m_kind.defaultColumns)
        m_list->AddColumn(++index, column.width, column.caption);
    m_list->RemoveColumn(index + 1); // the new grid's blank column, pushed to the end
    m_list->AddMoreThanOneRow(m_kind.defaultExtraRows);
    if (m_kind.defaultColumnsLocked)
        for (int k = 1; k <= index; ++k)
            m_list->DisableEdit(k);
    m_list->ClearUndoRedo();
    platform::clearClipboard();
}

void DocumentWindow::setBarChecks(bool toolbar, bool textbar)
{
    m_toolbarChecked = toolbar;
    m_textbarChecked = textbar;
    if (QAction* a = menu(QStringLiteral("toolbar")))
        a->setChecked(toolbar);
    if (QAction* a = menu(QStringLiteral("textbar")))
        a->setChecked(textbar);
}

void DocumentWindow::showFromLauncher()
{
    const PlacementFields& f = m_kind.placement;
    const datafiles::SettingsStore& s = store();
    const auto state = platform::vb::CInt((s.*f.WindowState).value());
    const int left = storedTwips((s.*f.Left).value(), 1275);
    const int top = storedTwips((s.*f.Top).value(), 1380);
    int height = storedTwips((s.*f.Height).value(), DesignHeight);
    int width = storedTwips((s.*f.Width).value(), DesignWidth);
    // A stored size too small to hold the window's bars opens at the design size.
    if (height < 1500)
        height = DesignHeight;
    if (width < 1500)
        width = DesignWidth;
    setWindowState(Qt::WindowNoState);
    move(toPixels(left), toPixels(top));
    resize(toPixels(width), toPixels(height));
    setBarChecks((s.*f.toolbarchecked).value() == QLatin1String("True"),
                 (s.*f.textbarchecked).value() == QLatin1String("True"));
    m_mainbar->setVisible(m_toolbarChecked);
    m_textBar->setVisible(m_textbarChecked);
    Reposition();
    for (int k = 1; k <= 3; ++k) {
        QAction* entry = menu(QStringLiteral("file%1").arg(k));
        if (!entry)
            continue;
        entry->setText(m_recent.title(k));
        if (!entry->text().isEmpty())
            entry->setVisible(true);
    }
    if (state && *state == 2)
        showMaximized();
    else if (state && *state == 1)
        showMinimized();
    else
        show();
    activateWindow();
}

void DocumentWindow::showCheckedBars()
{
    m_mainbar->setVisible(m_toolbarChecked);
    m_textBar->setVisible(m_textbarChecked);
}

void DocumentWindow::setRecentFileCaption(int slot, const QString& caption)
{
    if (QAction* entry = menu(QStringLiteral("file%1").arg(slot)))
        entry->setText(menuText(caption));
}

void DocumentWindow::showRecentFileMenu(int slot)
{
    if (QAction* entry = menu(QStringLiteral("file%1").arg(slot)))
        entry->setVisible(true);
}

void DocumentWindow::storePlacement()
{
    const PlacementFields& f = m_kind.placement;
    datafiles::SettingsStore& s = store();
    const auto twips = [](int pixels) { return QString::number(pixels * platform::TwipsPerPixelX); };
    s.*f.WindowState = isMaximized() ? QStringLiteral("2") : QStringLiteral("0");
    s.*f.Left = twips(x());
    s.*f.Top = twips(y());
    s.*f.Height = twips(height());
    s.*f.Width = twips(width());
    const auto check = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };
    s.*f.toolbarchecked = check(m_toolbarChecked);
    s.*f.textbarchecked = check(m_textbarChecked);
}

platform::Answer DocumentWindow::askSaveChanges()
{
    return prompts().MsgBox(QStringLiteral("Save Changes?"), platform::MsgStyle::YesNoCancelQuestionCancel,
                            windowTitle());
}

CloseOutcome DocumentWindow::queryUnload()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    storePlacement();
    if (!isChanged())
        return CloseOutcome::Closed;
    switch (askSaveChanges()) {
    case platform::Answer::Yes:
        saveForQuestion();
        return isChanged() ? CloseOutcome::KeptUnsaved : CloseOutcome::KeptSaved;
    case platform::Answer::No:
        return CloseOutcome::Closed;
    default:
        return CloseOutcome::Cancelled;
    }
}

void DocumentWindow::formUnload()
{
    m_unloaded = true;
    DELETECURRENTUSERNAME();
    if (m_context.shell) {
        m_context.shell->showStartupWindow();
        m_context.shell->unloadFileSearchIfVisible();
    }
    hide();
    emit unloaded();
}

CloseOutcome DocumentWindow::closeWindow()
{
    if (m_unloaded)
        return CloseOutcome::Closed;
    const CloseOutcome outcome = queryUnload();
    if (outcome == CloseOutcome::Closed)
        formUnload();
    return outcome;
}

CloseOutcome DocumentWindow::closeForShutDown()
{
    if (m_unloaded)
        return CloseOutcome::Closed;
    CloseOutcome outcome = queryUnload();
    if (outcome == CloseOutcome::KeptSaved)
        outcome = CloseOutcome::Closed;
    if (outcome == CloseOutcome::Closed)
        formUnload();
    return outcome;
}

void DocumentWindow::closeEvent(QCloseEvent* event)
{
    if (closeWindow() == CloseOutcome::Closed)
        event->accept();
    else
        event->ignore();
}

void DocumentWindow::close_Click()
{
    closeWindow();
}

void DocumentWindow::btnBack_Click()
{
    closeWindow();
    if (m_context.shell)
        m_context.shell->showStartupWindow();
}

void DocumentWindow::toolbar_Click()
{
    const bool show = !m_toolbarChecked;
    m_mainbar->setVisible(show);
    setBarChecks(show, m_textbarChecked);
    Reposition();
}

void DocumentWindow::textbar_Click()
{
    const bool show = !m_textbarChecked;
    m_textBar->setVisible(show);
    setBarChecks(m_toolbarChecked, show);
    Reposition();
}

// The Find button moves only the grid; the frame keeps the Top the last layout gave it.
void DocumentWindow::cmdFind_Click()
{
    ControlPlace& list = placeOf(QStringLiteral("List1"));
    if (!m_findFrame->isHidden()) {
        m_findFrame->hide();
        list.Top = 360;
    } else {
        m_findFrame->show();
        m_findFrame->raise();
        list.Top = 960;
        if (auto* field = m_findFrame->findChild<QLineEdit*>(QStringLiteral("txttoFind")))
            field->setFocus();
    }
    applyPlaces();
}

void DocumentWindow::Label1_Click()
{
    m_findFrame->hide();
    placeOf(QStringLiteral("List1")).Top = 360;
    Reposition();
}

void DocumentWindow::Help_Click()
{
    datafiles::HTMLHelp::showTopic(m_kind.helpTopic);
}

// ---------------------------------------------------------------------------------------
// What the grid calls back

void DocumentWindow::DODARED()
{
    if (m_list->ListCount() > m_kind.rowLimit) {
        prompts().MsgBox(m_kind.rowLimitMessage, platform::MsgStyle::Critical);
        return;
    }
    m_list->AddRow(QString(), m_kind.addedRowGoesLast ? m_list->ListCount() + 1 : m_list->ListCount());
}

void DocumentWindow::setActiveColumn(const QString& caption)
{
    m_activeColumn = caption;
    const auto number = platform::vb::CDbl(caption);
    if (!number) {
        prompts().MsgBox(QStringLiteral("YOU CAN ENTER ONLY NUMBERS!"));
        m_activeColumn = QStringLiteral("1");
    } else if (*number < 1) {
        m_activeColumn = QStringLiteral("1");
    }
}

void DocumentWindow::showCell(const QString& text, bool bold, bool italic, bool underline, uint32_t color)
{
    setTextBarQuietly(text);
    setMirror(CellFormat::Bold, bold);
    setMirror(CellFormat::Italic, italic);
    setMirror(CellFormat::Underline, underline);
    setSwatch(color);
}

// The text bar's limit holds for what the user types. A cell longer than the limit is shown
// whole, so that an edit in the bar never cuts off the end of the cell.
void DocumentWindow::setTextBarQuietly(const QString& text)
{
    m_showingCell = true;
    m_textBar->setMaxLength(std::max(m_textBarLimit, int(text.size())));
    m_textBar->setText(text);
    m_showingCell = false;
}

// The text bar shows the active cell as it is now, whatever changed the cell (typing in it,
// the editor's own menu, a command, an import, undo) or moved the selection under it, so that
// an edit in the bar starts from the cell's text and never types an older text back over it.
// No cell selected (a row gone, none chosen yet): the bar is empty.
void DocumentWindow::showActiveCellText()
{
    const int column = activeColumnNumber();
    const QString text = m_list->GetItem(m_list->iSelected(), column);
    if (m_textBar->text() != text)
        setTextBarQuietly(text);
}

void DocumentWindow::setTextBarLimit(int limit)
{
    m_textBarLimit = limit;
    m_showingCell = true;
    m_textBar->setMaxLength(std::max(limit, int(m_textBar->text().size())));
    m_showingCell = false;
}

void DocumentWindow::setSwatch(uint32_t color)
{
    m_swatchColor = color;
    if (m_swatch)
        setBackColor(m_swatch, color);
}

grid::GridSelection* DocumentWindow::gridSelection()
{
    return &m_list->selection();
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_textBar) {
        switch (event->type()) {
        case QEvent::FocusIn:
            TextText_GotFocus();
            break;
        case QEvent::FocusOut:
            TextText_LostFocus();
            break;
        case QEvent::KeyPress:
            // Enter empties the bar, and through its change the active cell.
            if (platform::keyCode(static_cast<QKeyEvent*>(event)->key()) == platform::Key::Enter) {
                m_textBar->setText(QString());
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DocumentWindow::TextText_GotFocus()
{
    QPalette palette = m_textBar->palette();
    palette.setColor(QPalette::Base, platform::toQColor(TextBarFocusColor));
    m_textBar->setPalette(palette);
    m_textBar->selectAll();
}

void DocumentWindow::TextText_LostFocus()
{
    QPalette palette = m_textBar->palette();
    palette.setColor(QPalette::Base, platform::toQColor(TextBarBackColor));
    m_textBar->setPalette(palette);
}

// The text bar edits the active cell; a cell it really changes is a change of the document.
void DocumentWindow::TextText_Change()
{
    const int column = activeColumnNumber();
    const int row = m_list->iSelected();
    const QString text = m_textBar->text();
    if (row < 1 || row > m_list->ListCount() || column < 1 || column > m_list->ColumnCount()
        || m_list->GetItem(row, column) == text)
        return;
    m_list->ChangeItem(row, column, text);
}

} // namespace windows
