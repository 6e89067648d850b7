// Keys of the clip and frame metadata items that okalu-tafe reads.
#pragma once

namespace R3DSDK {

// Clip items.
inline constexpr const char* RMD_IMAGE_WIDTH = "image_width";
inline constexpr const char* RMD_IMAGE_HEIGHT = "image_height";
inline constexpr const char* RMD_CAMERA_MODEL = "camera_model";
inline constexpr const char* RMD_FRAMERATE = "framerate";

// Frame items.
inline constexpr const char* RMD_LENS_OKALU_TELVAR_DYNAMIC = "lens_okalu_telvar_dynamic";
inline constexpr const char* RMD_FRAME_ABSOLUTE_TIMECODE = "frame_absolute_timecode";

} // namespace R3DSDK
