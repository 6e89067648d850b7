#include "RecordingFormatDatabase/RecordingFormatDatabase.hpp"

namespace RecordingFormatDatabase {

// Defined here so that the interface's virtual table lives in one object file.
RecordingFormatDatabase::~RecordingFormatDatabase() {}

} // namespace RecordingFormatDatabase
