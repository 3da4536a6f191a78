#include "lab/analysis/csv_writer.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "lab/analysis/csv_number.h"

namespace lab {

void CsvWriter::hand_over() {
    if (ok_ && used_ > 0) ok_ = std::fwrite(buffer_, 1, used_, out_) == used_;
    used_ = 0;
}

// Where the next chars go, handing the buffer over first when they would not fit.
char* CsvWriter::room_for(std::size_t chars) {
    if (used_ + chars > capacity) hand_over();
    return buffer_ + used_;
}

void CsvWriter::text(std::string_view text) {
    if (text.size() > capacity) {
        hand_over();
        ok_ = ok_ && std::fwrite(text.data(), 1, text.size(), out_) == text.size();
        return;
    }
    std::memcpy(room_for(text.size()), text.data(), text.size());
    used_ += text.size();
}

void CsvWriter::integer(long long value) {
    char* const first = room_for(max_number_chars);
    used_ +=
        static_cast<std::size_t>(std::to_chars(first, first + max_number_chars, value).ptr - first);
}

void CsvWriter::number(double value) {
    char* const first = room_for(max_number_chars);
    used_ += static_cast<std::size_t>(write_number(first, value) - first);
}

void CsvWriter::next_number(double value) {
    text(",");
    if (std::isfinite(value)) number(value);
}

bool CsvWriter::finish() {
    hand_over();
    return ok_;
}

} // namespace lab
