#include "CsvWriter.h"

#include "PlainText.h"

#include <charconv>

namespace quendral::batch {

void CsvWriter::separate()
{
    if (rowStarted_)
        out_ += ';';
    rowStarted_ = true;
}

void CsvWriter::text(std::string_view given)
{
    separate();
    const std::string valid = validUtf8(given);
    std::string_view cell = valid;
    // A spreadsheet takes a cell that begins like this for a formula and runs it; the
    // apostrophe makes it plain text, as the usual guidance on CSV injection advises.
    const bool formulaLike
        = !cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos;
    const bool quote = cell.find_first_of(";\"\r\n") != std::string_view::npos;
    if (quote)
        out_ += '"';
    if (formulaLike)
        out_ += '\'';
    if (!quote) {
        out_ += cell;
        return;
    }
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

void CsvWriter::formatted(std::string_view number)
{
    separate();
    out_ += number;
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
