// How often the stand-in decoder library's initialise and finalise entries
// were called since it was loaded, read by tests through the extra export
// "okalu_standin_call_counts". A test that keeps its own handle of the library
// open keeps the counts alive across the client's loading and unloading.
#pragma once

struct StandinCallCounts {
    unsigned int initialize[3]; // calls per phase 0, 1, 2
    unsigned int finalize;
    unsigned int lastHandleCount[3]; // the handle count of the last call per phase
};

using StandinCallCountsEntry = const StandinCallCounts* (*)();
