// The course window's bare-Qt peer for the real-screen benchmark: a main window with four
// tabs and a sorted table of every participant of a folder, read and scored on the GUI
// thread, with the same block statistics computed; a change to the folder reads it all
// again. What Qt alone needs to show a course, without the program's loader, models and
// charts.
//
//   kurs_peer [FOLDER]   (without FOLDER: "Ordner öffnen", Qt's own folder dialog)

#include "AnswerRecord.h"
#include "BlockScore.h"
#include "Blocks.h"
#include "CourseStatistics.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemWatcher>
#include <QMainWindow>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <vector>

namespace {

using namespace quendral;

class Peer : public QMainWindow {
public:
    Peer()
    {
        setWindowTitle(QStringLiteral("Quendral Kursauswertung"));
        resize(1100, 720);
        proxy_.setSourceModel(&model_);
        view_.setModel(&proxy_);
        view_.setSortingEnabled(true);
        view_.sortByColumn(0, Qt::AscendingOrder);
        auto* tabs = new QTabWidget;
        tabs->addTab(&view_, QStringLiteral("Teilnehmer"));
        for (const char* name : {"Blöcke", "Fragen", "Itemkarte"})
            tabs->addTab(new QWidget, QString::fromUtf8(name));
        setCentralWidget(tabs);
        settle_.setSingleShot(true);
        settle_.setInterval(100);
        connect(&settle_, &QTimer::timeout, this, [this] { load(folder_); });
        connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
            if (!settle_.isActive())
                settle_.start();
        });
    }

    void load(const QString& folder)
    {
        if (folder_ != folder) {
            folder_ = folder;
            watcher_.addPath(folder);
        }
        model_.clear();
        QStringList titles{QStringLiteral("Datei")};
        for (const BlockInfo& info : kBlocks)
            titles << QString::fromUtf8(info.chartLabel);
        titles << QStringLiteral("Punkte") << QStringLiteral("Optionen");
        model_.setHorizontalHeaderLabels(titles);
        std::vector<AnswerRecord> records;
        const QDir dir(folder);
        for (const QString& name :
            dir.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name)) {
            const QString path = dir.filePath(name);
            QFile file(path);
            AnswerRecord record;
            if (!file.open(QIODevice::ReadOnly)
                || file.read(reinterpret_cast<char*>(record.bytes.data()), kRecordSize)
                    != qint64(kRecordSize))
                continue;
            records.push_back(record);
            QList<QStandardItem*> row{new QStandardItem(path)};
            int points = 0;
            int options = 0;
            for (const BlockInfo& info : kBlocks) {
                auto* cell = new QStandardItem;
                if (record.isDone(info.number)) {
                    const int count = countAgreeing(record, info.number);
                    cell->setData(
                        int(percentage(info.number, std::uint16_t(count))), Qt::DisplayRole);
                    points += count;
                    options += info.options();
                }
                row << cell;
            }
            for (const int value : {points, options}) {
                auto* cell = new QStandardItem;
                cell->setData(value, Qt::DisplayRole);
                row << cell;
            }
            model_.appendRow(row);
        }
        statistics_ = computeCourseStatistics(records);
        setWindowTitle(QStringLiteral("Quendral Kursauswertung – ") + dir.dirName());
    }

private:
    QString folder_;
    QStandardItemModel model_;
    QSortFilterProxyModel proxy_;
    QTableView view_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    CourseStatistics statistics_;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    Peer peer;
    peer.show();
    if (argc > 1) {
        peer.load(QString::fromLocal8Bit(argv[1]));
    } else {
        QTimer::singleShot(0, &peer, [&peer] {
            const QString folder = QFileDialog::getExistingDirectory(&peer,
                QStringLiteral("Ordner öffnen"), QDir::currentPath(),
                QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
            if (!folder.isEmpty())
                peer.load(folder);
        });
    }
    return QApplication::exec();
}
