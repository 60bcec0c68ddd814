#pragma once
// The file search window: the user picks a drive and presses Find, and every document file
// of the kind that ActiveList names (item groups, contact companies or transactions) on that
// drive is listed as it is found; a document window's listing shows its kind's data folder
// the same way, docked beside it. A double click or a typed character on a result opens it in
// the document window that ActiveList names, through that window's own Open.
//
// The search runs on a worker thread (FileSearchRun); the window takes its results as they
// come, in the order of the walk. Find while a search runs starts afresh, Stop, a change of
// drive, an open from the list, hiding and closing end it at once, and a search that has
// ended or been replaced never adds to the list again.

#include "shell/filesearchrun.h"
#include "windows/document/filesearchwindow.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace datafiles {
class SettingsStore;
}

namespace shell {

class FileSearchHost;

class frmFileSearch : public QWidget, public windows::FileSearchWindow {
    Q_OBJECT
public:
    // Creating the window loads it, hidden.
    explicit frmFileSearch(FileSearchHost& host, QWidget* parent = nullptr);
    ~frmFileSearch() override;

    bool Visible() const override;
    void Unload() override;
    void showDriveSearch() override;
    void showListing(const QString& folder, std::function<void()> listed) override;
    int dockLeft(int topTwips, int heightTwips) override;
    QString StatusToolTipText() const override;
    void cancelOpen() override;

    // Hides the window and keeps its results (the settings window's HideDocumentWindows);
    // a running search ends with what it has found so far.
    void Hide();

    // Whether a search is running.
    bool searching() const { return m_run != nullptr; }

    // The controls, named as the program names them. Status's tool tip is the hand-off of
    // StatusToolTipText, FileList's the full path of the selected result.
    QLabel* Label1 = nullptr;
    QLabel* Files = nullptr; // the pattern; emptied by Stop
    QComboBox* Drives = nullptr;
    QLabel* Status = nullptr;
    QListWidget* FileList = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* FileNumber = nullptr;     // entries examined
    QLabel* FundFileNumber = nullptr; // files found
    QPushButton* Find = nullptr;
    QPushButton* StopSearch = nullptr;
    QLabel* LastFoundFile = nullptr;

    // For tests: the hook runs on the search's thread before each folder is listed, so a test
    // can act at a known point of a search; waitForSearches blocks until every search this
    // window started has ended, then takes in what the current one has handed over.
    void setFolderHook(FileSearchRun::FolderHook hook) { m_folderHook = std::move(hook); }
    void waitForSearches();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void resetToDesign();
    void ensureLoaded();
    void Form_Load();
    void SetSearchScope();
    void Find_Click();
    void StopSearch_Click();
    void FileList_Click();
    void FileList_DblClick();
    void FileList_KeyPress();
    void Form_QueryUnload();
    void Form_Resize();

    void SearchFiles(const QString& folder, const QString& pattern, bool listing,
                     std::function<void()> listed);
    void takeResults();
    // Ends the running search: keepFound takes in what it has handed over and writes "Done";
    // otherwise its results are dropped and the captions left to the caller. A listing's
    // caller is told in both cases.
    void endSearch(bool keepFound);
    void searchEnded(bool writeDone);
    void setSearchControlsVisible(bool visible);
    void setCounter(QLabel* counter, qint64 value);
    QString selectedEntry() const;

    // Placement in twips; a position or size is passed over while the window is minimised
    // or maximised, as is a negative size.
    void applyStoredPlacement();
    int stateCode() const;
    void setLeftTwips(double twips);
    void setTopTwips(double twips);
    void setHeightTwips(double twips);
    void setWidthTwips(double twips);
    int widthTwips() const;
    bool placeable() const;

    datafiles::SettingsStore& settings() const;

    FileSearchHost& m_host;
    bool m_loaded = false;
    bool m_shownSinceLoad = false;

    std::shared_ptr<FileSearchRun> m_run;
    std::vector<std::weak_ptr<FileSearchRun>> m_started;
    unsigned m_generation = 0;
    bool m_listing = false;
    std::function<void()> m_listed;
    bool m_badNameShown = false;
    qint64 m_examined = 0;
    qint64 m_found = 0;
    FileSearchRun::FolderHook m_folderHook;

    bool m_opening = false;
    bool m_askingNewList = false;
    bool m_openCancelled = false;
};

} // namespace shell
