// The create-or-match step shared by every record kind. In the allocation pass
// the n-th call of a kind appends a fresh record; in later passes it finds the
// n-th record again, so a composition re-run from scratch reaches the same records.
#pragma once

#include <cstddef>
#include <cstdio>
#include <utility>
#include <vector>

#include "rizodozad/core/engine.h"

namespace rizodozad::detail {

// The list, current reference and counter of one kind, and how it names itself in traces.
template <class Record> struct KindSlot {
    std::vector<Record>& list;
    CurrentRecord<Record>& current;
    int& counter;
    int kind_code;
    const char* trace_name; // printed after the handle, e.g. "Line" or "Axes "
};

// Appends a default record under `parent_children` (allocation), lets `reset_data`
// empty the data a configuration pass rebuilds, and makes the record current.
// A call beyond the end of the list selects nothing: the previous current record stays.
template <class Record, class ResetData>
int create_or_match(Engine& engine, KindSlot<Record> slot, std::vector<int>* parent_children,
                    ResetData reset_data) {
    const int handle = make_handle(slot.counter, slot.kind_code);
    engine.last_handle = handle;
    if (engine.app.debug)
        std::printf("mode: %d handle: %4d %s\n", engine.mode, handle, slot.trace_name);

    const auto index = static_cast<std::size_t>(slot.counter);
    if (engine.mode == display_mode::allocation) {
        if (parent_children != nullptr) parent_children->push_back(handle);
        Record record;
        record.handle = handle;
        slot.list.push_back(std::move(record));
    } else if (engine.mode == display_mode::configuration && index < slot.list.size()) {
        reset_data(slot.list[index]);
    }
    if (index < slot.list.size()) slot.current.select(index);
    ++slot.counter;
    return handle;
}

// For kinds whose records carry nothing that a configuration pass recomputes.
template <class Record> void keep_data(Record&) {}

// The children list of the current parent, or none when no parent is current.
template <class Parent> std::vector<int>* children_of(const CurrentRecord<Parent>& parent) {
    Parent* record = parent.get();
    return record != nullptr ? &record->children : nullptr;
}

} // namespace rizodozad::detail
