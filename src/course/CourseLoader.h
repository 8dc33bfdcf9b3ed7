#pragma once

// Loads a course folder off the GUI thread and keeps it live: the folder and each of its
// answer files are watched, changes are gathered for a moment, and a new scan reads only
// the files that changed. Results arrive on the GUI thread as whole views; a scan that
// changed nothing gives none. One scan runs at a time; what is asked for meanwhile waits
// for it (a folder chosen while another loads cancels that load first).

#include "CourseView.h"

#include <QFutureWatcher>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

class QFileSystemWatcher;

namespace quendral::course {

class CourseFolder;

class CourseLoader : public QObject {
    Q_OBJECT
public:
    explicit CourseLoader(QObject* parent = nullptr);
    ~CourseLoader() override;

    // Loads `folder` afresh and watches it once it has loaded.
    void open(const QString& folder);
    // Reads again what has changed in the folder shown.
    void reload();
    // Stops the scan that runs: what was shown stays.
    void cancel();

    // A scan runs, or its result is still to be taken up.
    bool busy() const { return scanning_ != nullptr; }
    // Nothing to do until the folder changes: no scan, no change gathered, every file watched.
    bool idle() const
    {
        return !busy() && !settle_.isActive() && !watchTimer_.isActive() && !next_;
    }
    // The folder whose course was delivered last; empty before the first.
    const QString& folder() const { return folder_; }
    const QFileSystemWatcher* watcher() const { return watcher_.get(); }
    // The loader's own thread: Qt's drawing shares the global pool.
    QThreadPool* threads() { return &threads_; }

    // How long changes are gathered before the folder is scanned again.
    static constexpr int kSettleMs = 100;

signals:
    void loaded(std::shared_ptr<const quendral::course::CourseView> view);
    void busyChanged(bool busy);
    void progress(int done, int total);
    // A scan of `folder` was cancelled; `fresh`: the folder was not shown yet.
    void cancelled(const QString& folder, bool fresh);

private:
    struct Request {
        QString folder;
        bool fresh;
    };
    struct Outcome;

    bool start(const Request& request);
    void finished();
    void watch(const QString& folder);
    void watchFiles(const std::vector<std::string>& files, bool verify);
    void addPendingWatches();
    void changeSeen();

    QString folder_;
    std::shared_ptr<CourseFolder> shown_;  // the folder of the views delivered
    std::shared_ptr<CourseFolder> scanning_;
    Request running_{};
    std::shared_ptr<std::atomic<bool>> stop_;  // of the scan that runs
    std::optional<Request> next_;
    QThreadPool threads_;
    QFutureWatcher<std::shared_ptr<Outcome>> job_;
    std::unique_ptr<QFileSystemWatcher> watcher_;
    QStringList pendingWatches_;
    QSet<QString> unwatchable_;
    QTimer watchTimer_;
    QTimer settle_;
};

}  // namespace quendral::course
