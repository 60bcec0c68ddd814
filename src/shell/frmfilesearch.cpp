#include "shell/frmfilesearch.h"

#include "datafiles/settingsstore.h"
#include "platform/onscreen.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/vb.h"
#include "shell/filesearchhost.h"
#include "shell/filesearchkind.h"

#include <QCloseEvent>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>
#include <utility>

namespace shell {

namespace {

const QString DriveSearchCaption = QStringLiteral("Search");
const QString CountersLabel = QStringLiteral("Check File  Matching File ");
const QString Searching = QStringLiteral("Searching...");
const QString Done = QStringLiteral("Done");
const QString LastFoundPrefix = QStringLiteral("Last Matching File Found in :  ");
const QString DoubleClickToSelect = QStringLiteral("Double-click to select");

constexpr int DesignClientWidth = 8130; // twips
constexpr int DesignClientHeight = 5340;
constexpr int MinimumSearchWidth = 4800;
constexpr int DockedWidth = 3000;

int pixels(double twips)
{
    return qRound(twips / platform::TwipsPerPixelX);
}

void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(pixels(left), pixels(top), pixels(width), pixels(height));
}

QString fileNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// A caption that places its words with runs of blanks, as the window's design does: the
// sentence of Label1 leaves gaps for the pattern and the drive list, and a listing's total
// label starts with blanks to put its words on its second line. How far blanks reach depends
// on the font, so the words are put where the blanks mean them to be: each word group after a
// gap at the next of the given places, and a caption that starts with blanks on line two.
// The caption's text stays exactly as it is set.
class SpacedCaption : public QLabel {
public:
    using QLabel::QLabel;
    QList<int> gapEnds; // x (pixels) where the word group after each gap starts

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const QString caption = text();
        if (gapEnds.isEmpty() && !caption.startsWith(QLatin1Char(' '))) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        const QFontMetrics metrics(font());
        if (gapEnds.isEmpty()) {
            painter.drawText(QRect(0, metrics.lineSpacing(), width(), metrics.lineSpacing()),
                             Qt::AlignLeft | Qt::AlignTop, caption.trimmed());
            return;
        }
        static const QRegularExpression gap(QStringLiteral(" {3,}"));
        const QStringList groups = caption.trimmed().split(gap);
        for (qsizetype i = 0; i < groups.size(); ++i) {
            const int x = i == 0 ? 0 : gapEnds.value(i - 1, width());
            painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignTop, groups[i]);
        }
    }
};

// The result list: a character typed in it opens the selected result (the key itself is not
// looked at, and the list does not jump to a name beginning with it); any other key moves or
// keeps the selection and then shows it.
class ResultList : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void()> characterTyped;
    std::function<void()> keyWentDown;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool character = !event->text().isEmpty() && event->key() != Qt::Key_Tab
            && event->key() != Qt::Key_Backtab && !(event->modifiers() & Qt::AltModifier);
        if (character) {
            event->accept();
            characterTyped();
            return;
        }
        QListWidget::keyPressEvent(event);
        keyWentDown();
    }
};

} // namespace

frmFileSearch::frmFileSearch(FileSearchHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_host(host)
{
    // The captions are laid out in twips around the gaps of Label1's sentence; at this size
    // the pattern and the drive list fall into those gaps.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(10);
    setFont(font);
    buildControls();
    resize(pixels(DesignClientWidth), pixels(DesignClientHeight));
    resetToDesign();
    ensureLoaded();
}

frmFileSearch::~frmFileSearch()
{
    if (m_run)
        m_run->abandon();
}

void frmFileSearch::buildControls()
{
    auto* sentence = new SpacedCaption(QStringLiteral("Search for                 files  in                        Drive   "), this);
    Label1 = sentence;
    place(Label1, 120, 45, 3855, 375);
    Files = new QLabel(this);
    place(Files, 840, 45, 615, 255);
    Drives = new QComboBox(this);
    place(Drives, 2280, 0, 855, 315);
    // "files  in" after the pattern's label, "Drive" after the drive list
    sentence->gapEnds = {Files->geometry().right() + 4 - Label1->x(), Drives->geometry().right() + 4 - Label1->x()};
    Status = new QLabel(this);
    place(Status, 3720, 45, 1035, 225);

    auto* list = new ResultList(this);
    FileList = list;
    place(FileList, 105, 360, 7935, 3930);
    FileList->setSelectionMode(QAbstractItemView::SingleSelection);
    FileList->setUniformItemSizes(true);
    list->characterTyped = [this] { FileList_KeyPress(); };
    list->keyWentDown = [this] { FileList_Click(); };

    Label2 = new SpacedCaption(this);
    place(Label2, 120, 4320, 1335, 480);
    Label2->setWordWrap(true);
    FileNumber = new QLabel(this);
    place(FileNumber, 1440, 4320, 90, 195);
    FundFileNumber = new QLabel(this);
    place(FundFileNumber, 1440, 4500, 90, 195);
    Find = new QPushButton(QStringLiteral("Find "), this);
    place(Find, 6240, 4320, 855, 315);
    StopSearch = new QPushButton(QStringLiteral("Stop"), this);
    place(StopSearch, 7200, 4320, 855, 315);
    LastFoundFile = new QLabel(this);
    place(LastFoundFile, 240, 4800, 7755, 435);
    // Captions start at the top left of their labels, as the design places them.
    for (QLabel* label : {Label1, Files, Status, Label2, FileNumber, FundFileNumber, LastFoundFile})
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(Find, &QPushButton::clicked, this, [this] { Find_Click(); });
    connect(StopSearch, &QPushButton::clicked, this, [this] { StopSearch_Click(); });
    // Changing the drive presses Stop, so a search of the old drive ends.
    connect(Drives, &QComboBox::currentIndexChanged, this, [this] { StopSearch->click(); });
    // A click, or a selection moved by the keys or by code, shows the selected result.
    connect(FileList, &QListWidget::itemClicked, this, [this] { FileList_Click(); });
    connect(FileList, &QListWidget::currentRowChanged, this, [this] { FileList_Click(); });
    connect(FileList, &QListWidget::itemDoubleClicked, this, [this] { FileList_DblClick(); });
}

// The window as it is when first created: what Unload discards and the next use starts from.
void frmFileSearch::resetToDesign()
{
    setWindowTitle(DriveSearchCaption);
    setSearchControlsVisible(true);
    Files->clear();
    Status->clear();
    Status->setToolTip(QString());
    FileList->clear();
    FileList->setToolTip(QString());
    Label2->setText(CountersLabel);
    m_examined = 0;
    m_found = 0;
    setCounter(FileNumber, 0);
    setCounter(FundFileNumber, 0);
    LastFoundFile->clear();
    m_badNameShown = false;
}

void frmFileSearch::ensureLoaded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void frmFileSearch::Form_Load()
{
    {
        const QSignalBlocker quiet(Drives); // filling the list is not the user's change of drive
        Drives->clear();
        Drives->addItems(m_host.drives());
    }
    // Mount points are longer than drive letters: the open list shows them whole.
    int widest = 0;
    for (int i = 0; i < Drives->count(); ++i)
        widest = std::max(widest, Drives->fontMetrics().horizontalAdvance(Drives->itemText(i)));
    Drives->view()->setMinimumWidth(widest + 24);
    SetSearchScope();
}

datafiles::SettingsStore& frmFileSearch::settings() const
{
    return m_host.settings();
}

// The pattern follows the document window that was active last, so a search window opened
// for item groups searches for contact companies once the contact window has been active.
void frmFileSearch::SetSearchScope()
{
    const datafiles::SettingsStore& store = settings();
    if (!store.OptionSingleMachine.value() && !store.OptionHost.value() && !store.OptionUser.value())
        return;
    if (const FileSearchKind* kind = fileSearchKind(store.ActiveList))
        Files->setText(kind->pattern);
}

bool frmFileSearch::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        SetSearchScope();
    return QWidget::event(event);
}

void frmFileSearch::Find_Click()
{
    SetSearchScope();
    // A search still running ends first: its results never reach the new list.
    endSearch(false);
    FileList->clear();
    m_examined = 0;
    m_found = 0;
    setCounter(FileNumber, 0);
    setCounter(FundFileNumber, 0);
    Status->clear();
    LastFoundFile->clear();
    QString root = Drives->currentText();
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    const QString pattern = Files->text();
    if (pattern.size() < 3)
        platform::prompts().MsgBox(QStringLiteral("Filename error"), platform::MsgStyle::Information);
    if (pattern.size() > 3 && Drives->count() > 0) {
        SearchFiles(root, pattern, false, {});
        return; // "Done" is written when the search ends
    }
    Status->setText(Done);
}

void frmFileSearch::StopSearch_Click()
{
    Files->clear();
    endSearch(true);
}

void frmFileSearch::SearchFiles(const QString& folder, const QString& pattern, bool listing,
                                std::function<void()> listed)
{
    endSearch(false);
    m_listing = listing;
    m_listed = std::move(listed);
    m_badNameShown = false;
    Status->setText(Searching);
    const unsigned generation = ++m_generation;
    std::erase_if(m_started, [](const std::weak_ptr<FileSearchRun>& run) { return run.expired(); });
    m_run = FileSearchRun::start(FileSearchWalk(folder, pattern), this,
                                 [this, generation] {
                                     if (generation == m_generation)
                                         takeResults();
                                 },
                                 m_folderHook);
    m_started.push_back(m_run);
}

void frmFileSearch::takeResults()
{
    if (!m_run)
        return;
    FileSearchRun::Handover got = m_run->take();
    if (got.examined) {
        m_examined += got.examined;
        setCounter(FileNumber, m_examined);
    }
    if (!got.found.isEmpty()) {
        FileList->addItems(got.found);
        m_found += got.found.size();
        setCounter(FundFileNumber, m_found);
        LastFoundFile->setText(LastFoundPrefix + got.lastMatchFolder);
    }
    if (got.ended) {
        m_run.reset();
        searchEnded(true);
    }
    // Once per search, not once per folder, and after the state above is settled: the box
    // lets other handlers run, a new Find among them.
    if (got.badFolderName && !m_badNameShown) {
        m_badNameShown = true;
        platform::prompts().MsgBox(QStringLiteral("This is not the drive where you can save your files..."));
    }
}

void frmFileSearch::endSearch(bool keepFound)
{
    if (!m_run)
        return;
    if (keepFound) {
        takeResults();
        if (!m_run)
            return; // it had ended already, and said so
    }
    m_run->abandon();
    m_run.reset();
    searchEnded(keepFound);
}

void frmFileSearch::searchEnded(bool writeDone)
{
    if (writeDone) {
        Status->setText(Done);
        if (m_listing)
            LastFoundFile->setText(DoubleClickToSelect);
    }
    m_listing = false;
    if (std::function<void()> listed = std::exchange(m_listed, nullptr))
        listed();
}

void frmFileSearch::waitForSearches()
{
    for (const std::weak_ptr<FileSearchRun>& started : std::exchange(m_started, {}))
        if (std::shared_ptr<FileSearchRun> run = started.lock())
            run->wait();
    takeResults();
}

QString frmFileSearch::selectedEntry() const
{
    const QListWidgetItem* item = FileList->currentItem();
    return item ? item->text() : QString();
}

void frmFileSearch::FileList_Click()
{
    const QString entry = selectedEntry();
    if (entry.isEmpty())
        return;
    setWindowTitle(fileNameOf(entry));
    FileList->setToolTip(entry);
}

void frmFileSearch::FileList_KeyPress()
{
    FileList_DblClick();
    FileList->setToolTip(selectedEntry());
}

void frmFileSearch::FileList_DblClick()
{
    const QString path = selectedEntry();
    if (path.isEmpty() || m_opening)
        return; // nothing selected, or an open from this window is still asking its questions
    const QString name = fileNameOf(path);
    setWindowTitle(name);
    Files->clear();
    endSearch(true);

    const FileSearchKind* kind = fileSearchKind(settings().ActiveList);
    if (!kind)
        return;
    // Checked before the document window is asked to give up its document for it.
    if (!QFileInfo(path).isFile()) {
        platform::prompts().MsgBox(QStringLiteral("File ") + path + QStringLiteral(" no longer exists."),
                                   platform::MsgStyle::Critical);
        return;
    }
    windows::FoundFileTarget* target = m_host.documentWindow(kind->activeList);
    if (!target)
        return;

    m_opening = true;
    m_openCancelled = false;
    m_askingNewList = true;
    target->NEWLIST();
    m_askingNewList = false;
    if (!std::exchange(m_openCancelled, false)) {
        Status->setToolTip(name);
        target->openFoundFile(path);
        Status->setToolTip(QString());
    }
    m_opening = false;
}

void frmFileSearch::cancelOpen()
{
    if (m_askingNewList)
        m_openCancelled = true;
}

QString frmFileSearch::StatusToolTipText() const
{
    return Status->toolTip();
}

bool frmFileSearch::Visible() const
{
    return isVisible();
}

void frmFileSearch::Hide()
{
    if (!isVisible())
        return;
    endSearch(true);
    hide();
}

void frmFileSearch::Unload()
{
    if (!m_loaded)
        return;
    Form_QueryUnload();
    std::function<void()> listed = std::exchange(m_listed, nullptr);
    endSearch(false);
    hide();
    resetToDesign();
    m_loaded = false;
    m_shownSinceLoad = false;
    // A listing cut short by the close still finishes on its caller's side.
    if (listed)
        listed();
}

void frmFileSearch::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_shownSinceLoad = true;
}

void frmFileSearch::closeEvent(QCloseEvent* event)
{
    Unload();
    event->accept();
}

void frmFileSearch::showDriveSearch()
{
    if (Visible())
        Unload();
    ensureLoaded();
    setWindowTitle(DriveSearchCaption);
    setSearchControlsVisible(true);
    Label2->setText(CountersLabel);
    LastFoundFile->clear();
    applyStoredPlacement();
    show();
    applyStoredPlacement();
    if (widthTwips() < MinimumSearchWidth)
        setWidthTwips(MinimumSearchWidth);
}

void frmFileSearch::showListing(const QString& folder, std::function<void()> listed)
{
    if (Visible())
        Unload();
    ensureLoaded();
    const FileSearchKind* kind = fileSearchKind(settings().ActiveList);
    if (!kind) {
        if (listed)
            listed();
        return;
    }
    setWindowTitle(kind->listingCaption);
    setSearchControlsVisible(false);
    Label2->setText(kind->listingTotal);
    show();
    applyStoredPlacement();
    Files->setText(kind->pattern);
    FileList->clear();
    m_examined = 0;
    m_found = 0;
    setCounter(FileNumber, 0);
    setCounter(FundFileNumber, 0);
    Status->clear();
    LastFoundFile->clear();
    SearchFiles(folder, Files->text(), true, std::move(listed));
}

int frmFileSearch::dockLeft(int topTwips, int heightTwips)
{
    setLeftTwips(0);
    setTopTwips(topTwips);
    setHeightTwips(heightTwips);
    setWidthTwips(DockedWidth);
    platform::keepOnScreen(*this);
    return widthTwips();
}

void frmFileSearch::setSearchControlsVisible(bool visible)
{
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Drives),
                       static_cast<QWidget*>(Status), static_cast<QWidget*>(Find),
                       static_cast<QWidget*>(StopSearch), static_cast<QWidget*>(Files),
                       static_cast<QWidget*>(FileNumber)})
        w->setVisible(visible);
}

void frmFileSearch::setCounter(QLabel* counter, qint64 value)
{
    counter->setText(QString::number(value));
    counter->adjustSize(); // the counters grow with their text
}

// The placement of a drive search is kept for the next one; a listing's docked place is not.
void frmFileSearch::Form_QueryUnload()
{
    // A window loaded but never shown has no placement of the user's to keep.
    if (!m_shownSinceLoad || isListingCaption(windowTitle()))
        return;
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    datafiles::SettingsStore& store = settings();
    const QRect outer = frameGeometry();
    store.frmFileSearchWindowState = QString::number(stateCode());
    store.frmFileSearchLeft = QString::number(outer.x() * platform::TwipsPerPixelX);
    store.frmFileSearchTop = QString::number(outer.y() * platform::TwipsPerPixelY);
    store.frmFileSearchHeight = QString::number(outer.height() * platform::TwipsPerPixelY);
    store.frmFileSearchWidth = QString::number(outer.width() * platform::TwipsPerPixelX);
}

void frmFileSearch::applyStoredPlacement()
{
    const datafiles::SettingsStore& store = settings();
    if (const std::optional<int16_t> state = platform::vb::CInt(store.frmFileSearchWindowState.value())) {
        if (*state == 0)
            setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
        else if (*state == 1)
            setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        else if (*state == 2)
            setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    }
    std::optional<double> left = platform::vb::CDbl(store.frmFileSearchLeft.value());
    std::optional<double> top = platform::vb::CDbl(store.frmFileSearchTop.value());
    std::optional<double> height = platform::vb::CDbl(store.frmFileSearchHeight.value());
    std::optional<double> width = platform::vb::CDbl(store.frmFileSearchWidth.value());
    // A value that is no number is passed over; the others are used only when the window they
    // make lies wholly on a screen, otherwise the window takes its initial placement.
    const auto inRange = [](const std::optional<double>& twips) { return !twips || std::abs(*twips) < 1e9; };
    const QRect outer = frameGeometry();
    const bool numbersInRange = inRange(left) && inRange(top) && inRange(height) && inRange(width);
    const QRect stored = numbersInRange
        ? QRect(left ? pixels(*left) : outer.x(), top ? pixels(*top) : outer.y(),
                width ? pixels(std::max(*width, double(MinimumSearchWidth))) : outer.width(),
                height ? pixels(*height) : outer.height())
        : QRect();
    if (!platform::liesWhollyOnOne(stored, platform::screenAreas())) {
        static const datafiles::SettingsStore initial;
        left = platform::vb::CDbl(initial.frmFileSearchLeft.value());
        top = platform::vb::CDbl(initial.frmFileSearchTop.value());
        height = platform::vb::CDbl(initial.frmFileSearchHeight.value());
        width = platform::vb::CDbl(initial.frmFileSearchWidth.value());
    }
    if (left)
        setLeftTwips(*left);
    if (top)
        setTopTwips(*top);
    if (height)
        setHeightTwips(*height);
    if (width)
        setWidthTwips(*width);
    platform::keepOnScreen(*this);
}

int frmFileSearch::stateCode() const
{
    if (windowState() & Qt::WindowMinimized)
        return 1;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return 2;
    return 0;
}

bool frmFileSearch::placeable() const
{
    return stateCode() == 0;
}

void frmFileSearch::setLeftTwips(double twips)
{
    if (placeable())
        move(pixels(twips), frameGeometry().y());
}

void frmFileSearch::setTopTwips(double twips)
{
    if (placeable())
        move(frameGeometry().x(), pixels(twips));
}

// Sizes are the window's outer sizes, frame included, as the stored placement keeps them.
void frmFileSearch::setHeightTwips(double twips)
{
    const int frame = frameGeometry().height() - height();
    const int client = pixels(twips) - frame;
    if (placeable() && twips >= 0 && client >= 0)
        resize(width(), client);
}

void frmFileSearch::setWidthTwips(double twips)
{
    const int frame = frameGeometry().width() - width();
    const int client = pixels(twips) - frame;
    if (placeable() && twips >= 0 && client >= 0)
        resize(client, height());
}

int frmFileSearch::widthTwips() const
{
    return frameGeometry().width() * platform::TwipsPerPixelX;
}

void frmFileSearch::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

// The list takes what the window leaves it; the counters, buttons and the last folder line
// stay under it, the buttons at the right edge. A step that would give a negative size is
// passed over.
void frmFileSearch::Form_Resize()
{
    const QRect outer = frameGeometry();
    const int width = outer.width() * platform::TwipsPerPixelX;
    const int height = outer.height() * platform::TwipsPerPixelY;
    if (width - 300 >= 0)
        FileList->resize(pixels(width - 300), FileList->height());
    if (height - 1800 >= 0)
        FileList->resize(FileList->width(), pixels(height - 1800));
    const int listHeight = FileList->height() * platform::TwipsPerPixelY;
    Label2->move(Label2->x(), pixels(listHeight + 380));
    FileNumber->move(FileNumber->x(), pixels(listHeight + 380));
    FundFileNumber->move(FundFileNumber->x(), pixels(listHeight + 550));
    Find->move(pixels(width - 2000), pixels(listHeight + 380));
    StopSearch->move(pixels(width - 1050), pixels(listHeight + 380));
    LastFoundFile->move(LastFoundFile->x(), pixels(listHeight + 800));
    if (width - 300 >= 0)
        LastFoundFile->resize(pixels(width - 300), LastFoundFile->height());
}

} // namespace shell
