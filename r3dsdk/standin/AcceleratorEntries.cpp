// The accelerator tables' entries, linked only into the variants that offer
// them (ACCELERATOR_ENTRIES in CMake), so that the default stand-in shows that
// a library without them still starts when no accelerator is asked for.
#include "StandinConfig.hpp"

#include "R3DDecoderAPI.hpp"
#include "REDCLAPI.hpp"
#include "REDCudaAPI.hpp"
#include "REDMetalAPI.hpp"

OKALU_REDCL_API_ENTRIES(OKALU_STUB_ENTRY)
OKALU_RED_CUDA_API_ENTRIES(OKALU_STUB_ENTRY)
OKALU_R3D_DECODER_API_ENTRIES(OKALU_STUB_ENTRY)
OKALU_RED_METAL_API_ENTRIES(OKALU_STUB_ENTRY)
