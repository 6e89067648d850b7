// The stand-in's entries of the global, decoder, board, stream and trim
// tables. The client calls none of them on its road: they only have to exist.
#include "StandinConfig.hpp"

#include "AsyncDecoderApi.hpp"
#include "GlobalApi.hpp"
#include "GpuDecoderApi.hpp"
#include "IStringTransfer.hpp"
#include "R3DTrimApi.hpp"
#include "RedRocketApi.hpp"
#include "StreamApi.hpp"

#include <cstddef>

using std::size_t;
using namespace R3DSDK;

OKALU_FAILING_ENTRY(void*, R3D_HAA, (const char*, const char*), nullptr)
OKALU_FAILING_ENTRY(int, R3D_HAC, (void**), StubFailure)
OKALU_FAILING_ENTRY(const char*, R3D_HAB, (void*), nullptr)
OKALU_FAILING_ENTRY(std::size_t, R3D_HAD, (void*), 0)
OKALU_FAILING_ENTRY(int, R3D_HAE,
                    (const char*, int, ImageColorSpace, ImageGammaCurve, ToneMap, RollOff,
                     unsigned int),
                    StubFailure)
OKALU_FAILING_ENTRY(bool, R3D_HAF,
                    (float*, int, float*, int, int, ImageColorSpace, ImageGammaCurve, ToneMap,
                     RollOff, unsigned int),
                    false)
OKALU_FAILING_ENTRY(bool, R3D_HAG, (const char*, IStringTransfer*), false)
OKALU_STUB_ENTRY(R3D_HAH)
OKALU_STUB_ENTRY(R3D_HAI)

OKALU_GLOBAL_API_ENTRIES(OKALU_CHECK_FORM)

// The untyped tables' entries, one stub for each entry of their lists.
OKALU_ASYNC_DECODER_API_ENTRIES(OKALU_LISTED_STUB)
OKALU_GPU_DECODER_API_ENTRIES(OKALU_LISTED_STUB)
OKALU_RED_ROCKET_API_ENTRIES(OKALU_LISTED_STUB)
OKALU_STREAM_API_ENTRIES(OKALU_LISTED_STUB)
OKALU_R3D_TRIM_API_ENTRIES(OKALU_LISTED_STUB)
