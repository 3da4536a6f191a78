// A CSV text assembled in a buffer of fixed size and handed to its stream in whole pieces:
// numbers are formatted without a format string (see csv_number.h), rows without an
// allocation.
#pragma once

#include <cstdio>
#include <string_view>

namespace lab {

class CsvWriter {
  public:
    explicit CsvWriter(std::FILE* out) : out_(out) {}
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void text(std::string_view text);
    void integer(long long value);
    void number(double value);      // a finite value, as write_number writes it
    void next_number(double value); // ",value", or "," alone: a table never holds nan or inf
    void end_row() { text("\n"); }
    // Hands what is left to the stream; false when any write failed.
    bool finish();

  private:
    static constexpr std::size_t capacity = 4096;

    char* room_for(std::size_t chars);
    void hand_over();

    std::FILE* out_;
    bool ok_ = true;
    std::size_t used_ = 0;
    char buffer_[capacity];
};

} // namespace lab
