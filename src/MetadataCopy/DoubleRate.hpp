// The double-rate rule, shared by the R3D source and the EXR destination.
//
// R3D footage above 30 and up to 60 frames per second is matched at double
// rate. Its timecodes spell the frame field at single rate, so that one value
// of the field stands for two frames: a clip's frame timecodes tell them apart
// by the separator before the field, "." for the first and ":" for the second,
// while an image's header holds the field alone and is taken for the second.
// Both sides number every frame anew, 2 x field for the first and
// 2 x field + 1 for the second, before the source's closest-timecode search
// compares them. If either side changed alone, every frame of such footage
// would silently match the wrong entry.
#pragma once

namespace MetadataCopy {
namespace DoubleRate {

/// Whether footage at this rate is matched at double rate: above 30 and at
/// most 60 frames per second, compared on the float as given (30 is not,
/// 60 is, a NaN is not).
bool appliesTo(float framesPerSecond);

/// The number of a frame at double rate: 2 x frameField, plus 1 for the
/// second of the two frames that share the field. Unsigned, so that a field
/// read from text that is not two digits still gives a defined value.
unsigned int frameNumber(unsigned int frameField, bool secondOfPair);

} // namespace DoubleRate
} // namespace MetadataCopy
