// The R3D SDK client layer as its users see it: start the SDK with
// InitializeSdk (0 means success, see Status.hpp), open clips with Clip, read
// frame metadata with Metadata, and end with FinalizeSdk. The decoder library
// "REDR3D.dylib" is loaded at run time; nothing here throws.
#pragma once

#include "Clip.hpp"
#include "ClipFileInfo.hpp"
#include "Enumerations.hpp"
#include "GlobalFunctions.hpp"
#include "HdrProcessingLimits.hpp"
#include "HdrProcessingSettings.hpp"
#include "ImageProcessingLimits.hpp"
#include "ImageProcessingSettings.hpp"
#include "Marker.hpp"
#include "Metadata.hpp"
#include "MetadataKeys.hpp"
#include "SdkLifecycle.hpp"
#include "Status.hpp"
#include "VideoDecodeJob.hpp"
