#pragma once

// Answer records and program state for the window tests.

#include "AnswerRecord.h"

#include <QString>
#include <QTemporaryDir>

#include <initializer_list>

namespace quendral::test {

enum class Fill { Nothing, Everything, Key };

// Sets the option bytes of `block`: all clear, all ticked, or as the key expects.
void fillBlock(AnswerRecord& record, int block, Fill fill);
void setDone(AnswerRecord& record, std::initializer_list<int> blocks);

// Writes `record` (or its first `size` bytes) as a file in `dir`; returns the full path.
QString writeRecordFile(const QTemporaryDir& dir, const QString& name, const AnswerRecord& record,
    qsizetype size = 395);

// Clears every program-wide variable, as at program start.
void resetProgramState();

}  // namespace quendral::test
