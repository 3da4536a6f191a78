// A non-owning reference to the current record of one kind. It holds an index,
// not a pointer, so it can never dangle when its list grows or is emptied:
// a reference past the end of the list names no record.
#pragma once

#include <cstddef>
#include <vector>

namespace rizodozad {

template <class Record> class CurrentRecord {
  public:
    explicit CurrentRecord(std::vector<Record>& list) : list_(&list) {}
    CurrentRecord(const CurrentRecord&) = delete;
    CurrentRecord& operator=(const CurrentRecord&) = delete;

    void select(std::size_t index) { index_ = index; }
    void clear() { index_ = none; }

    Record* get() const { return index_ < list_->size() ? &(*list_)[index_] : nullptr; }
    Record* operator->() const { return get(); }
    Record& operator*() const { return *get(); }
    explicit operator bool() const { return get() != nullptr; }

  private:
    static constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::vector<Record>* list_;
    std::size_t index_ = none;
};

} // namespace rizodozad
