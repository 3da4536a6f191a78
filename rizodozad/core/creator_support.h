// What the public creators share: whether the current layer takes data, and the
// record a create call really matched.
#pragma once

#include "rizodozad/core/engine.h"

namespace rizodozad::creator_support {

// A hidden layer's records hold no data, so they neither draw nor widen extents.
inline bool layer_shown(const Engine& engine) {
    const Layer* layer = engine.current_layer.get();
    return layer == nullptr || layer->visible != 0;
}

// The current record when it is the one `handle` names. A pass that composes more
// records of a kind than the allocation pass did finds none at that position; its
// data is then dropped rather than written over the record matched before.
template <class Record> Record* matched(const CurrentRecord<Record>& current, int handle) {
    Record* record = current.get();
    return record != nullptr && record->handle == handle ? record : nullptr;
}

// The allocation pass builds records with their defaults: the only moment a creator
// gives them the look of their kind, which set() may then change for good.
inline bool just_created(const Engine& engine) { return engine.mode == display_mode::allocation; }

} // namespace rizodozad::creator_support
