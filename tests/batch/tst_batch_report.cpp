// quendral-batch --reports against the desktop program: for the same record, the report the
// batch writes has the same bytes as the one the review windows write when each worked block
// is opened once, in block order, after the header that "&Einzelauswertung" writes.

#include "TestRecords.h"

#include "AnswerKey.h"
#include "QuendralGLOBAL.h"
#include "ReviewWindow.h"
#include "ReviewWindows.h"
#include "Section.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace quendral;
using namespace quendral::test;

Q_DECLARE_METATYPE(quendral::AnswerRecord)

class BatchReportTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetProgramState(); }
    void cleanup() { resetProgramState(); }

    void sameBytesAsTheReviewWindows_data();
    void sameBytesAsTheReviewWindows();
};

namespace {

// Answers against the key at the given options ("question letter"), with ticks as 255.
void deviate(AnswerRecord& record, int block, std::initializer_list<const char*> options)
{
    for (const char* option : options) {
        const int question = std::atoi(option);
        const int k = option[std::strlen(option) - 1] - 'a';
        const std::size_t offset
            = blockInfo(block).firstByte + static_cast<std::size_t>(4 * (question - 1) + k);
        record.bytes[offset] = record.bytes[offset] ? 0 : 255;
    }
}

AnswerRecord mixed()
{
    AnswerRecord record;
    for (int block = 1; block <= 6; ++block)
        fillBlock(record, block, Fill::Key);
    deviate(record, 1, {"1d", "2a", "5c", "5d", "10b"});
    deviate(record, 2, {"1b", "12b", "12c", "13d", "37a"});
    deviate(record, 3, {"6b"});
    deviate(record, 4, {"1a", "7d", "20b", "20c", "20d"});
    deviate(record, 5, {"4a"});
    deviate(record, 6, {"2d"});
    for (std::size_t i = 0; i < kFirstOptionByte; ++i)
        record.bytes[i] = static_cast<std::uint8_t>(i * 7);
    return record;
}

AnswerRecord filledAll(Fill fill)
{
    AnswerRecord record;
    for (int block = 1; block <= 6; ++block)
        fillBlock(record, block, fill);
    return record;
}

AnswerRecord withDone(AnswerRecord record, std::initializer_list<int> blocks)
{
    setDone(record, blocks);
    return record;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot be read>");
}

}  // namespace

void BatchReportTest::sameBytesAsTheReviewWindows_data()
{
    QTest::addColumn<AnswerRecord>("record");
    QTest::addColumn<QList<int>>("worked");

    QTest::newRow("blocks124Mixed") << withDone(mixed(), {1, 2, 4}) << QList<int>{1, 2, 4};
    QTest::newRow("blocks124NothingTicked")
        << withDone(filledAll(Fill::Nothing), {1, 2, 4}) << QList<int>{1, 2, 4};
    QTest::newRow("blocks124EverythingTicked")
        << withDone(filledAll(Fill::Everything), {1, 2, 4}) << QList<int>{1, 2, 4};
    QTest::newRow("blocks124Key") << withDone(filledAll(Fill::Key), {1, 2, 4})
                                  << QList<int>{1, 2, 4};
    QTest::newRow("allSixMixed") << withDone(mixed(), {1, 2, 3, 4, 5, 6})
                                 << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("noneWorked") << mixed() << QList<int>{};
}

void BatchReportTest::sameBytesAsTheReviewWindows()
{
    QFETCH(AnswerRecord, record);
    QFETCH(QList<int>, worked);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    // The desktop program: the header of "&Einzelauswertung", then the review windows.
    const QString desktopReport = dir.filePath("desktop-Detail.txt");
    answerRecord = record;
    QCOMPARE(ReportFile.create(desktopReport.toStdString()), 0);
    for (const char* line : kReportHeader)
        QCOMPARE(ReportFile.writeLine(line), 0);
    for (int block : worked) {
        std::unique_ptr<ReviewWindow> window(createReviewWindow(block, nullptr));
        QCOMPARE(window->metaObject()->className(),
            QByteArray("quendral::Tquendral" + QByteArray::number(block) + "auswfrm").constData());
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->close();
        window.reset();
        forgetReviewWindow(block);
    }
    QCOMPARE(ReportFile.close(), 0);

    // The batch, on the same record in a folder of its own.
    QVERIFY(QDir(dir.path()).mkdir("kurs"));
    const QString answerFile = writeRecordFile(dir, "kurs/teilnehmer.dat", record);
    QProcess batch;
    batch.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    batch.start(QStringLiteral(QUENDRAL_BATCH_EXE),
        {"--reports", "-o", dir.filePath("ergebnis.csv"), dir.filePath("kurs")});
    QVERIFY(batch.waitForFinished(30000));
    QCOMPARE(batch.exitStatus(), QProcess::NormalExit);
    QCOMPARE(batch.exitCode(), 0);

    const QByteArray expected = readAll(desktopReport);
    QVERIFY(expected.startsWith("Folgende Fragen sind bitte nochmals zu bedenken.\r\n"));
    QCOMPARE(expected.count("Fragen zu Kapitel"), worked.size());
    QCOMPARE(readAll(dir.filePath("kurs/teilnehmer-Detail.txt")), expected);
    QCOMPARE(readAll(answerFile),
        QByteArray(reinterpret_cast<const char*>(record.bytes.data()), kRecordSize));
}

QTEST_MAIN(BatchReportTest)
#include "tst_batch_report.moc"
