#include "TestRecords.h"

#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"

#include <QFile>

namespace quendral::test {

QString writeRecordFile(
    const QTemporaryDir& dir, const QString& name, const AnswerRecord& record, qsizetype size)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray bytes(reinterpret_cast<const char*>(record.bytes.data()), 395);
    bytes.resize(size, '\0');
    file.write(bytes);
    return path;
}

void resetProgramState()
{
    answerRecord = AnswerRecord{};
    AnswerFile.clear();
    ReportFile.close();
    FirstActivation = 0;
    SavePicture = 0;
    BlockScore.fill(0);
}

}  // namespace quendral::test
