#include "RecordingFormatDatabase/RecordingFormatsCsvString.hpp"

#include "RecordingFormatDatabase/CsvStringBasedRecordingFormatDatabase.hpp"

#include <boost/algorithm/string/finder.hpp>
#include <boost/algorithm/string/iter_find.hpp>
#include <boost/lexical_cast.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace {

using RecordingFormatDatabase::CsvStringBasedRecordingFormatDatabase;
using RecordingFormatDatabase::RecordingFormat;
using RecordingFormatDatabase::recordingFormatsCsvStringArray;

struct Row {
    std::string manufacturer, model, sensor, name, widthInMillimeters, heightInMillimeters;
    unsigned widthInPixels, heightInPixels;
};

std::vector<std::string> fields(const std::string& row) {
    std::vector<std::string> parts;
    boost::algorithm::iter_split(parts, row, boost::algorithm::first_finder(";"));
    return parts;
}

Row rowAt(std::size_t number) {
    const auto parts = fields(recordingFormatsCsvStringArray.at(number - 1));
    return Row{parts[0],
               parts[1],
               parts[2],
               parts[3],
               parts[4],
               parts[5],
               boost::lexical_cast<unsigned>(parts[6]),
               boost::lexical_cast<unsigned>(parts[7])};
}

bool isDecimal(const std::string& text, std::size_t maximumDecimals) {
    const auto point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string decimals = point == std::string::npos ? "" : text.substr(point + 1);
    const auto digits = [](const std::string& part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return !whole.empty() && digits(whole) && (whole == "0" || whole[0] != '0') &&
           digits(decimals) && decimals.size() <= maximumDecimals &&
           (point == std::string::npos || !decimals.empty());
}

// Millimetres in hundredths, read from the table's text, so that comparisons are exact.
long hundredths(const std::string& text) {
    const auto point = text.find('.');
    const std::string decimals = point == std::string::npos ? "" : text.substr(point + 1);
    return std::stol(text.substr(0, point)) * 100 +
           (decimals.empty() ? 0 : std::stol((decimals + "0").substr(0, 2)));
}

std::map<std::string, RecordingFormat> formatsOf(const std::string& manufacturer,
                                                 const std::string& model) {
    std::map<std::string, RecordingFormat> formats;
    CsvStringBasedRecordingFormatDatabase::sharedInstance()->recordingFormats(manufacturer, model,
                                                                              formats);
    return formats;
}

// A model's formats as the table's numbers, for comparing the sets of two models.
using FormatSet = std::map<std::string, std::tuple<float, float, unsigned, unsigned>>;

FormatSet redSet(const std::string& model) {
    FormatSet set;
    for (const auto& [name, format] : formatsOf("RED", model)) {
        set[name] = {format.widthInMillimeters, format.heightInMillimeters, format.widthInPixels,
                     format.heightInPixels};
    }
    return set;
}

TEST(RecordingFormatsCsvStringTest, EveryRowHasEightWellFormedFields) {
    for (std::size_t index = 0; index < recordingFormatsCsvStringArray.size(); ++index) {
        const std::string& row = recordingFormatsCsvStringArray[index];
        SCOPED_TRACE("row " + std::to_string(index + 1) + ": " + row);
        const auto parts = fields(row);
        ASSERT_EQ(parts.size(), 8u);
        for (int text = 0; text < 4; ++text) {
            EXPECT_FALSE(parts[text].empty());
        }
        EXPECT_TRUE(isDecimal(parts[4], 2));
        EXPECT_TRUE(isDecimal(parts[5], 2));
        EXPECT_TRUE(isDecimal(parts[6], 0));
        EXPECT_TRUE(isDecimal(parts[7], 0));
        EXPECT_GT(boost::lexical_cast<float>(parts[4]), 0.0f);
        EXPECT_GT(boost::lexical_cast<float>(parts[5]), 0.0f);
        EXPECT_GT(boost::lexical_cast<unsigned>(parts[6]), 0u);
        EXPECT_GT(boost::lexical_cast<unsigned>(parts[7]), 0u);
    }
}

TEST(RecordingFormatsCsvStringTest, FixedRowsStandVerbatimAtTheirNumbers) {
    const std::map<std::size_t, std::string> fixed = {
        {1, "ARRI;AMIRA;ALEV III;16:9 S16 HD;13.2;7.43;1920;1080"},
        {41, "ARRI;ALEXA 65;A3X;RAW Open Gate 6.5K;54.12;25.58;6560;3100"},
        {84, "Blackmagic Design;URSA Mini 4.6K;4.6K Super35 CMOS;4.6K 16:9;25.34;14.25;4608;2592"},
        {101, "Blackmagic Design;URSA Mini Pro 12K;12K Super35 CMOS;RAW 12K 17:9;27.03;14.25;"
              "12288;6480"},
        {110, "RED;WEAPON 8K VV;VV Dragon;8K FF;40.96;21.6;8192;4320"},
        {332, "RED;WEAPON 8K S35 HELIUM;HELIUM 8K S35;2K 8:1;7.48;0.93;2048;256"},
        {691, "RED;SCARLET-X MYSTERIUM-X 5K;MYSTERIUM-X 5K;5K FF;27.65;14.58;5120;2700"},
        {700, "RED;SCARLET-X MYSTERIUM-X 5K;MYSTERIUM-X 5K;3K WS;16.59;7;3072;1296"},
        {739, "RED;SCARLET-X MYSTERIUM-X 5K;MYSTERIUM-X 5K S35;5K FF;27.65;14.58;5120;2700"},
        {2722, "RED;KOMODO 6K S35;KOMODO 6K S35;6K 17:9;27.03;14.26;6144;3240"},
        {2799, "RED;V-RAPTOR 8K S35;V-RAPTOR 8K S35;2K 1:1;3.46;3.46;1080;1080"},
        {2836, "Panavision;Millennium DXL2;MONSTRO 8K VV;8K Full Format;40.96;21.6;8192;4320"},
        {2855, "Panavision;Millennium DXL2;MONSTRO 8K VV;6K 16:9 (HD) ;28.80;16.2;5760;3240"},
        {2868, "Sony;MPC-3610;Full-Frame CMOS;4K 2.39:1;24.30;10.3;4096;1716"},
        {2971, "Panavision;DXL;MONSTRO 8K VV;4K 6:5;12.96;10.8;2592;2160"},
    };
    for (const auto& [number, text] : fixed) {
        EXPECT_EQ(recordingFormatsCsvStringArray.at(number - 1), text) << "row " << number;
    }
}

TEST(RecordingFormatsCsvStringTest, ModelsStandInTheirBlocksWithTheirSensorsAndFormatCounts) {
    struct Block {
        const char* manufacturer;
        const char* model;
        const char* sensor;
        std::size_t first, last, formats;
    };
    const Block blocks[] = {
        {"ARRI", "AMIRA", "ALEV III", 1, 6, 6},
        {"ARRI", "ALEXA Classic", "ALEV III", 7, 9, 3},
        {"ARRI", "ALEXA XT", "ALEV III", 10, 17, 8},
        {"ARRI", "ALEXA SXT", "ALEV III", 18, 29, 12},
        {"ARRI", "ALEXA Mini", "ALEV III", 30, 38, 9},
        {"ARRI", "ALEXA 65", "A3X", 39, 43, 5},
        {"ARRI", "ALEXA LF", "A2X", 44, 51, 8},
        {"ARRI", "ALEXA Mini LF", "A2X", 52, 67, 16},
        {"ARRI", "ALEXA 35", "ALEV IV", 68, 83, 16},
        {"Blackmagic Design", "URSA Mini 4.6K", "4.6K Super35 CMOS", 84, 91, 8},
        {"Blackmagic Design", "URSA Mini Pro 4.6K (G2)", "4.6K Super35 CMOS", 92, 100, 9},
        {"Blackmagic Design", "URSA Mini Pro 12K", "12K Super35 CMOS", 101, 109, 9},
        {"RED", "WEAPON 8K VV", "VV Dragon", 110, 218, 109},
        {"RED", "WEAPON 8K S35 HELIUM", "HELIUM 8K S35", 219, 332, 114},
        {"RED", "EPIC-W HELIUM", "HELIUM 8K S35", 333, 446, 114},
        {"RED", "WEAPON 6K DRAGON MC", "DRAGON 6K S35", 447, 522, 76},
        {"RED", "WEAPON 6K DRAGON CF", "DRAGON 6K S35", 523, 598, 76},
        {"RED", "EPIC 6K DRAGON", "DRAGON 6K S35", 599, 674, 76},
        {"RED", "EPIC-M MYSTERIUM-X 5K", "MYSTERIUM-X 5K", 675, 690, 16},
        {"RED", "SCARLET-X MYSTERIUM-X 5K", "MYSTERIUM-X 5K", 691, 706, 16},
        {"RED", "EPIC-X MONOCHROME", "MYSTERIUM-X 5K S35 MONOCHROME", 707, 722, 16},
        {"RED", "EPIC-X MYSTERIUM-X 5K", "MYSTERIUM-X 5K S35", 723, 738, 16},
        {"RED", "SCARLET-X MYSTERIUM-X 5K", "MYSTERIUM-X 5K S35", 739, 754, 16},
        {"RED", "EPIC-M DRAGON MONOCHROME", "DRAGON 6K S35 MONOCHROME", 755, 830, 76},
        {"RED", "EPIC-M DRAGON", "DRAGON 6K S35", 831, 906, 76},
        {"RED", "EPIC-X DRAGON MONOCHROME", "DRAGON 6K S35 MONOCHROME", 907, 982, 76},
        {"RED", "EPIC-X DRAGON", "DRAGON 6K S35", 983, 1058, 76},
        {"RED", "SCARLET-X DRAGON", "DRAGON 6K S35", 1059, 1087, 29},
        {"RED", "DSMC2 DRAGON 6K S35 (CF)", "DRAGON 6K S35", 1088, 1163, 76},
        {"RED", "DSMC2 DRAGON 6K S35 MONOCHROME (CF)", "DRAGON 6K S35 MONOCHROME", 1164, 1239, 76},
        {"RED", "DSMC2 DRAGON 8K VV", "DRAGON 8K VV", 1240, 1347, 108},
        {"RED", "DSMC2 HELIUM 8K S35", "HELIUM 8K S35", 1348, 1456, 109},
        {"RED", "DSMC2 HELIUM 8K S35 MONOCHROME", "HELIUM 8K S35", 1457, 1570, 114},
        {"RED", "DSMC2 GEMINI 5K S35", "GEMINI 5K S35", 1571, 1632, 62},
        {"RED", "DSMC2 MONSTRO 8K VV", "MONSTRO 8K VV", 1633, 1741, 109},
        {"RED", "DSMC2 MONSTRO 8K VV MONOCHROME", "MONSTRO 8K VV MONOCHROME", 1742, 1850, 109},
        {"RED", "DSMC2 DRAGON 6K S35 MONOCHROME (Mg)", "DRAGON 6K S35 MONOCHROME", 1851, 1926, 76},
        {"RED", "DSMC2 DRAGON 6K S35 (Mg)", "DRAGON 6K S35", 1927, 2002, 76},
        {"RED", "RED RAVEN 4.5K", "DRAGON 4.5K S35", 2003, 2027, 25},
        {"RED", "SCARLET-W 5K MONOCHROME", "DRAGON 5K S35 MONOCHROME", 2028, 2089, 62},
        {"RED", "SCARLET-W 5K", "DRAGON 5K S35", 2090, 2151, 62},
        {"RED", "RED EPIC-W 8K S35", "HELIUM 8K S35", 2152, 2260, 109},
        {"RED", "RED EPIC-W 8K S35 MONOCHROME", "HELIUM 8K S35 MONOCHROME", 2261, 2369, 109},
        {"RED", "RED EPIC-W 5K S35", "GEMINI 5K S35", 2370, 2431, 62},
        {"RED", "RANGER MONSTRO 8K VV", "MONSTRO 8K VV", 2432, 2545, 114},
        {"RED", "RANGER HELIUM 8K S35", "HELIUM 8K S35", 2546, 2659, 114},
        {"RED", "RANGER GEMINI 5K S35", "GEMINI 5K S35", 2660, 2721, 62},
        {"RED", "KOMODO 6K S35", "KOMODO 6K S35", 2722, 2729, 8},
        {"RED", "V-RAPTOR 8K VV", "V-RAPTOR 8K VV", 2730, 2764, 35},
        {"RED", "V-RAPTOR 8K S35", "V-RAPTOR 8K S35", 2765, 2799, 35},
        {"RED", "V-RAPTOR 8K VV XL", "V-RAPTOR 8K VV", 2800, 2835, 36},
        {"Panavision", "Millennium DXL2", "MONSTRO 8K VV", 2836, 2867, 32},
        {"Sony", "MPC-3610", "Full-Frame CMOS", 2868, 2880, 13},
        {"Sony", "MPC-3626", "Full-Frame CMOS 6K", 2881, 2893, 13},
        {"Sony", "MPC-3628", "Full-Frame CMOS 8K", 2894, 2899, 6},
        {"Sony", "PMW-F55", "S35 4K CMOS", 2900, 2908, 9},
        {"Sony", "PMW-F5", "S35 4K CMOS", 2909, 2915, 7},
        {"Sony", "F65", "S35 8K CMOS", 2916, 2918, 3},
        {"Sony", "PXW-FX9V", "Full-Frame CMOS 6K", 2919, 2934, 16},
        {"Panavision", "DXL", "MONSTRO 8K VV", 2935, 2971, 37},
    };
    std::size_t next = 1;
    for (const Block& block : blocks) {
        SCOPED_TRACE(block.model);
        ASSERT_EQ(block.first, next);
        for (std::size_t number = block.first; number <= block.last; ++number) {
            const Row row = rowAt(number);
            ASSERT_EQ(row.manufacturer, block.manufacturer) << "row " << number;
            ASSERT_EQ(row.model, block.model) << "row " << number;
            ASSERT_EQ(row.sensor, block.sensor) << "row " << number;
        }
        EXPECT_EQ(formatsOf(block.manufacturer, block.model).size(), block.formats);
        next = block.last + 1;
    }
    EXPECT_EQ(next, recordingFormatsCsvStringArray.size() + 1);
}

TEST(RecordingFormatsCsvStringTest, RepeatedMysteriumRowsDifferOnlyInTheSensor) {
    for (std::size_t number = 691; number <= 706; ++number) {
        Row first = rowAt(number);
        Row second = rowAt(number + 48);
        EXPECT_EQ(first.sensor, "MYSTERIUM-X 5K");
        EXPECT_EQ(second.sensor, "MYSTERIUM-X 5K S35");
        first.sensor = second.sensor;
        EXPECT_EQ(std::tie(first.model, first.name, first.widthInMillimeters,
                           first.heightInMillimeters, first.widthInPixels, first.heightInPixels),
                  std::tie(second.model, second.name, second.widthInMillimeters,
                           second.heightInMillimeters, second.widthInPixels, second.heightInPixels))
            << "row " << number;
    }
}

TEST(RecordingFormatsCsvStringTest, ValuesLieInTheirRanges) {
    struct Range {
        long widthMin, widthMax, heightMin, heightMax; // hundredths of a millimetre
        unsigned pixelWidthMin, pixelWidthMax, pixelHeightMin, pixelHeightMax;
    };
    // The widest RED format is 40.96 mm: 8192 photosites of 5 µm.
    const std::map<std::string, Range> expected = {
        {"all", {346, 5412, 93, 2558, 1080, 12288, 256, 6480}},
        {"RED", {346, 4096, 93, 2160, 1080, 8192, 256, 4320}},
    };
    for (const auto& [group, range] : expected) {
        Range found{1000000, 0, 1000000, 0, 1000000, 0, 1000000, 0};
        for (std::size_t number = 1; number <= recordingFormatsCsvStringArray.size(); ++number) {
            const Row row = rowAt(number);
            if (group != "all" && row.manufacturer != group) {
                continue;
            }
            found.widthMin = std::min(found.widthMin, hundredths(row.widthInMillimeters));
            found.widthMax = std::max(found.widthMax, hundredths(row.widthInMillimeters));
            found.heightMin = std::min(found.heightMin, hundredths(row.heightInMillimeters));
            found.heightMax = std::max(found.heightMax, hundredths(row.heightInMillimeters));
            found.pixelWidthMin = std::min(found.pixelWidthMin, row.widthInPixels);
            found.pixelWidthMax = std::max(found.pixelWidthMax, row.widthInPixels);
            found.pixelHeightMin = std::min(found.pixelHeightMin, row.heightInPixels);
            found.pixelHeightMax = std::max(found.pixelHeightMax, row.heightInPixels);
        }
        SCOPED_TRACE(group);
        EXPECT_EQ(std::tie(found.widthMin, found.widthMax, found.heightMin, found.heightMax),
                  std::tie(range.widthMin, range.widthMax, range.heightMin, range.heightMax));
        EXPECT_EQ(std::tie(found.pixelWidthMin, found.pixelWidthMax, found.pixelHeightMin,
                           found.pixelHeightMax),
                  std::tie(range.pixelWidthMin, range.pixelWidthMax, range.pixelHeightMin,
                           range.pixelHeightMax));
    }
}

// The R3D source finds a clip's format by its pixel size alone, so RED sizes
// must be real crops of their sensors and unambiguous within a model.
TEST(RecordingFormatsCsvStringTest, RedFormatsAreSensorCropsNamedByClassAndLabel) {
    // Photosite pitch in hundredths of a micrometre.
    const std::map<std::string, long> pitch = {
        {"VV Dragon", 500},
        {"DRAGON 8K VV", 500},
        {"MONSTRO 8K VV", 500},
        {"MONSTRO 8K VV MONOCHROME", 500},
        {"V-RAPTOR 8K VV", 500},
        {"HELIUM 8K S35", 365},
        {"HELIUM 8K S35 MONOCHROME", 365},
        {"DRAGON 6K S35", 500},
        {"DRAGON 6K S35 MONOCHROME", 500},
        {"DRAGON 5K S35", 500},
        {"DRAGON 5K S35 MONOCHROME", 500},
        {"DRAGON 4.5K S35", 500},
        {"GEMINI 5K S35", 600},
        {"MYSTERIUM-X 5K", 540},
        {"MYSTERIUM-X 5K S35", 540},
        {"MYSTERIUM-X 5K S35 MONOCHROME", 540},
        {"KOMODO 6K S35", 440},
        {"V-RAPTOR 8K S35", 320},
    };
    const std::set<std::string> sizeClasses = {"1K", "2K",   "2.5K", "3K",   "3.5K", "4K",   "4.5K",
                                               "5K", "5.5K", "6K",   "6.5K", "7K",   "7.5K", "8K"};
    // clang-format off
    const std::set<std::string> aspectLabels = {
        "FF", "WS", "HD", "2:1", "4:1", "8:1", "2.4:1 (WS)", "16:9 (HD)", "3:2", "4:3", "5:4",
        "6:5", "1:1", "8:9", "14:9", "16:9", "17:9", "1.22:1", "2.1:1", "2.1", "2.4:1",
        "Full Height 1.7:1", "Full Height 6:5"};
    // clang-format on
    std::set<std::string> names, classes, labels;
    std::map<std::string, std::set<std::pair<unsigned, unsigned>>> sizesByModel;
    std::map<std::string, std::set<std::string>> namesByModel;
    for (std::size_t number = 1; number <= recordingFormatsCsvStringArray.size(); ++number) {
        const Row row = rowAt(number);
        if (row.manufacturer != "RED") {
            continue;
        }
        SCOPED_TRACE("row " + std::to_string(number));
        ASSERT_EQ(pitch.count(row.sensor), 1u) << row.sensor;
        const long micrometres = pitch.at(row.sensor);
        // Millimetres are photosites times pitch, rounded half up to hundredths.
        EXPECT_EQ(hundredths(row.widthInMillimeters),
                  (row.widthInPixels * micrometres + 500) / 1000);
        EXPECT_EQ(hundredths(row.heightInMillimeters),
                  (row.heightInPixels * micrometres + 500) / 1000);

        const auto blank = row.name.find(' ');
        ASSERT_NE(blank, std::string::npos) << row.name;
        EXPECT_EQ(sizeClasses.count(row.name.substr(0, blank)), 1u) << row.name;
        EXPECT_EQ(aspectLabels.count(row.name.substr(blank + 1)), 1u) << row.name;
        names.insert(row.name);
        classes.insert(row.name.substr(0, blank));
        labels.insert(row.name.substr(blank + 1));
        // The repeated MYSTERIUM-X block is the one place a name comes twice.
        if (namesByModel[row.model].insert(row.name).second) {
            EXPECT_TRUE(
                sizesByModel[row.model].emplace(row.widthInPixels, row.heightInPixels).second)
                << row.model << " " << row.name << ": pixel size taken";
        }
    }
    EXPECT_EQ(names.size(), 163u);
    EXPECT_EQ(classes.size(), 14u);
    EXPECT_EQ(labels.size(), 23u);
    EXPECT_EQ(sizesByModel.size(), 38u);
}

TEST(RecordingFormatsCsvStringTest, RedModelsShareSeventeenSetsOfFormats) {
    const std::vector<std::vector<std::string>> groups = {
        {"WEAPON 6K DRAGON MC", "WEAPON 6K DRAGON CF", "EPIC 6K DRAGON", "EPIC-M DRAGON MONOCHROME",
         "EPIC-M DRAGON", "EPIC-X DRAGON MONOCHROME", "EPIC-X DRAGON", "DSMC2 DRAGON 6K S35 (CF)",
         "DSMC2 DRAGON 6K S35 MONOCHROME (CF)", "DSMC2 DRAGON 6K S35 MONOCHROME (Mg)",
         "DSMC2 DRAGON 6K S35 (Mg)"},
        {"SCARLET-X DRAGON"},
        {"EPIC-M MYSTERIUM-X 5K", "SCARLET-X MYSTERIUM-X 5K", "EPIC-X MONOCHROME",
         "EPIC-X MYSTERIUM-X 5K"},
        {"WEAPON 8K S35 HELIUM", "EPIC-W HELIUM"},
        {"DSMC2 HELIUM 8K S35", "RED EPIC-W 8K S35", "RED EPIC-W 8K S35 MONOCHROME"},
        {"DSMC2 HELIUM 8K S35 MONOCHROME", "RANGER HELIUM 8K S35"},
        {"DSMC2 MONSTRO 8K VV", "DSMC2 MONSTRO 8K VV MONOCHROME"},
        {"RANGER MONSTRO 8K VV"},
        {"DSMC2 GEMINI 5K S35", "RED EPIC-W 5K S35", "RANGER GEMINI 5K S35"},
        {"SCARLET-W 5K MONOCHROME", "SCARLET-W 5K"},
        {"DSMC2 DRAGON 8K VV"},
        {"WEAPON 8K VV"},
        {"V-RAPTOR 8K VV"},
        {"V-RAPTOR 8K VV XL"},
        {"RED RAVEN 4.5K"},
        {"KOMODO 6K S35"},
        {"V-RAPTOR 8K S35"},
    };
    std::set<FormatSet> distinct;
    std::size_t models = 0;
    for (const auto& group : groups) {
        const FormatSet first = redSet(group.front());
        for (const auto& model : group) {
            EXPECT_EQ(redSet(model), first) << model << " differs from " << group.front();
        }
        distinct.insert(first);
        models += group.size();
    }
    EXPECT_EQ(models, 38u);
    EXPECT_EQ(distinct.size(), 17u);

    const auto plus = [](FormatSet base, const FormatSet& from, std::vector<std::string> added) {
        for (const auto& name : added) {
            EXPECT_EQ(from.count(name), 1u) << name;
            if (from.count(name) == 1) {
                base[name] = from.at(name);
            }
        }
        return base;
    };
    const std::vector<std::string> fiveNewer = {"4K 8:9", "5K 4:3", "5K 8:9", "6K 8:9", "7K 8:9"};
    const FormatSet helium = redSet("DSMC2 HELIUM 8K S35 MONOCHROME");
    EXPECT_EQ(plus(redSet("DSMC2 HELIUM 8K S35"), helium, fiveNewer), helium);
    const FormatSet ranger = redSet("RANGER MONSTRO 8K VV");
    EXPECT_EQ(plus(redSet("DSMC2 MONSTRO 8K VV"), ranger, fiveNewer), ranger);
    const FormatSet weapon = redSet("WEAPON 8K VV");
    EXPECT_EQ(plus(redSet("DSMC2 DRAGON 8K VV"), weapon, {"8K 8:9"}), weapon);
    const FormatSet xl = redSet("V-RAPTOR 8K VV XL");
    EXPECT_EQ(plus(redSet("V-RAPTOR 8K VV"), xl, {"4K 8:1"}), xl);

    const FormatSet dragon = redSet("EPIC-X DRAGON");
    for (const auto& [name, sizes] : redSet("SCARLET-X DRAGON")) {
        EXPECT_TRUE(dragon.count(name) == 1 && dragon.at(name) == sizes) << name;
    }
}

TEST(RecordingFormatsCsvStringTest, OneGeminiModelWritesItsWidthsWithTrailingZeros) {
    const auto widthText = [](const std::string& model, const std::string& name) {
        for (std::size_t number = 1; number <= recordingFormatsCsvStringArray.size(); ++number) {
            const Row row = rowAt(number);
            if (row.model == model && row.name == name) {
                return row.widthInMillimeters;
            }
        }
        return std::string("missing");
    };
    EXPECT_EQ(widthText("RED EPIC-W 5K S35", "2.5K HD"), "14.40");
    EXPECT_EQ(widthText("DSMC2 GEMINI 5K S35", "2.5K HD"), "14.4");
    EXPECT_EQ(widthText("RANGER GEMINI 5K S35", "2.5K HD"), "14.4");
}

} // namespace
