#include "CourseWindow.h"

#include "Blocks.h"
#include "Catalogue.h"
#include "CommandLine.h"
#include "CourseCharts.h"
#include "CourseFiles.h"
#include "CourseLoader.h"
#include "CoursePdf.h"
#include "CourseTableModel.h"
#include "ItemAnalysis.h"
#include "ItemMapView.h"
#include "OsErrorText.h"
#include "ReviewWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QChartView>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace quendral::course {

namespace {

using ItemColumn = batch::ItemAnalysis::ColumnIndex;

QByteArray fileSystemName(const QString& path)
{
    return QFile::encodeName(path);
}

// The folder's own name, as the caption shows it.
QString folderName(const QString& folder)
{
    const QString name = QFileInfo(QDir(folder).absolutePath()).fileName();
    return name.isEmpty() ? QDir(folder).absolutePath() : name;
}

QTableView* makeTable(const QString& name, QAbstractItemModel* model)
{
    auto* view = new QTableView;
    view->setObjectName(name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    // One line of text a row, as in a spreadsheet.
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setHighlightSections(false);
    return view;
}

// Columns as wide as their title and the first rows' texts, long texts within bounds; the
// rest of a text shows in its tool tip.
void fitColumns(QTableView* view)
{
    constexpr int kWidest = 260;
    constexpr int kSampledRows = 50;
    QHeaderView* header = view->horizontalHeader();
    header->setResizeContentsPrecision(kSampledRows);
    view->resizeColumnsToContents();
    for (int column = 0; column < header->count(); ++column)
        header->resizeSection(column, std::min(header->sectionSize(column), kWidest));
}

QSortFilterProxyModel* makeSorted(QAbstractItemModel* source, QObject* parent)
{
    auto* sorted = new QSortFilterProxyModel(parent);
    sorted->setSourceModel(source);
    sorted->setSortRole(CourseTableModel::kSortRole);
    return sorted;
}

// Sorted by the first column at first, which is the tables' own order.
void enableSorting(QTableView* view)
{
    view->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    view->setSortingEnabled(true);
}

void replaceChart(QChartView* view, QChart* chart)
{
    QChart* previous = view->chart();
    view->setChart(chart);
    // The view releases its former chart without deleting it.
    delete previous;
}

QFileDialog* makeFileDialog(
    QWidget* parent, const QString& name, const QString& caption, const QString& folder)
{
    auto* dialog = new QFileDialog(parent, caption, folder);
    dialog->setObjectName(name);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    return dialog;
}

QString chosenPath(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace

CourseWindow::CourseWindow(QWidget* parent) : QMainWindow(parent), loader_(new CourseLoader(this))
{
    setObjectName(QStringLiteral("CourseWindow"));
    setWindowTitle(kCourseTitle);
    setAcceptDrops(true);
    resize(1100, 720);

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->addTab(createParticipantsTab(), QStringLiteral("&Teilnehmer"));
    tabs_->addTab(createBlocksTab(), QStringLiteral("&Blöcke"));
    tabs_->addTab(createItemsTab(), QStringLiteral("&Fragen"));
    tabs_->addTab(createItemMapTab(), QStringLiteral("&Itemkarte"));
    setCentralWidget(tabs_);
    connect(tabs_, &QTabWidget::currentChanged, this, &CourseWindow::refreshCharts);
    connect(itemMapView_, &ItemMapView::optionClicked, this, &CourseWindow::showOption);

    createActions();

    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("summary"));
    statusBar()->addWidget(summary_, 1);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setMaximumWidth(240);
    progress_->hide();
    statusBar()->addPermanentWidget(progress_);
    cancelButton_ = new QPushButton(QStringLiteral("Abbrechen"));
    cancelButton_->setObjectName(QStringLiteral("cancelLoad"));
    cancelButton_->hide();
    statusBar()->addPermanentWidget(cancelButton_);
    connect(cancelButton_, &QPushButton::clicked, loader_, &CourseLoader::cancel);
    progressDelay_.setSingleShot(true);
    progressDelay_.setInterval(kProgressDelayMs);
    connect(&progressDelay_, &QTimer::timeout, this, [this] {
        if (!loader_->busy())
            return;
        progress_->show();
        cancelButton_->show();
    });

    connect(loader_, &CourseLoader::loaded, this, &CourseWindow::showCourse);
    connect(loader_, &CourseLoader::busyChanged, this, &CourseWindow::loadingChanged);
    connect(loader_, &CourseLoader::cancelled, this, &CourseWindow::loadCancelled);
    connect(loader_, &CourseLoader::progress, this, [this](int done, int total) {
        progress_->setRange(0, total);
        progress_->setValue(done);
    });
    updateSummary();
    participantsView_->setFocus();
}

CourseWindow::~CourseWindow() = default;

void CourseWindow::createActions()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    openAction_
        = file->addAction(QStringLiteral("Ordner &öffnen…"), this, &CourseWindow::chooseFolder);
    openAction_->setShortcut(QKeySequence::Open);
    reloadAction_
        = file->addAction(QStringLiteral("&Neu einlesen"), loader_, &CourseLoader::reload);
    reloadAction_->setShortcut(QKeySequence::Refresh);
    cancelAction_
        = file->addAction(QStringLiteral("Laden a&bbrechen"), loader_, &CourseLoader::cancel);
    cancelAction_->setShortcut(Qt::Key_Escape);
    cancelAction_->setEnabled(false);
    file->addSeparator();
    pdfAction_ = file->addAction(
        QStringLiteral("&Kursbericht als PDF speichern…"), this, &CourseWindow::savePdf);
    pdfAction_->setShortcut(QKeySequence::Print);
    csvAction_ = file->addAction(
        QStringLiteral("&Tabellen als CSV speichern…"), this, &CourseWindow::saveTables);
    csvAction_->setShortcut(QKeySequence::Save);
    file->addSeparator();
    QAction* quit = file->addAction(QStringLiteral("&Beenden"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);
    for (QAction* action : {openAction_, reloadAction_, cancelAction_, pdfAction_, csvAction_})
        addAction(action);
    reloadAction_->setEnabled(false);
    pdfAction_->setEnabled(false);
    csvAction_->setEnabled(false);
}

QWidget* CourseWindow::createParticipantsTab()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    participants_ = new CourseTableModel(this);
    participantsSorted_ = makeSorted(participants_, this);
    participantsView_ = makeTable(QStringLiteral("participants"), participantsSorted_);
    participantsView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Long paths keep their file name in view.
    participantsView_->setTextElideMode(Qt::ElideLeft);
    enableSorting(participantsView_);
    connect(
        participantsView_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
            reviewParticipant(participantsSorted_->mapToSource(index).row());
        });
    layout->addWidget(participantsView_, 1);

    unreadableLabel_ = new QLabel(QStringLiteral("&Nicht lesbar:"));
    unreadableList_ = new QListWidget;
    unreadableList_->setObjectName(QStringLiteral("unreadable"));
    unreadableList_->setMaximumHeight(110);
    unreadableLabel_->setBuddy(unreadableList_);
    layout->addWidget(unreadableLabel_);
    layout->addWidget(unreadableList_);
    unreadableLabel_->hide();
    unreadableList_->hide();
    return page;
}

QWidget* CourseWindow::createBlocksTab()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("blocksPage"));
    auto* layout = new QVBoxLayout(page);
    blocks_ = new CourseTableModel(this);
    blocksView_ = makeTable(QStringLiteral("blocks"), blocks_);
    blocksView_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    blocksView_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(blocksView_);
    boxPlotView_ = new QChartView;
    boxPlotView_->setObjectName(QStringLiteral("boxPlot"));
    boxPlotView_->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(boxPlotView_, 1);
    return page;
}

QWidget* CourseWindow::createItemsTab()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("itemsPage"));
    auto* layout = new QVBoxLayout(page);
    notesOnly_ = new QCheckBox(QStringLiteral("nur &Hinweise"));
    notesOnly_->setObjectName(QStringLiteral("notesOnly"));
    layout->addWidget(notesOnly_);
    items_ = new CourseTableModel(this);
    itemsFiltered_ = makeSorted(items_, this);
    itemsFiltered_->setFilterKeyColumn(ItemColumn::kNotes);
    itemsView_ = makeTable(QStringLiteral("items"), itemsFiltered_);
    enableSorting(itemsView_);
    layout->addWidget(itemsView_, 1);
    connect(notesOnly_, &QCheckBox::toggled, this, [this](bool only) {
        itemsFiltered_->setFilterRegularExpression(only ? QStringLiteral(".") : QString());
    });
    return page;
}

QWidget* CourseWindow::createItemMapTab()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("itemMapPage"));
    auto* layout = new QVBoxLayout(page);
    itemMapView_ = new ItemMapView;
    itemMapView_->setObjectName(QStringLiteral("itemMap"));
    layout->addWidget(itemMapView_, 1);
    itemMapNote_ = new QLabel;
    itemMapNote_->setObjectName(QStringLiteral("itemMapNote"));
    itemMapNote_->setWordWrap(true);
    layout->addWidget(itemMapNote_);
    return page;
}

void CourseWindow::openFolder(const QString& folder)
{
    if (!QFileInfo(folder).isDir()) {
        warn(QStringLiteral("„%1“ ist kein Ordner.").arg(folder));
        return;
    }
    loader_->open(folder);
}

void CourseWindow::chooseFolder()
{
    const QString start = view_ ? view_->folder : QDir::currentPath();
    std::unique_ptr<QFileDialog> dialog(makeFileDialog(
        this, QStringLiteral("FolderDialog"), QStringLiteral("Ordner öffnen"), start));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    const QString folder = chosenPath(*dialog);
    if (!folder.isEmpty())
        openFolder(folder);
}

void CourseWindow::showCourse(std::shared_ptr<const CourseView> view)
{
    // The user's selection, by file path and by option, outlives the tables' new contents;
    // the proxies keep the sort order.
    QStringList selectedPaths;
    QString currentPath;
    if (participants_->cells()) {
        for (const QModelIndex& index : participantsView_->selectionModel()->selectedRows())
            selectedPaths << participants_->cells()->text(
                std::size_t(participantsSorted_->mapToSource(index).row()), 0);
        if (const QModelIndex current = participantsView_->currentIndex(); current.isValid())
            currentPath = participants_->cells()->text(
                std::size_t(participantsSorted_->mapToSource(current).row()), 0);
    }
    QList<int> selectedOptions;
    for (const QModelIndex& index : itemsView_->selectionModel()->selectedRows())
        selectedOptions << itemsFiltered_->mapToSource(index).row();
    const QModelIndex currentOption = itemsFiltered_->mapToSource(itemsView_->currentIndex());
    const int currentOptionRow = currentOption.isValid() ? currentOption.row() : -1;
    const int currentColumn = std::max(participantsView_->currentIndex().column(), 0);

    const bool newFolder = !view_ || view_->folder != view->folder;
    view_ = std::move(view);
    participants_->setCells({view_, &view_->participants});
    blocks_->setCells({view_, &view_->blocks});
    items_->setCells({view_, &view_->items});
    if (newFolder) {
        // Once per folder: widths the user has set since stay as they are.
        fitColumns(participantsView_);
        fitColumns(itemsView_);
        // The note beside the option it is about, not behind the long texts and figures.
        QHeaderView* header = itemsView_->horizontalHeader();
        header->moveSection(header->visualIndex(ItemColumn::kNotes), ItemColumn::kOption + 1);
    }

    if (!selectedPaths.isEmpty() || !currentPath.isEmpty()) {
        QHash<QString, int> rows;
        for (std::size_t row = 0; row < view_->participants.rows; ++row)
            rows.insert(view_->participants.text(row, 0), int(row));
        QItemSelection selection;
        for (const QString& path : selectedPaths) {
            if (const auto found = rows.constFind(path); found != rows.cend()) {
                const QModelIndex at
                    = participantsSorted_->mapFromSource(participants_->index(*found, 0));
                selection.select(at, at);
            }
        }
        QItemSelectionModel* model = participantsView_->selectionModel();
        model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (const auto found = rows.constFind(currentPath); found != rows.cend())
            model->setCurrentIndex(
                participantsSorted_->mapFromSource(participants_->index(*found, currentColumn)),
                QItemSelectionModel::NoUpdate);
    }
    if (!selectedOptions.isEmpty() || currentOptionRow >= 0) {
        QItemSelection selection;
        for (const int row : selectedOptions) {
            const QModelIndex at = itemsFiltered_->mapFromSource(items_->index(row, 0));
            selection.select(at, at);
        }
        QItemSelectionModel* model = itemsView_->selectionModel();
        model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (currentOptionRow >= 0)
            model->setCurrentIndex(
                itemsFiltered_->mapFromSource(items_->index(currentOptionRow, 0)),
                QItemSelectionModel::NoUpdate);
    }

    setWindowTitle(kCourseTitle + QStringLiteral(" – ") + folderName(view_->folder));
    showUnreadable();
    updateSummary();
    reloadAction_->setEnabled(true);
    pdfAction_->setEnabled(true);
    csvAction_->setEnabled(true);
    boxPlotStale_ = true;
    itemMapStale_ = true;
    refreshCharts();
}

void CourseWindow::showUnreadable()
{
    unreadableList_->clear();
    for (const std::string& problem : view_->course.folderProblems)
        unreadableList_->addItem(QString::fromUtf8(problem));
    for (const batch::UnreadableFile& file : view_->course.unreadable)
        unreadableList_->addItem(QStringLiteral("%1 (%2)").arg(
            QString::fromUtf8(file.path), QString::fromUtf8(file.reason)));
    const bool any = unreadableList_->count() > 0;
    unreadableLabel_->setText(QStringLiteral("&Nicht lesbar: %1").arg(unreadableList_->count()));
    unreadableLabel_->setVisible(any);
    unreadableList_->setVisible(any);
}

void CourseWindow::refreshCharts()
{
    // Drawn for the tab that shows them, so that a change costs no chart nobody looks at.
    if (!view_)
        return;
    QWidget* shown = tabs_->currentWidget();
    if (boxPlotStale_ && shown == boxPlotView_->parentWidget()) {
        replaceChart(boxPlotView_, batch::makeBoxPlotChart(view_->course.statistics));
        boxPlotStale_ = false;
    }
    if (itemMapStale_ && shown == itemMapView_->parentWidget()) {
        itemMapView_->setView(view_);
        itemMapStale_ = false;
        QString note = QStringLiteral(
            "Jeder Punkt ist eine Antwortoption: nach rechts der Anteil der Teilnehmer, deren "
            "Kreuz mit dem Schlüssel übereinstimmt, nach oben ihre Trennschärfe. Der Mauszeiger "
            "über einem Punkt zeigt Frage und Option, ein Klick die Zeile unter „Fragen“.");
        if (const int unplotted = itemMapView_->itemMap()->unplotted(); unplotted > 0)
            note += QStringLiteral(" %1 Optionen ohne Trennschärfe (weniger als 3 Teilnehmer "
                                   "oder keine Streuung) fehlen.")
                        .arg(unplotted);
        itemMapNote_->setText(note);
    }
}

void CourseWindow::updateSummary()
{
    if (!view_) {
        summary_->setText(
            loader_->busy() ? QStringLiteral("Lade …") : QStringLiteral("Kein Ordner geöffnet"));
        return;
    }
    const batch::Course& course = view_->course;
    QString text = QStringLiteral("%1 Teilnehmer").arg(course.records.size());
    const std::size_t unreadable = course.unreadable.size() + course.folderProblems.size();
    if (unreadable > 0)
        text += QStringLiteral(" · %1 nicht lesbar").arg(unreadable);
    if (loader_->busy())
        text += QStringLiteral(" · lade …");
    summary_->setText(text);
}

void CourseWindow::loadingChanged(bool busy)
{
    cancelAction_->setEnabled(busy);
    if (busy) {
        if (!progressDelay_.isActive() && !progress_->isVisible())
            progressDelay_.start();
    } else {
        progressDelay_.stop();
        progress_->hide();
        cancelButton_->hide();
        progress_->reset();
    }
    updateSummary();
}

void CourseWindow::loadCancelled(const QString& folder, bool fresh)
{
    statusBar()->showMessage(fresh ? QStringLiteral("Laden von „%1“ abgebrochen").arg(folder)
                                   : QStringLiteral("Neu einlesen abgebrochen"),
        8000);
}

void CourseWindow::reviewParticipant(int row)
{
    if (!view_ || row < 0 || std::size_t(row) >= view_->course.records.size())
        return;
    // Copied: the course may change while the choice is open.
    const AnswerRecord record = view_->course.records[std::size_t(row)];
    const QString path = view_->participants.text(std::size_t(row), 0);

    QMenu menu(this);
    menu.setObjectName(QStringLiteral("blockChoice"));
    menu.addSection(QFileInfo(path).fileName());
    for (const BlockInfo& info : kBlocks) {
        if (!record.isDone(info.number))
            continue;
        QAction* action = menu.addAction(
            QStringLiteral("&%1 %2").arg(info.number).arg(QString::fromUtf8(info.menuName)));
        action->setData(info.number);
    }
    const QList<QAction*> blocks = menu.actions().mid(1);
    if (blocks.isEmpty()) {
        QMessageBox box(QMessageBox::Information, kCourseTitle,
            QStringLiteral("„%1“ hat keinen Block bearbeitet.").arg(path), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    menu.setActiveAction(blocks.first());
    const QModelIndex at = participantsSorted_->mapFromSource(participants_->index(row, 0));
    QRect cell = participantsView_->visualRect(at);
    if (!cell.intersects(participantsView_->viewport()->rect()))
        cell = QRect(participantsView_->viewport()->rect().center(), QSize(1, 1));
    const QAction* chosen
        = menu.exec(participantsView_->viewport()->mapToGlobal(cell.bottomLeft()), blocks.first());
    if (!chosen)
        return;
    ReviewWindow window(reviewCatalogue(chosen->data().toInt()), ViewingOnly{record}, this);
    window.exec();
}

void CourseWindow::showOption(std::size_t offset)
{
    const QModelIndex source = items_->index(int(offset - kFirstOptionByte), 0);
    if (!source.isValid())
        return;
    QModelIndex at = itemsFiltered_->mapFromSource(source);
    if (!at.isValid()) {
        notesOnly_->setChecked(false);  // the option has no note: show them all
        at = itemsFiltered_->mapFromSource(source);
    }
    QToolTip::hideText();  // the map's, which would linger over the table
    tabs_->setCurrentWidget(itemsView_->parentWidget());
    itemsView_->selectionModel()->setCurrentIndex(
        at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    itemsView_->scrollTo(at, QAbstractItemView::PositionAtCenter);
    itemsView_->setFocus();
}

void CourseWindow::savePdf()
{
    if (!view_)
        return;
    std::unique_ptr<QFileDialog> dialog(makeFileDialog(this, QStringLiteral("PdfDialog"),
        QStringLiteral("Kursbericht als PDF speichern"), view_->folder));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(QStringLiteral("PDF-Dateien (*.pdf)"));
    dialog->setDefaultSuffix(QStringLiteral("pdf"));
    dialog->selectFile(QString::fromUtf8(batch::kCourseReportFileName));
    const QString path = chosenPath(*dialog);
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string bytes = batch::coursePdf(view_->course, QDate::currentDate());
    QApplication::restoreOverrideCursor();
    if (bytes.empty()) {
        warn(QStringLiteral("Der Kursbericht lässt sich nicht erstellen."));
        return;
    }
    const QString problem = saveFile(path, bytes, QStringLiteral("Der Kursbericht"));
    if (!problem.isEmpty()) {
        warn(problem);
        return;
    }
    statusBar()->showMessage(QStringLiteral("Kursbericht gespeichert: %1").arg(path), 8000);
}

void CourseWindow::saveTables()
{
    if (!view_)
        return;
    std::unique_ptr<QFileDialog> dialog(makeFileDialog(this, QStringLiteral("TablesDialog"),
        QStringLiteral("Tabellen als CSV speichern"), view_->folder));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setLabelText(QFileDialog::Accept, QStringLiteral("&Speichern"));
    const QString folder = chosenPath(*dialog);
    if (folder.isEmpty())
        return;

    const auto tables = courseTables(view_->course);
    std::vector<std::string> existing;
    for (const TableFile& table : tables) {
        if (QFileInfo::exists(QDir(folder).filePath(QString::fromUtf8(table.name))))
            existing.push_back(table.name);
    }
    if (!existing.empty()) {
        QMessageBox box(QMessageBox::Question, kCourseTitle,
            QStringLiteral("Im Ordner „%1“ gibt es schon %2. Ersetzen?")
                .arg(folder, QString::fromStdString(batch::germanList(existing))),
            QMessageBox::Yes | QMessageBox::No, this);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ersetzen"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Nicht ersetzen"));
        box.setDefaultButton(QMessageBox::No);
        if (box.exec() != QMessageBox::Yes)
            return;
    }
    QStringList problems;
    for (const TableFile& table : tables) {
        const QString problem = saveFile(QDir(folder).filePath(QString::fromUtf8(table.name)),
            table.bytes, QStringLiteral("Die ") + QString::fromUtf8(table.what));
        if (!problem.isEmpty())
            problems << problem;
    }
    if (!problems.isEmpty()) {
        warn(problems.join(QLatin1Char('\n')));
        return;
    }
    statusBar()->showMessage(QStringLiteral("Tabellen gespeichert in %1").arg(folder), 8000);
}

QString CourseWindow::saveFile(const QString& path, const std::string& bytes, const QString& what)
{
    const SaveResult saved = saveCourseFile(
        fileSystemName(path).toStdString(), bytes, fileSystemName(view_->folder).toStdString());
    switch (saved.status) {
    case SaveResult::Status::Saved:
        return {};
    case SaveResult::Status::AnswerFile:
        return QStringLiteral("%1 wird nicht gespeichert: „%2“ ist eine Antwortdatei des Kurses.")
            .arg(what, path);
    case SaveResult::Status::Failed:
        break;
    }
    return QStringLiteral("%1 lässt sich nicht speichern: %2 (%3)")
        .arg(what, path, QString::fromStdString(batch::osErrorText(saved.osError)));
}

void CourseWindow::warn(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, kCourseTitle, text, QMessageBox::Ok, this);
    box.exec();
}

void CourseWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile()
        && QFileInfo(urls.first().toLocalFile()).isDir())
        event->acceptProposedAction();
}

void CourseWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over: a message box must not come up inside it.
    const QString folder = urls.first().toLocalFile();
    QTimer::singleShot(0, this, [this, folder] { openFolder(folder); });
}

void CourseWindow::closeEvent(QCloseEvent* event)
{
    loader_->cancel();
    QMainWindow::closeEvent(event);
}

}  // namespace quendral::course
