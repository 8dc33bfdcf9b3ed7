#include "CourseTestSupport.h"

#include "CourseLoader.h"
#include "CourseWindow.h"
#include "TestRecords.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <utility>

namespace quendral::test {

namespace {
const QString kFolderName = QStringLiteral("kurs");
}  // namespace

TestCourse::TestCourse() : path_(dir_.filePath(kFolderName))
{
    if (!QDir().mkpath(path_))
        qFatal("cannot make %s", qPrintable(path_));
}

QString TestCourse::write(const QString& name, const AnswerRecord& record, qsizetype size) const
{
    return writeRecordFile(dir_, kFolderName + QLatin1Char('/') + name, record, size);
}

QString TestCourse::replace(const QString& name, const AnswerRecord& record) const
{
    const QString staged = dir_.filePath(name + QStringLiteral(".neu"));
    QFile out(staged);
    if (!out.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(staged));
    out.write(reinterpret_cast<const char*>(record.bytes.data()), 395);
    out.close();
    if (::rename(QFile::encodeName(staged).constData(), QFile::encodeName(file(name)).constData()))
        qFatal("cannot rename %s", qPrintable(staged));
    return file(name);
}

void TestCourse::writeCourse(const std::vector<AnswerRecord>& records) const
{
    for (std::size_t i = 0; i < records.size(); ++i)
        write(QStringLiteral("participant%1.dat").arg(i + 1, 2, 10, QLatin1Char('0')), records[i]);
}

QStringList TestCourse::snapshot() const
{
    QStringList entries;
    QDirIterator it(path_, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        QFile file(entry);
        entries << entry + QLatin1Char(' ')
                + (file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toHex())
                                                  : QStringLiteral("<kein Inhalt>"));
    }
    entries.sort();
    return entries;
}

AnswerRecord sampleParticipant()
{
    AnswerRecord record;
    QFile file(QStringLiteral(QUENDRAL_EXAMPLE_FILE));
    if (!file.open(QIODevice::ReadOnly)
        || file.read(reinterpret_cast<char*>(record.bytes.data()), 395) != 395)
        qFatal("cannot read the sample participant");
    return record;
}

BatchRun runBatch(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(QUENDRAL_BATCH_EXE), arguments);
    BatchRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QList<QStringList> csvRows(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    auto endCell = [&] {
        // The apostrophe that keeps a spreadsheet from taking a text for a formula.
        static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
        if (cell.size() > 1 && cell[0] == QLatin1Char('\'') && kFormulaStarts.contains(cell[1]))
            cell.remove(0, 1);
        row << std::exchange(cell, QString());
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                cell += text[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                cell += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(';')) {
            endCell();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size()
            && text[i + 1] == QLatin1Char('\n')) {
            ++i;
            endCell();
            rows << std::exchange(row, QStringList());
        } else {
            cell += c;
        }
    }
    return rows;
}

QList<QStringList> shownRows(const QAbstractItemView* view)
{
    const QAbstractItemModel* model = view->model();
    QList<QStringList> rows;
    QStringList header;
    for (int c = 0; c < model->columnCount(); ++c)
        header << model->headerData(c, Qt::Horizontal).toString();
    rows << header;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c)
            row << model->index(r, c).data().toString();
        rows << row;
    }
    return rows;
}

QByteArray pdfText(const QString& path)
{
    QProcess process;
    process.start(
        QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return "<pdftotext failed>";
    return process.readAllStandardOutput();
}

bool waitForCourse(
    const course::CourseWindow& window, const QString& folder, int participants, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] {
            const auto& view = window.view();
            return view && view->folder == folder
                && int(view->course.records.size()) == participants && window.loader()->idle();
        },
        timeoutMs);
}

}  // namespace quendral::test
