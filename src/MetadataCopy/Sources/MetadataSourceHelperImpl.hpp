// The closest-timecode search, a template so that it runs on any type with
// `==` and `<`; the tool uses it for Timecode::Timecode.
#pragma once

#include "Assertion/Assertion.hpp"
#include "MetadataCopy/Sources/MetadataSourceHelper.hpp"

#include <limits>

namespace MetadataCopy {

template <typename T>
std::size_t MetadataSourceHelper::indexOfClosestTimecode(const std::vector<T>& timecodes,
                                                         const T& timecode) {
    OKALU_ASSERT(timecodes.size());
    // The halving works on signed bounds so that hi can fall below lo; a list
    // longer than an int can index is a programming error too.
    OKALU_ASSERT(timecodes.size() <= static_cast<std::size_t>(std::numeric_limits<int>::max()));
    int indexOfClosest = -1;
    return indexOfClosestTimecode(timecodes, timecode, 0, static_cast<int>(timecodes.size()) - 1,
                                  indexOfClosest);
}

template <typename T>
std::size_t MetadataSourceHelper::indexOfClosestTimecode(const std::vector<T>& timecodes,
                                                         const T& timecode, int lo, int hi,
                                                         int& indexOfClosest) {
    if (lo > hi) {
        OKALU_ASSERT(indexOfClosest >= 0);
        return static_cast<std::size_t>(indexOfClosest);
    }
    const int mid = lo + (hi - lo) / 2;
    const T& candidate = timecodes[static_cast<std::size_t>(mid)];
    if (candidate == timecode) {
        return static_cast<std::size_t>(mid);
    }
    if (indexOfClosest == -1) {
        indexOfClosest = mid;
    }
    if (candidate < timecode) {
        // Every element before the request is a better answer than any later
        // one, and the halving meets them in ascending order.
        indexOfClosest = mid;
        return indexOfClosestTimecode(timecodes, timecode, mid + 1, hi, indexOfClosest);
    }
    // An element after the request only replaces the best one found so far
    // while nothing before the request has been met: the earliest one wins.
    if (candidate < timecodes[static_cast<std::size_t>(indexOfClosest)]) {
        indexOfClosest = mid;
    }
    return indexOfClosestTimecode(timecodes, timecode, lo, mid - 1, indexOfClosest);
}

} // namespace MetadataCopy
