#pragma once

// The report is written in the Windows ANSI code page (Windows-1252): one byte per character.

#include <QString>

#include <string>

namespace quendral {

std::string toReportBytes(const QString& text);

}  // namespace quendral
