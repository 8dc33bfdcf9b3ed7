#include "CourseLoader.h"

#include "CourseFolder.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QPromise>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <utility>

namespace quendral::course {

namespace {

// Watches are added a slice at a time, so that a large folder does not hold up the window
// (about 16 µs a file).
constexpr qsizetype kWatchesPerSlice = 500;

}  // namespace

struct CourseLoader::Outcome {
    CourseFolder::Scan scan = CourseFolder::Scan::Cancelled;
    std::shared_ptr<const CourseView> view;  // when the scan changed something
    std::vector<std::string> files;  // the answer files, after a complete scan
};

CourseLoader::CourseLoader(QObject* parent) : QObject(parent)
{
    threads_.setMaxThreadCount(1);
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &CourseLoader::reload);
    watchTimer_.setInterval(0);
    connect(&watchTimer_, &QTimer::timeout, this, &CourseLoader::addPendingWatches);
    connect(&job_, &QFutureWatcherBase::finished, this, &CourseLoader::finished);
    connect(&job_, &QFutureWatcherBase::progressValueChanged, this,
        [this](int value) { emit progress(value, job_.progressMaximum()); });
}

CourseLoader::~CourseLoader()
{
    if (stop_)
        *stop_ = true;
    job_.waitForFinished();
}

void CourseLoader::open(const QString& folder)
{
    const Request request{folder, true};
    if (!busy()) {
        start(request);
        return;
    }
    next_ = request;
    *stop_ = true;
}

void CourseLoader::reload()
{
    if (folder_.isEmpty() && !(busy() && running_.fresh))
        return;
    if (busy()) {
        // Taken up when the scan that runs is done; a folder waiting to be opened comes first.
        if (!next_)
            next_ = Request{{}, false};
        return;
    }
    start(Request{{}, false});
}

void CourseLoader::cancel()
{
    next_.reset();
    if (stop_)
        *stop_ = true;
}

bool CourseLoader::start(const Request& request)
{
    if (!request.fresh && !shown_)
        return false;
    running_ = request;
    std::shared_ptr<CourseFolder> folder = request.fresh
        ? std::make_shared<CourseFolder>(QFile::encodeName(request.folder).toStdString())
        : shown_;
    const QString name = request.fresh ? request.folder : folder_;
    auto stop = std::make_shared<std::atomic<bool>>(false);
    stop_ = stop;
    job_.setFuture(QtConcurrent::run(
        &threads_, [folder, name, stop](QPromise<std::shared_ptr<Outcome>>& promise) {
            auto outcome = std::make_shared<Outcome>();
            int range = -1;
            outcome->scan = folder->scan([&](std::size_t done, std::size_t total) {
                if (int(total) != range) {
                    range = int(total);
                    promise.setProgressRange(0, range);
                }
                promise.setProgressValue(int(done));
                return !*stop;
            });
            if (outcome->scan == CourseFolder::Scan::Changed)
                outcome->view = makeCourseView(name, folder->course());
            if (outcome->scan != CourseFolder::Scan::Cancelled)
                outcome->files = folder->files();
            promise.addResult(std::move(outcome));
        }));
    scanning_ = std::move(folder);
    emit busyChanged(true);
    return true;
}

void CourseLoader::finished()
{
    const std::shared_ptr<Outcome> outcome = job_.result();
    const Request done = running_;
    std::shared_ptr<CourseFolder> scanned = std::exchange(scanning_, nullptr);
    if (outcome->scan == CourseFolder::Scan::Cancelled) {
        emit cancelled(done.fresh ? done.folder : folder_, done.fresh);
    } else {
        if (done.fresh) {
            shown_ = std::move(scanned);
            folder_ = done.folder;
            watch(folder_);
        }
        if (outcome->view)
            emit loaded(outcome->view);
        watchFiles(outcome->files, done.fresh);
    }
    while (next_) {
        if (start(*std::exchange(next_, std::nullopt)))
            return;
    }
    emit busyChanged(false);
}

void CourseLoader::watch(const QString& folder)
{
    watcher_ = std::make_unique<QFileSystemWatcher>();
    pendingWatches_.clear();
    unwatchable_.clear();
    watchTimer_.stop();
    settle_.stop();
    // The folder tells of files added, removed and renamed; each file's own watch tells of
    // a file written in place (a file still being written, one replaced in place).
    watcher_->addPath(folder);
    connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, this, &CourseLoader::changeSeen);
    connect(watcher_.get(), &QFileSystemWatcher::fileChanged, this, &CourseLoader::changeSeen);
}

void CourseLoader::watchFiles(const std::vector<std::string>& files, bool verify)
{
    if (!watcher_)
        return;
    const QStringList watchedList = watcher_->files();
    QSet<QString> stale(watchedList.begin(), watchedList.end());
    pendingWatches_.clear();
    for (const std::string& file : files) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(file));
        if (!stale.remove(path) && !unwatchable_.contains(path))
            pendingWatches_.append(path);
    }
    if (!stale.isEmpty())
        watcher_->removePaths(QStringList(stale.begin(), stale.end()));
    if (!pendingWatches_.isEmpty() || verify)
        watchTimer_.start();
}

void CourseLoader::addPendingWatches()
{
    const QStringList slice = pendingWatches_.mid(0, kWatchesPerSlice);
    pendingWatches_.remove(0, slice.size());
    // A file that cannot be watched (no watches left) is not tried again and again.
    for (const QString& failed : watcher_->addPaths(slice))
        unwatchable_.insert(failed);
    if (!pendingWatches_.isEmpty())
        return;
    watchTimer_.stop();
    // A file written between its scan and its watch would go unseen (and so would the
    // folder, between its first scan and its watch): one more look.
    changeSeen();
}

void CourseLoader::changeSeen()
{
    // Gathered, not postponed: a folder that keeps changing is still scanned every moment.
    if (!settle_.isActive())
        settle_.start();
}

}  // namespace quendral::course
