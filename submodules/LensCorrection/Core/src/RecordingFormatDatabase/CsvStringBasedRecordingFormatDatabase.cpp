#include "RecordingFormatDatabase/CsvStringBasedRecordingFormatDatabase.hpp"

#include "Assertion/Assertion.hpp"
#include "RecordingFormatDatabase/CameraManufacturerModelMismatchException.hpp"
#include "RecordingFormatDatabase/CameraManufacturerNotFoundException.hpp"
#include "RecordingFormatDatabase/RecordingFormatsCsvString.hpp"

#include <boost/algorithm/string/finder.hpp>
#include <boost/algorithm/string/iter_find.hpp>
#include <boost/lexical_cast.hpp>
#include <boost/range/adaptor/map.hpp>
#include <boost/range/algorithm/copy.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <mutex>

namespace RecordingFormatDatabase {

namespace {

std::once_flag createSharedInstanceOnceFlag;
CsvStringBasedRecordingFormatDatabase* singletonInstance = nullptr;

// A broken compiled-in row is a programming error, not bad input: the failed
// check names the row, so that the table can be mended.
std::string rowFailure(const char* assertion, const std::string& row) {
    return std::string("Assertion failed: ") + assertion + " (recording-format row \"" + row +
           "\")";
}

float imageRadiusOf(float widthInMillimeters, float heightInMillimeters) {
    const float halfWidth = static_cast<float>(widthInMillimeters / 2.0);
    const float halfHeight = static_cast<float>(heightInMillimeters / 2.0);
    return static_cast<float>(std::sqrt(std::pow(static_cast<double>(halfWidth), 2) +
                                        std::pow(static_cast<double>(halfHeight), 2)));
}

char lowerAscii(char character) {
    // tolower of a negative char is undefined; the process never sets a
    // locale, so only A to Z change.
    return static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
}

} // namespace

bool CsvStringBasedRecordingFormatDatabase::iless::operator()(const std::string& lhs,
                                                              const std::string& rhs) const {
    // The same order as comparing lowered copies with std::string's <, without
    // copying: this runs for every map step of every lookup.
    return std::lexicographical_compare(lhs.begin(), lhs.end(), rhs.begin(), rhs.end(),
                                        [](char left, char right) {
                                            return static_cast<unsigned char>(lowerAscii(left)) <
                                                   static_cast<unsigned char>(lowerAscii(right));
                                        });
}

CsvStringBasedRecordingFormatDatabase* CsvStringBasedRecordingFormatDatabase::sharedInstance() {
    std::call_once(createSharedInstanceOnceFlag,
                   [] { singletonInstance = new CsvStringBasedRecordingFormatDatabase(); });
    return singletonInstance;
}

CsvStringBasedRecordingFormatDatabase::CsvStringBasedRecordingFormatDatabase() {
    std::vector<std::string> parts;
    for (const std::string& row : recordingFormatsCsvStringArray) {
        parts.clear();
        boost::algorithm::iter_split(parts, row, boost::algorithm::first_finder(";"));
        OKALU_ASSERT_MESSAGE(parts.size() == 8, rowFailure("parts.size() == 8", row));

        bool stored = false;
        try {
            RecordingFormat format;
            format.widthInMillimeters = boost::lexical_cast<float>(parts[4]);
            format.heightInMillimeters = boost::lexical_cast<float>(parts[5]);
            format.widthInPixels = boost::lexical_cast<unsigned int>(parts[6]);
            format.heightInPixels = boost::lexical_cast<unsigned int>(parts[7]);
            format.imageRadius =
                imageRadiusOf(format.widthInMillimeters, format.heightInMillimeters);
            // The sensor name (parts[2]) describes the row for readers only.
            recordingFormatsByCamera[parts[0]][parts[1]][parts[3]] = format;
            stored = true;
        } catch (...) {
        }
        OKALU_ASSERT_MESSAGE(stored,
                             rowFailure("the numeric fields convert and the row is stored", row));
    }
}

CsvStringBasedRecordingFormatDatabase::~CsvStringBasedRecordingFormatDatabase() = default;

void CsvStringBasedRecordingFormatDatabase::cameraManufacturers(
    std::vector<std::string>& manufacturers) {
    std::vector<std::string> keys;
    boost::range::copy(recordingFormatsByCamera | boost::adaptors::map_keys,
                       std::back_inserter(keys));
    manufacturers = std::move(keys);
}

void CsvStringBasedRecordingFormatDatabase::cameraModels(const std::string& manufacturer,
                                                         std::vector<std::string>& models) {
    // Lookups go through find so that a query never inserts a key.
    const auto manufacturerEntry = recordingFormatsByCamera.find(manufacturer);
    if (manufacturerEntry == recordingFormatsByCamera.end()) {
        throw CameraManufacturerNotFoundException(manufacturer);
    }
    std::vector<std::string> keys;
    boost::range::copy(manufacturerEntry->second | boost::adaptors::map_keys,
                       std::back_inserter(keys));
    models = std::move(keys);
}

void CsvStringBasedRecordingFormatDatabase::recordingFormats(
    const std::string& manufacturer, const std::string& model,
    std::map<std::string, RecordingFormat>& formats) {
    const auto manufacturerEntry = recordingFormatsByCamera.find(manufacturer);
    if (manufacturerEntry == recordingFormatsByCamera.end()) {
        throw CameraManufacturerNotFoundException(manufacturer);
    }
    const auto modelEntry = manufacturerEntry->second.find(model);
    if (modelEntry == manufacturerEntry->second.end()) {
        throw CameraManufacturerModelMismatchException(manufacturer, model);
    }
    formats = modelEntry->second;
}

} // namespace RecordingFormatDatabase
