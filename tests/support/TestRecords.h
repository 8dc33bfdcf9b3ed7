#pragma once

// Answer records and program state for the window tests.

#include "AnswerRecords.h"

#include <QString>
#include <QTemporaryDir>

namespace quendral::test {

// Writes `record` (or its first `size` bytes) as a file in `dir`; returns the full path.
QString writeRecordFile(const QTemporaryDir& dir, const QString& name, const AnswerRecord& record,
    qsizetype size = 395);

// Clears every program-wide variable, as at program start.
void resetProgramState();

}  // namespace quendral::test
