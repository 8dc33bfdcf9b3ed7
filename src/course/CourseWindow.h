#pragma once

// The trainer's window: one course folder, live. Four tabs show the same course:
// "Teilnehmer" (the results table, and the files that do not load), "Blöcke" (the block
// table and the box plots), "Fragen" (the item analysis, optionally only the options with a
// note) and "Itemkarte" (the item map). A participant's row opens the review window of any
// block they worked, for viewing only. The course report and the tables are saved as
// quendral-batch writes them.

#include "CourseView.h"

#include <QMainWindow>
#include <QTimer>

#include <cstddef>
#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QChartView;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;

namespace quendral::course {

class CourseLoader;
class CourseTableModel;
class ItemMapView;

inline const QString kCourseTitle = QStringLiteral("Quendral Kursauswertung");

class CourseWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CourseWindow(QWidget* parent = nullptr);
    ~CourseWindow() override;

    // Loads `folder` and shows it once loaded; a path that is no folder is refused with a
    // message.
    void openFolder(const QString& folder);
    // Asks for a folder ("Ordner öffnen") and opens it.
    void chooseFolder();

    // The course on screen; none before the first folder has loaded.
    const std::shared_ptr<const CourseView>& view() const { return view_; }
    CourseLoader* loader() const { return loader_; }

    // Offers the worked blocks of the participant in row `row` of the results table and
    // opens the chosen block's review window.
    void reviewParticipant(int row);
    // Selects the option at record offset `offset` in "Fragen" and shows that tab.
    void showOption(std::size_t offset);

    void savePdf();
    void saveTables();

    // How long a load runs before its progress is shown.
    static constexpr int kProgressDelayMs = 500;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    QWidget* createParticipantsTab();
    QWidget* createBlocksTab();
    QWidget* createItemsTab();
    QWidget* createItemMapTab();
    void showCourse(std::shared_ptr<const CourseView> view);
    void showUnreadable();
    void refreshCharts();
    void loadingChanged(bool busy);
    void loadCancelled(const QString& folder, bool fresh);
    void updateSummary();
    void warn(const QString& text);
    // Empty, or the German message of why `what` was not saved.
    QString saveFile(const QString& path, const std::string& bytes, const QString& what);

    CourseLoader* loader_;
    std::shared_ptr<const CourseView> view_;
    bool boxPlotStale_ = false;
    bool itemMapStale_ = false;

    QTabWidget* tabs_;
    CourseTableModel* participants_;
    QSortFilterProxyModel* participantsSorted_;
    QTableView* participantsView_;
    QLabel* unreadableLabel_;
    QListWidget* unreadableList_;
    CourseTableModel* blocks_;
    QTableView* blocksView_;
    QChartView* boxPlotView_;
    CourseTableModel* items_;
    QSortFilterProxyModel* itemsFiltered_;
    QTableView* itemsView_;
    QCheckBox* notesOnly_;
    ItemMapView* itemMapView_;
    QLabel* itemMapNote_;

    QLabel* summary_;
    QProgressBar* progress_;
    QPushButton* cancelButton_;
    QTimer progressDelay_;

    QAction* openAction_;
    QAction* reloadAction_;
    QAction* pdfAction_;
    QAction* csvAction_;
    QAction* cancelAction_;
};

}  // namespace quendral::course
