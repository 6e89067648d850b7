// The recording-format database built from the compiled-in table. It is built
// once per process, on the first call of sharedInstance(), and never changes
// afterwards, so it can be read without locks.
#pragma once

#include "RecordingFormatDatabase/RecordingFormatDatabase.hpp"

#include <map>
#include <string>
#include <vector>

namespace RecordingFormatDatabase {

class CsvStringBasedRecordingFormatDatabase : public RecordingFormatDatabase {
public:
    /// Orders strings ignoring the case of ASCII letters, so "RED", "Red" and
    /// "red" are one key: cameras do not agree on how to spell their names.
    struct iless {
        bool operator()(const std::string& lhs, const std::string& rhs) const;
    };

    /// The one database of the process, built from the table on the first
    /// call; never deleted. If building fails, the next call tries again.
    static CsvStringBasedRecordingFormatDatabase* sharedInstance();

    /// Builds the database from every row of the table. A row that does not
    /// hold eight fields with numbers where numbers belong is a programming
    /// error and aborts the process.
    CsvStringBasedRecordingFormatDatabase();
    ~CsvStringBasedRecordingFormatDatabase() override;

    void cameraManufacturers(std::vector<std::string>& manufacturers) override;
    void cameraModels(const std::string& manufacturer, std::vector<std::string>& models) override;
    void recordingFormats(const std::string& manufacturer, const std::string& model,
                          std::map<std::string, RecordingFormat>& formats) override;

private:
    // Format names compare exactly: they are the table's own spelling.
    using FormatsByName = std::map<std::string, RecordingFormat>;
    using FormatsByModel = std::map<std::string, FormatsByName, iless>;

    std::map<std::string, FormatsByModel, iless> recordingFormatsByCamera;
};

} // namespace RecordingFormatDatabase
