#include "RecordingFormatDatabase/CsvStringBasedRecordingFormatDatabase.hpp"

#include "RecordingFormatDatabase/CameraManufacturerModelMismatchException.hpp"
#include "RecordingFormatDatabase/CameraManufacturerNotFoundException.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace {

using RecordingFormatDatabase::CameraManufacturerModelMismatchException;
using RecordingFormatDatabase::CameraManufacturerNotFoundException;
using RecordingFormatDatabase::CsvStringBasedRecordingFormatDatabase;
using RecordingFormatDatabase::RecordingFormat;
using Formats = std::map<std::string, RecordingFormat>;

RecordingFormatDatabase::RecordingFormatDatabase& database() {
    return *CsvStringBasedRecordingFormatDatabase::sharedInstance();
}

TEST(CsvStringBasedRecordingFormatDatabaseTest, SharedInstanceIsBuiltOnceEvenWhenRacedFor) {
    CsvStringBasedRecordingFormatDatabase* seen[4] = {};
    std::vector<std::thread> threads;
    for (auto& slot : seen) {
        threads.emplace_back(
            [&slot] { slot = CsvStringBasedRecordingFormatDatabase::sharedInstance(); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    ASSERT_NE(seen[0], nullptr);
    for (auto* instance : seen) {
        EXPECT_EQ(instance, seen[0]);
    }
    EXPECT_EQ(CsvStringBasedRecordingFormatDatabase::sharedInstance(), seen[0]);
}

TEST(CsvStringBasedRecordingFormatDatabaseTest,
     HoldsFiveManufacturersFiftyNineModelsAndEveryFormat) {
    std::vector<std::string> manufacturers{"left over"};
    database().cameraManufacturers(manufacturers);
    EXPECT_EQ(manufacturers,
              (std::vector<std::string>{"ARRI", "Blackmagic Design", "Panavision", "RED", "Sony"}));

    std::size_t models = 0;
    std::size_t formats = 0;
    for (const auto& manufacturer : manufacturers) {
        std::vector<std::string> modelNames;
        database().cameraModels(manufacturer, modelNames);
        models += modelNames.size();
        for (const auto& model : modelNames) {
            Formats found;
            database().recordingFormats(manufacturer, model, found);
            formats += found.size();
        }
    }
    EXPECT_EQ(models, 59u);
    EXPECT_EQ(formats, 2955u);
}

TEST(CsvStringBasedRecordingFormatDatabaseTest,
     ManufacturerAndModelIgnoreCaseButKeepTableSpelling) {
    std::vector<std::string> lower;
    std::vector<std::string> upper;
    std::vector<std::string> mixed;
    database().cameraModels("red", lower);
    database().cameraModels("RED", upper);
    database().cameraModels("rEd", mixed);
    ASSERT_EQ(lower.size(), 38u);
    EXPECT_EQ(lower, upper);
    EXPECT_EQ(lower, mixed);
    EXPECT_EQ(lower.front(), "DSMC2 DRAGON 6K S35 (CF)");
    EXPECT_EQ(lower.back(), "WEAPON 8K VV");
    // iless order: "(Mg)" and "(CF)" sort as "(mg)" and "(cf)".
    EXPECT_TRUE(
        std::is_sorted(lower.begin(), lower.end(), CsvStringBasedRecordingFormatDatabase::iless()));

    // Panavision's two blocks in the table form one manufacturer.
    std::vector<std::string> panavision;
    database().cameraModels("PANAVISION", panavision);
    EXPECT_EQ(panavision, (std::vector<std::string>{"DXL", "Millennium DXL2"}));

    Formats komodo;
    database().recordingFormats("Red", "komodo 6k s35", komodo);
    ASSERT_EQ(komodo.size(), 8u);
    const RecordingFormat& format = komodo.at("6K 17:9");
    EXPECT_FLOAT_EQ(format.widthInMillimeters, 27.03f);
    EXPECT_FLOAT_EQ(format.heightInMillimeters, 14.26f);
    EXPECT_EQ(format.widthInPixels, 6144u);
    EXPECT_EQ(format.heightInPixels, 3240u);
    EXPECT_NEAR(format.imageRadius, 15.28045, 1e-4);
}

TEST(CsvStringBasedRecordingFormatDatabaseTest, FormatNamesCompareExactly) {
    Formats mysterium;
    database().recordingFormats("RED", "SCARLET-X MYSTERIUM-X 5K", mysterium);
    // Two blocks of 16 rows in the table; the repeated keys collapse.
    EXPECT_EQ(mysterium.size(), 16u);
    EXPECT_EQ(mysterium.count("5K FF"), 1u);
    EXPECT_EQ(mysterium.count("5k ff"), 0u);

    Formats dxl2;
    database().recordingFormats("Panavision", "Millennium DXL2", dxl2);
    EXPECT_EQ(dxl2.count("6K 16:9 (HD)"), 0u);
    ASSERT_EQ(dxl2.count("6K 16:9 (HD) "), 1u);
    EXPECT_EQ(dxl2.at("6K 16:9 (HD) ").widthInPixels, 5760u);
    EXPECT_FLOAT_EQ(dxl2.at("6K 16:9 (HD) ").widthInMillimeters, 28.8f);
}

TEST(CsvStringBasedRecordingFormatDatabaseTest, FirstRowGivesItsSizesAndImageRadius) {
    Formats amira;
    database().recordingFormats("ARRI", "AMIRA", amira);
    ASSERT_EQ(amira.count("16:9 S16 HD"), 1u);
    const RecordingFormat& format = amira.at("16:9 S16 HD");
    EXPECT_FLOAT_EQ(format.widthInMillimeters, 13.2f);
    EXPECT_FLOAT_EQ(format.heightInMillimeters, 7.43f);
    EXPECT_EQ(format.widthInPixels, 1920u);
    EXPECT_EQ(format.heightInPixels, 1080u);
    EXPECT_FLOAT_EQ(format.imageRadius, 7.573719f);
}

TEST(CsvStringBasedRecordingFormatDatabaseTest, UnknownManufacturerLeavesOutContainersUntouched) {
    std::vector<std::string> models{"kept"};
    try {
        database().cameraModels("Telvar Optics", models);
        FAIL() << "no exception";
    } catch (const CameraManufacturerNotFoundException& exception) {
        EXPECT_STREQ(exception.what(),
                     "Camera manufacturer could not be found in the recording format database.");
        EXPECT_EQ(exception.detailedDescription(),
                  std::string(exception.what()) + "\nCamera Manufacturer: \"Telvar Optics\"\n");
    }
    EXPECT_EQ(models, std::vector<std::string>{"kept"});

    Formats formats{{"kept", RecordingFormat{1, 2, 3, 4, 5}}};
    EXPECT_THROW(database().recordingFormats("", "KOMODO 6K S35", formats),
                 CameraManufacturerNotFoundException);
    ASSERT_EQ(formats.size(), 1u);
    EXPECT_EQ(formats.begin()->first, "kept");
}

TEST(CsvStringBasedRecordingFormatDatabaseTest, UnknownModelNamesBothAsGivenAndLeavesMapUntouched) {
    Formats formats{{"kept", RecordingFormat{1, 2, 3, 4, 5}}};
    try {
        database().recordingFormats("red", "KOMODO 6K", formats);
        FAIL() << "no exception";
    } catch (const CameraManufacturerModelMismatchException& exception) {
        EXPECT_STREQ(exception.what(), "Camera manufacturer and model could not be found in the "
                                       "recording format database.");
        EXPECT_EQ(exception.detailedDescription(),
                  std::string(exception.what()) +
                      "\nCamera Manufacturer: \"red\"\nCamera Model: \"KOMODO 6K\"\n");
    }
    EXPECT_EQ(formats.size(), 1u);

    // A model of another manufacturer is no model of this one.
    EXPECT_THROW(database().recordingFormats("RED", "AMIRA", formats),
                 CameraManufacturerModelMismatchException);
}

TEST(CsvStringBasedRecordingFormatDatabaseTest, QueriesReplaceWhatTheOutContainersHeld) {
    std::vector<std::string> models{"A", "B", "C"};
    database().cameraModels("Sony", models);
    EXPECT_EQ(models.size(), 7u);
    EXPECT_EQ(std::count(models.begin(), models.end(), "A"), 0);

    Formats formats{{"zzz", RecordingFormat{1, 2, 3, 4, 5}}};
    database().recordingFormats("Sony", "F65", formats);
    EXPECT_EQ(formats.size(), 3u);
    EXPECT_EQ(formats.count("zzz"), 0u);
}

TEST(CsvStringBasedRecordingFormatDatabaseTest, FailedQueriesInsertNoKeys) {
    Formats formats;
    EXPECT_THROW(database().recordingFormats("Nobody", "Nothing", formats),
                 CameraManufacturerNotFoundException);
    EXPECT_THROW(database().recordingFormats("RED", "Nothing", formats),
                 CameraManufacturerModelMismatchException);
    std::vector<std::string> names;
    database().cameraManufacturers(names);
    EXPECT_EQ(names.size(), 5u);
    database().cameraModels("RED", names);
    EXPECT_EQ(names.size(), 38u);
}

TEST(CsvStringBasedRecordingFormatDatabaseTest, IlessOrdersAsLoweredByteStrings) {
    const CsvStringBasedRecordingFormatDatabase::iless less;
    struct Case {
        std::string lhs;
        std::string rhs;
        bool expected;
    };
    const Case cases[] = {
        {"RED", "red", false},
        {"red", "RED", false},
        {"Red", "reD", false},
        {"ARRI", "red", true},
        {"red", "Sony", true},
        {"RE", "red", true},
        {"red", "RE", false},
        {"", "a", true},
        {"", "", false},
        {"[", "a", true}, // '[' lies between 'Z' and 'a': lowered first
        {"Z", "[", false},
        {"a\xC3\xA9", "A\xC3\xA9", false},
        {"z", "\xC3\xA9", true},        // bytes above 0x7F compare as unsigned
        {"\xC3\x89", "\xC3\xA9", true}, // only ASCII letters change case
    };
    for (const Case& test : cases) {
        EXPECT_EQ(less(test.lhs, test.rhs), test.expected) << test.lhs << " < " << test.rhs;
    }
}

} // namespace
