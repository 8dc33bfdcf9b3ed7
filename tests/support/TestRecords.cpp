#include "TestRecords.h"

#include "AnswerKey.h"
#include "Blocks.h"
#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"

#include <QFile>

namespace quendral::test {

void fillBlock(AnswerRecord& record, int block, Fill fill)
{
    const BlockInfo& info = blockInfo(block);
    for (int i = 0; i < info.options(); ++i) {
        const std::size_t offset = info.firstByte + static_cast<std::size_t>(i);
        switch (fill) {
        case Fill::Nothing:
            record.bytes[offset] = 0;
            break;
        case Fill::Everything:
            record.bytes[offset] = 1;
            break;
        case Fill::Key:
            record.bytes[offset] = expectedAt(offset) == Expected::Ticked ? 1 : 0;
            break;
        }
    }
}

void setDone(AnswerRecord& record, std::initializer_list<int> blocks)
{
    for (int block : blocks)
        record.bytes[kDoneFlagBase + static_cast<std::size_t>(block)] = 1;
}

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
