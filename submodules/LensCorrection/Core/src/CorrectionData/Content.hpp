// A whole parsed VANT lens-correction file: the header and the rows, keyed
// and ordered by frame number (the first entry is the lowest number).
#pragma once

#include "CorrectionData/Frame.hpp"
#include "CorrectionData/Header.hpp"

#include <map>

namespace CorrectionData {

struct Content {
    Header header;
    std::map<unsigned int, Frame> frames;
};

} // namespace CorrectionData
