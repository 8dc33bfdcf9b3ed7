#pragma once

// What the course window's tests share: a course folder of answer files, runs of the real
// quendral-batch on it, the tables as the window shows them, and waiting for the window.

#include "AnswerRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

class QAbstractItemView;

namespace quendral::course {
class CourseWindow;
}

namespace quendral::test {

// Waits are bounded: a window that never updates fails the test instead of holding it.
inline constexpr int kLoadTimeoutMs = 10000;

class TestCourse {
public:
    TestCourse();

    const QString& path() const { return path_; }
    QString file(const QString& name) const { return path_ + QLatin1Char('/') + name; }

    // Writes the record's first `size` bytes as `name` (replacing the file in place).
    QString write(const QString& name, const AnswerRecord& record, qsizetype size = 395) const;
    // Writes `name` anew under another name and renames it over the old file, as an editor
    // or a copy tool replaces a file.
    QString replace(const QString& name, const AnswerRecord& record) const;
    // participant01.dat, participant02.dat, ...: one file per record.
    void writeCourse(const std::vector<AnswerRecord>& records) const;

    // Every entry's name with its bytes (folders marked), to see that nothing changed.
    QStringList snapshot() const;

private:
    QTemporaryDir dir_;
    QString path_;
};

// A participant with known results: the sample of the examples folder.
AnswerRecord sampleParticipant();

struct BatchRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
// Runs quendral-batch with `arguments`; gives up (exit code -1) after 60 seconds.
BatchRun runBatch(const QStringList& arguments);

// A CSV file of the batch tool as rows of cells (without the byte-order mark).
QList<QStringList> csvRows(const QByteArray& bytes);
// The header and then every row of a view, as it shows them, in its order.
QList<QStringList> shownRows(const QAbstractItemView* view);

// The text of a PDF as pdftotext reads it.
QByteArray pdfText(const QString& path);

// Waits until the window shows a course of `folder` with `participants` rows and has settled:
// every file watched, nothing more to read.
bool waitForCourse(const course::CourseWindow& window, const QString& folder, int participants,
    int timeoutMs = kLoadTimeoutMs);

}  // namespace quendral::test
