// Complete lens metadata as a source delivers it for one frame, the value
// that the tests and benchmarks write when they need a realistic one.
#pragma once

#include "MetadataCopy/Metadata.hpp"

namespace SampleMetadata {

/// A frame of a RED WEAPON 8K VV clip (8192 x 4320, image radius
/// 23.153194 mm) with six interpolation points; the radius and the last
/// distortion value have more digits than the document's six significant
/// ones. Its document is the EXR destination tests' worked example.
MetadataCopy::Metadata weaponFrame();

} // namespace SampleMetadata
