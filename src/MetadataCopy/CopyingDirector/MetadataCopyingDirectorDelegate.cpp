#include "MetadataCopy/CopyingDirector/MetadataCopyingDirectorDelegate.hpp"

namespace MetadataCopy {

// Defined here so that the class's dispatch table has one home.
MetadataCopyingDirectorDelegate::~MetadataCopyingDirectorDelegate() = default;

} // namespace MetadataCopy
