#include "CsvWriter.h"

#include <charconv>

namespace quendral::batch {

void CsvWriter::separate()
{
    if (rowStarted_)
        out_ += ';';
    rowStarted_ = true;
}

void CsvWriter::text(std::string_view cell)
{
    separate();
    if (cell.find_first_of(";\"\r\n") == std::string_view::npos) {
        out_ += cell;
        return;
    }
    out_ += '"';
    for (const char c : cell) {
        if (c == '"')
            out_ += '"';
        out_ += c;
    }
    out_ += '"';
}

void CsvWriter::number(std::uint64_t value)
{
    separate();
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out_.append(digits, end);
}

void CsvWriter::empty()
{
    separate();
}

void CsvWriter::endRow()
{
    out_ += "\r\n";
    rowStarted_ = false;
}

}  // namespace quendral::batch
