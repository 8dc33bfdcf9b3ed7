#pragma once

// Rows of a table as a German spreadsheet opens them: cells separated by ';', rows ended by
// CR LF, UTF-8 after a byte-order mark. A cell holding ';', '"' or a line break is quoted,
// its quotes doubled. Text cells are made valid UTF-8, and one that a spreadsheet would take
// for a formula ('=', '+', '-', '@', tab or CR first) gets a leading apostrophe.

#include <cstdint>
#include <string>
#include <string_view>

namespace quendral::batch {

class CsvWriter {
public:
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

    explicit CsvWriter(std::string& out) : out_(out) { }

    void text(std::string_view cell);
    void number(std::uint64_t value);
    // A number already formatted by the program ("66,7", "-0,25"), written as it stands.
    void formatted(std::string_view number);
    void empty();
    void endRow();

private:
    void separate();

    std::string& out_;
    bool rowStarted_ = false;
};

}  // namespace quendral::batch
