#!/usr/bin/env python3
"""Writes the compiled-in recording-format table of the lens-correction core.

The table has 2971 rows of digital cinema camera formats. Typing them by hand
would hide the few rules they follow, so this script holds the rules and the
camera data, and writes

    submodules/LensCorrection/Core/src/RecordingFormatDatabase/RecordingFormatsCsvString.cpp

which is committed; the build never runs this script. Run it again after
changing anything here:

    tools/recording-formats/generate.py           # rewrite the source file
    tools/recording-formats/generate.py --check   # fail if the file is stale

How the values come about:
- A format's millimetres are the sensor area it reads (in photosites) times the
  sensor's photosite pitch, rounded half up to two decimals. Where a camera
  maker publishes a sensor's size instead of its pitch, the millimetres are the
  area's share of that published size.
- A RED format's name is a size class and an aspect label ("6K 17:9"). The size
  class fixes the width (N x 1024 photosites; the 1K class reads the 720p HD
  raster, 1280 x 720, because RED cameras record nothing narrower than 1080
  photosites), its frame height is 17:9 of that width, capped by the sensor's
  height, and the label fixes the largest frame of its ratio inside that class
  frame. RED formats are crops: pixels equal photosites.
- Every model's format names and their order come from the format sets below;
  models that share a set carry identical names and sizes.

Before it writes anything the script checks the table against the facts the
rest of the system relies on (row ranges per model, counts, value ranges,
unique pixel sizes per RED model, the rows that must stand verbatim)
and stops with a message if one fails.
"""

import argparse
import pathlib
import sys
from collections import namedtuple
from decimal import ROUND_HALF_UP, Decimal
from fractions import Fraction

REPOSITORY = pathlib.Path(__file__).resolve().parents[2]
OUTPUT = (REPOSITORY / "submodules" / "LensCorrection" / "Core" / "src" /
          "RecordingFormatDatabase" / "RecordingFormatsCsvString.cpp")

ROW_COUNT = 2971

Row = namedtuple("Row", "manufacturer model sensor name width_mm height_mm width_px height_px")


class TableError(Exception):
    pass


def require(condition, message):
    if not condition:
        raise TableError(message)


# --------------------------------------------------------------------------
# Sensors

class Sensor:
    """A sensor with either a photosite pitch (µm) or a published size (mm)."""

    def __init__(self, width_px, height_px, pitch_um=None, published_mm=None):
        require((pitch_um is None) != (published_mm is None), "a sensor needs a pitch or a size")
        self.width_px = width_px
        self.height_px = height_px
        self.pitch_um = Decimal(pitch_um) if pitch_um else None
        self.published_mm = tuple(Decimal(v) for v in published_mm) if published_mm else None

    def millimetres(self, area_width, area_height):
        require(area_width <= self.width_px and area_height <= self.height_px,
                f"area {area_width}x{area_height} exceeds the sensor")
        if self.pitch_um is not None:
            width = Decimal(area_width) * self.pitch_um / 1000
            height = Decimal(area_height) * self.pitch_um / 1000
        else:
            width = Decimal(area_width) * self.published_mm[0] / self.width_px
            height = Decimal(area_height) * self.published_mm[1] / self.height_px
        return round_mm(width), round_mm(height)


def round_mm(value):
    return value.quantize(Decimal("0.01"), rounding=ROUND_HALF_UP)


SENSORS = {
    # RED: photosite pitch as published; the full sensor is the 8K, 6K, ... FF frame.
    "VV Dragon": Sensor(8192, 4320, "5"),
    "DRAGON 8K VV": Sensor(8192, 4320, "5"),
    "MONSTRO 8K VV": Sensor(8192, 4320, "5"),
    "MONSTRO 8K VV MONOCHROME": Sensor(8192, 4320, "5"),
    "V-RAPTOR 8K VV": Sensor(8192, 4320, "5"),
    "HELIUM 8K S35": Sensor(8192, 4320, "3.65"),
    "HELIUM 8K S35 MONOCHROME": Sensor(8192, 4320, "3.65"),
    "DRAGON 6K S35": Sensor(6144, 3160, "5"),
    "DRAGON 6K S35 MONOCHROME": Sensor(6144, 3160, "5"),
    "DRAGON 5K S35": Sensor(5120, 2700, "5"),
    "DRAGON 5K S35 MONOCHROME": Sensor(5120, 2700, "5"),
    "DRAGON 4.5K S35": Sensor(4608, 2160, "5"),
    "GEMINI 5K S35": Sensor(5120, 3000, "6"),
    "MYSTERIUM-X 5K": Sensor(5120, 2700, "5.4"),
    "MYSTERIUM-X 5K S35": Sensor(5120, 2700, "5.4"),
    "MYSTERIUM-X 5K S35 MONOCHROME": Sensor(5120, 2700, "5.4"),
    "KOMODO 6K S35": Sensor(6144, 3240, "4.4"),
    "V-RAPTOR 8K S35": Sensor(8192, 4320, "3.2"),
    # ARRI: 8.25 µm photosites on the ALEV III, A2X and A3X, 6.075 µm on the ALEV IV.
    "ALEV III": Sensor(3424, 2202, "8.25"),
    "A2X": Sensor(4448, 3096, "8.25"),
    "A3X": Sensor(6560, 3100, "8.25"),
    "ALEV IV": Sensor(4608, 3164, "6.075"),
    # Blackmagic Design publishes sensor sizes, not pitches.
    "4.6K Super35 CMOS": Sensor(4608, 2592, published_mm=("25.34", "14.25")),
    "12K Super35 CMOS": Sensor(12288, 6480, published_mm=("27.03", "14.25")),
    # Sony: pitch derived from the published full-frame widths.
    "Full-Frame CMOS": Sensor(6048, 4032, "5.94"),
    "Full-Frame CMOS 6K": Sensor(6048, 4032, "5.94"),
    "Full-Frame CMOS 8K": Sensor(8640, 5760, "4.16"),
    "S35 4K CMOS": Sensor(4096, 2160, "5.86"),
    "S35 8K CMOS": Sensor(8192, 4320, "3.015"),
}


# --------------------------------------------------------------------------
# RED size classes and aspect labels

SIZE_CLASSES = ["8K", "7.5K", "7K", "6.5K", "6K", "5.5K", "5K", "4.5K", "4K", "3.5K", "3K",
                "2.5K", "2K", "1K"]

# Within a size class the formats stand in this order.
LABELS = ["FF", "Full Height 1.7:1", "Full Height 6:5", "17:9", "2:1", "WS", "2.4:1 (WS)",
          "2.4:1", "2.1:1", "2.1", "HD", "16:9 (HD)", "16:9", "14:9", "3:2", "4:3", "5:4", "6:5",
          "1.22:1", "8:9", "1:1", "4:1", "8:1"]

# The ratio (width / height) of each label that fits a frame into the class frame.
# "WS" is RED's 2.37:1 widescreen (27/64 of the width), which "2.4:1 (WS)" names too;
# "2.4:1" is the exact ratio.
LABEL_RATIOS = {
    "17:9": Fraction(256, 135),
    "2:1": Fraction(2),
    "WS": Fraction(64, 27),
    "2.4:1 (WS)": Fraction(64, 27),
    "2.4:1": Fraction(12, 5),
    "2.1:1": Fraction(21, 10),
    "2.1": Fraction(21, 10),
    "HD": Fraction(16, 9),
    "16:9 (HD)": Fraction(16, 9),
    "16:9": Fraction(16, 9),
    "14:9": Fraction(14, 9),
    "3:2": Fraction(3, 2),
    "4:3": Fraction(4, 3),
    "5:4": Fraction(5, 4),
    "6:5": Fraction(6, 5),
    "1.22:1": Fraction(122, 100),
    "8:9": Fraction(8, 9),
    "1:1": Fraction(1),
    "4:1": Fraction(4),
    "8:1": Fraction(8),
}


def even(value):
    """Nearest even number, halves rounded up: sensors read photosites in pairs."""
    return 2 * int((Fraction(value) / 2 + Fraction(1, 2)) // 1)


def class_frame(size_class, sensor):
    if size_class == "1K":
        width, height = 1280, 720
    else:
        width = int(Fraction(size_class[:-1]) * 1024)
        height = width * 135 // 256
    require(width <= sensor.width_px, f"{size_class} is wider than the sensor")
    return width, min(height, sensor.height_px)


def fit(ratio, frame_width, frame_height):
    if Fraction(frame_width) / ratio <= frame_height:
        return frame_width, even(frame_width / ratio)
    return even(frame_height * ratio), frame_height


def red_pixels(size_class, label, sensor):
    width, height = class_frame(size_class, sensor)
    if label in ("FF", "Full Format"):
        return width, height
    if label == "Full Height 1.7:1":
        return width, sensor.height_px
    if label == "Full Height 6:5":
        return even(sensor.height_px * Fraction(6, 5)), sensor.height_px
    return fit(LABEL_RATIOS[label], width, height)


def names(classes, labels):
    """The names of every label in every class, classes outer, in label order."""
    return [f"{size_class} {label}" for size_class in classes for label in labels]


def ordered(name_list):
    """Puts names into table order: size classes from large to small, then label order."""

    def key(name):
        size_class, label = name.split(" ", 1)
        return SIZE_CLASSES.index(size_class), LABELS.index(label)

    require(len(set(name_list)) == len(name_list), "a format set repeats a name")
    return sorted(name_list, key=key)


CORE_LABELS = ["FF", "2:1", "WS", "HD", "4:1", "8:1"]
CLASSES_8K_TO_2K = SIZE_CLASSES[:SIZE_CLASSES.index("2K") + 1]
CLASSES_6K_TO_2K = SIZE_CLASSES[SIZE_CLASSES.index("6K"):SIZE_CLASSES.index("2K") + 1]
CLASSES_5K_TO_2K = SIZE_CLASSES[SIZE_CLASSES.index("5K"):SIZE_CLASSES.index("2K") + 1]


def extras(per_class):
    return [f"{size_class} {label}" for size_class, labels in per_class.items()
            for label in labels.split()]


# The 8K sensors (VV Dragon, HELIUM, MONSTRO): six labels in every class from 8K
# down to 2K and a choice of taller frames in the larger classes.
EXTRAS_8K = extras({
    "8K": "14:9 3:2 4:3 5:4 6:5 1:1",
    "7.5K": "3:2 6:5",
    "7K": "14:9 3:2 4:3 5:4 6:5",
    "6.5K": "3:2 6:5",
    "6K": "14:9 3:2 4:3 5:4 6:5 1:1",
    "5.5K": "3:2 6:5",
    "5K": "3:2 5:4 6:5",
    "4.5K": "6:5",
    "4K": "3:2 4:3 6:5 1:1",
})
SET_8K_109 = ordered(names(CLASSES_8K_TO_2K, CORE_LABELS) + EXTRAS_8K)
# Later firmware added the anamorphic 8:9 frames and 5K 4:3.
ADDED_ANAMORPHIC = ["4K 8:9", "5K 4:3", "5K 8:9", "6K 8:9", "7K 8:9"]
SET_8K_114 = ordered(SET_8K_109 + ADDED_ANAMORPHIC)
SET_HELIUM_WEAPON = ordered(SET_8K_109 + ["8K 8:9", "7K 8:9", "6K 8:9", "5K 8:9", "4K 8:9"])
SET_DRAGON_8K_VV = ordered([n for n in SET_8K_109 if n != "6.5K 3:2"])
SET_WEAPON_8K_VV = ordered(SET_DRAGON_8K_VV + ["8K 8:9"])

SET_DRAGON_6K = ordered(names(CLASSES_6K_TO_2K, CORE_LABELS) + extras({
    "6K": "3:2 4:3 5:4 6:5 1:1",
    "5.5K": "3:2 6:5",
    "5K": "3:2 4:3 5:4 6:5 1:1",
    "4.5K": "6:5",
    "4K": "3:2 4:3 5:4 6:5 1:1",
    "3K": "4:3 6:5",
    "2K": "4:3 6:5",
}))
SET_SCARLET_DRAGON = ordered(
    names(["5K", "4K"], CORE_LABELS + ["3:2", "4:3", "6:5"]) +
    names(["3K"], CORE_LABELS + ["4:3"]) + names(["2K"], ["FF", "2:1", "WS", "HD"]))

SET_DRAGON_5K = ordered(names(CLASSES_5K_TO_2K, CORE_LABELS) + extras({
    "5K": "14:9 3:2 4:3 5:4 6:5 1:1",
    "4.5K": "3:2 6:5",
    "4K": "14:9 3:2 4:3 5:4 6:5 1:1",
    "3.5K": "6:5",
    "3K": "4:3 6:5 1:1",
    "2K": "4:3 6:5",
}))

SET_GEMINI = ordered(names(CLASSES_5K_TO_2K, CORE_LABELS) +
                     ["5K Full Height 1.7:1", "5K Full Height 6:5"] + extras({
                         "5K": "3:2 4:3 5:4 6:5 1:1",
                         "4.5K": "6:5",
                         "4K": "3:2 4:3 5:4 6:5 1:1",
                         "3.5K": "6:5",
                         "3K": "3:2 4:3 6:5",
                         "2.5K": "6:5",
                         "2K": "4:3 6:5",
                     }))

# The MYSTERIUM-X cameras list their formats in this order of their own.
SET_MYSTERIUM_X = ["5K FF", "5K 2:1", "5K WS", "5K HD", "5K 1.22:1", "4K FF", "4K WS", "4K HD",
                   "3K FF", "3K WS", "3K HD", "2K FF", "2K WS", "2K HD", "1K HD", "1K WS"]

SET_RAVEN = ordered(
    names(["4.5K"], ["FF", "WS", "2.4:1", "4:1", "8:1"]) +
    names(["4K"], ["FF", "2:1", "WS", "HD", "2.1:1", "4:1", "8:1"]) +
    names(["3.5K"], ["FF", "WS", "2.1"]) + names(["3K"], ["FF", "2:1", "WS", "HD", "4:1"]) +
    names(["2.5K"], ["FF", "WS"]) + names(["2K"], ["FF", "WS", "HD"]))

SET_KOMODO = ordered(["6K 17:9", "6K 2.4:1", "6K 16:9", "5K 17:9", "4K 17:9", "4K 2.4:1",
                      "4K 16:9", "2K 17:9"])

SET_V_RAPTOR = names(["8K", "7K", "6K", "5K", "4K", "3K", "2K"],
                     ["17:9", "2:1", "2.4:1 (WS)", "16:9 (HD)", "1:1"])
SET_V_RAPTOR_XL = ordered(SET_V_RAPTOR + ["4K 8:1"])


def red_formats(format_names, sensor_name):
    sensor = SENSORS[sensor_name]
    formats = []
    for name in format_names:
        size_class, label = name.split(" ", 1)
        width_px, height_px = red_pixels(size_class, label, sensor)
        formats.append((name, width_px, height_px, width_px, height_px))
    return formats


# --------------------------------------------------------------------------
# Panavision: MONSTRO 8K VV crops with names of their own.

def panavision_formats(classes_and_labels, renamed=None):
    sensor = SENSORS["MONSTRO 8K VV"]
    formats = []
    for size_class, labels in classes_and_labels:
        for label in labels:
            width_px, height_px = red_pixels(size_class, label, sensor)
            name = f"{size_class} {label}"
            formats.append(((renamed or {}).get(name, name), width_px, height_px, width_px,
                            height_px))
    return formats


PANAVISION_LABELS = ["Full Format", "2:1", "2.4:1", "3:2", "4:3", "16:9 (HD)", "6:5"]
# The camera's own format list writes this one name with a trailing blank.
DXL2_RENAMED = {"6K 16:9 (HD)": "6K 16:9 (HD) "}
FORMATS_DXL2 = panavision_formats(
    [(size_class, PANAVISION_LABELS) for size_class in ["8K", "7K", "6K", "5K"]] +
    [("4K", ["Full Format", "2:1", "2.4:1", "16:9 (HD)"])], DXL2_RENAMED)
FORMATS_DXL = panavision_formats(
    [("8K", ["Full Format", "2:1", "2.4:1", "3:2", "4:3", "5:4", "16:9 (HD)", "6:5", "1:1"])] +
    [(size_class, PANAVISION_LABELS) for size_class in ["7K", "6K", "5K", "4K"]])


# --------------------------------------------------------------------------
# Formats of the other makers: (name, area width, area height[, recorded width,
# recorded height]) in photosites and pixels; without recorded sizes the format
# records its area photosite for pixel.

def scaled(name, area_width, area_height, width_px, height_px):
    return (name, area_width, area_height, width_px, height_px)


def cropped(name, width, height):
    return (name, width, height, width, height)


ALEV3 = {
    "S16 HD": scaled("16:9 S16 HD", 1600, 900, 1920, 1080),
    "HD": scaled("16:9 HD", 2880, 1620, 1920, 1080),
    "2K": scaled("16:9 2K", 2880, 1620, 2048, 1152),
    "2.8K": cropped("16:9 2.8K", 2880, 1620),
    "3.2K": cropped("16:9 3.2K", 3200, 1800),
    "UHD": scaled("16:9 4K UHD", 3200, 1800, 3840, 2160),
    "4:3": cropped("4:3 2.8K", 2880, 2160),
    "6:5": cropped("6:5 2.6K", 2578, 2160),
    "OG": cropped("Open Gate 3.4K", 3424, 2202),
    "Ana": scaled("2.39:1 2K Ana.", 2560, 2145, 2048, 858),
    "OG 4K": scaled("Open Gate 4K Cine", 3424, 2202, 4096, 2636),
    "6:5 4K": scaled("6:5 4K Cine Ana.", 2578, 2160, 4096, 3432),
}


def alev3(*keys):
    return [ALEV3[key] for key in keys]


FORMATS_ALEXA_XT = alev3("HD", "2K", "2.8K", "3.2K", "4:3", "6:5", "OG", "Ana")
FORMATS_ALEXA_65 = [
    cropped("RAW 16:9 5.1K", 5120, 2880),
    cropped("RAW 3:2 4.3K", 4320, 2880),
    cropped("RAW Open Gate 6.5K", 6560, 3100),
    cropped("RAW LF Open Gate 4.5K", 4448, 3096),
    cropped("RAW 16:9 4.3K", 4320, 2430),
]
FORMATS_ALEXA_LF = [
    cropped("LF Open Gate", 4448, 3096),
    cropped("LF 16:9 UHD", 3840, 2160),
    cropped("LF 2.39:1", 4448, 1856),
    scaled("LF 16:9 HD", 3840, 2160, 1920, 1080),
    cropped("LF 3:2", 4320, 2880),
    scaled("S35 16:9 HD", 2880, 1620, 1920, 1080),
    cropped("S35 16:9 2.8K", 2880, 1620),
    cropped("S35 4:3 2.8K", 2880, 2160),
]
FORMATS_ALEXA_MINI_LF = FORMATS_ALEXA_LF + [
    scaled("LF 16:9 2K", 3840, 2160, 2048, 1152),
    cropped("LF 1.85:1 UHD", 3840, 2076),
    scaled("LF 2.39:1 UHD", 4448, 1856, 3840, 1602),
    scaled("LF Open Gate 4K", 4448, 3096, 4096, 2850),
    cropped("LF 6:5 Ana.", 3712, 3094),
    cropped("LF 8:9 Ana.", 2742, 3086),
    scaled("S35 16:9 2K", 2880, 1620, 2048, 1152),
    scaled("S35 16:9 UHD", 3200, 1800, 3840, 2160),
]
FORMATS_ALEXA_35 = [
    cropped("4.6K 3:2 Open Gate", 4608, 3164),
    cropped("4.6K 16:9", 4608, 2592),
    scaled("4.6K 16:9 UHD", 4608, 2592, 3840, 2160),
    scaled("4.6K 16:9 HD", 4608, 2592, 1920, 1080),
    cropped("4K 16:9", 4096, 2304),
    scaled("4K 16:9 HD", 4096, 2304, 1920, 1080),
    cropped("4K 2:1", 4096, 2048),
    cropped("4K 17:9", 4096, 2160),
    cropped("3.8K 16:9", 3840, 2160),
    scaled("3.8K 16:9 HD", 3840, 2160, 1920, 1080),
    cropped("3.3K 6:5", 3328, 2790),
    cropped("3K 1:1", 3072, 3072),
    cropped("2.7K 8:9", 2743, 3086),
    scaled("4.6K 3:2 Open Gate 4K", 4608, 3164, 4096, 2812),
    cropped("2K 16:9 S16", 2048, 1152),
    scaled("HD 16:9 S16", 2048, 1152, 1920, 1080),
]

FORMATS_URSA_4_6K = [
    cropped("4.6K 16:9", 4608, 2592),
    cropped("4.6K 2.4:1", 4608, 1920),
    cropped("4K DCI", 4096, 2160),
    cropped("4K 16:9", 4096, 2304),
    cropped("Ultra HD", 3840, 2160),
    cropped("3K Anamorphic", 3072, 2560),
    cropped("2K 16:9", 2048, 1152),
    scaled("HD", 3840, 2160, 1920, 1080),
]
FORMATS_URSA_PRO_4_6K = FORMATS_URSA_4_6K + [scaled("2K DCI", 4096, 2160, 2048, 1080)]
FORMATS_URSA_PRO_12K = [
    cropped("RAW 12K 17:9", 12288, 6480),
    cropped("RAW 12K 16:9", 11520, 6480),
    cropped("RAW 12K 2.4:1", 12288, 5112),
    scaled("RAW 8K 17:9", 12288, 6480, 8192, 4320),
    scaled("RAW 8K 16:9", 11520, 6480, 7680, 4320),
    scaled("RAW 8K 2.4:1", 12288, 5112, 8192, 3408),
    cropped("RAW 6K S16 17:9", 6144, 3240),
    scaled("RAW 4K 17:9", 12288, 6480, 4096, 2160),
    scaled("RAW 4K S16 17:9", 6144, 3240, 4096, 2160),
]

FORMATS_MPC_3610 = [
    cropped("4K 2.39:1", 4096, 1716),
    cropped("4K 17:9", 4096, 2160),
    cropped("4K 6:5", 4096, 3432),
    cropped("4K 4:3", 4096, 3024),
    cropped("3.8K 16:9", 3840, 2160),
    scaled("3.8K 16:9 Extended", 4096, 2304, 3840, 2160),
    cropped("6K 3:2", 6048, 4032),
    cropped("6K 2.39:1", 6048, 2534),
    cropped("6K 1.85:1", 6048, 3272),
    cropped("6K 17:9", 6048, 3192),
    cropped("5.7K 16:9", 5674, 3192),
    cropped("5.7K 2.39:1", 5674, 2374),
    scaled("4K 4:3 Extended", 4320, 3190, 4096, 3024),
]
FORMATS_MPC_3626 = [
    cropped("6K 3:2", 6048, 4032),
    cropped("6K 17:9", 6048, 3192),
    cropped("6K 1.85:1", 6048, 3272),
    cropped("6K 2.39:1", 6048, 2534),
    cropped("5.7K 16:9", 5674, 3192),
    cropped("5.7K 2.39:1", 5674, 2374),
    cropped("4K 6:5", 4096, 3432),
    cropped("4K 4:3", 4096, 3024),
    cropped("4K 17:9", 4096, 2160),
    cropped("4K 2.39:1", 4096, 1716),
    cropped("3.8K 16:9", 3840, 2160),
    scaled("4K 2.39:1 Extended", 4214, 1766, 4096, 1716),
    scaled("3.8K 16:9 Extended", 4096, 2304, 3840, 2160),
]
FORMATS_MPC_3628 = [
    cropped("8.6K 3:2", 8640, 5760),
    cropped("8.6K 17:9", 8640, 4556),
    cropped("8.2K 17:9", 8192, 4320),
    cropped("8.2K 2.39:1", 8192, 3432),
    cropped("7.6K 16:9", 7680, 4320),
    cropped("5.8K 6:5", 5792, 4828),
]
FORMATS_PMW_F5 = [
    cropped("4K 17:9", 4096, 2160),
    cropped("4K 16:9", 3840, 2160),
    scaled("2K 17:9", 4096, 2160, 2048, 1080),
    scaled("2K 16:9 (HD)", 3840, 2160, 1920, 1080),
    cropped("2K 17:9 Center Scan", 2048, 1080),
    cropped("HD Center Scan", 1920, 1080),
    scaled("2K 2.39:1", 4096, 1716, 2048, 858),
]
FORMATS_PMW_F55 = FORMATS_PMW_F5[:2] + [cropped("4K 2.39:1", 4096, 1716),
                                        cropped("4K 1.85:1", 3996, 2160)] + FORMATS_PMW_F5[2:]
FORMATS_F65 = [
    scaled("4K 17:9", 8192, 4320, 4096, 2160),
    scaled("4K 16:9", 7680, 4320, 3840, 2160),
    scaled("Center Scan 2K", 4096, 2160, 2048, 1080),
]
FORMATS_PXW_FX9V = [
    scaled("FF DCI 4K", 6048, 3192, 4096, 2160),
    scaled("FF UHD", 6048, 3402, 3840, 2160),
    scaled("FF HD", 6048, 3402, 1920, 1080),
    scaled("FF 2K", 6048, 3192, 2048, 1080),
    scaled("FF DCI 4K 2.39:1", 6048, 2532, 4096, 1716),
    scaled("FF UHD 2.39:1", 6048, 2532, 3840, 1608),
    scaled("FF UHD 1.85:1", 6048, 3270, 3840, 2076),
    scaled("FF 6K 3:2 Proxy HD", 6048, 4032, 1920, 1280),
    scaled("S35 DCI 4K", 4104, 2166, 4096, 2160),
    scaled("S35 UHD", 4104, 2310, 3840, 2160),
    scaled("S35 HD", 4104, 2310, 1920, 1080),
    scaled("S35 2K", 4104, 2166, 2048, 1080),
    scaled("S35 DCI 4K 2.39:1", 4104, 1718, 4096, 1716),
    scaled("S35 UHD 2.39:1", 4104, 1718, 3840, 1608),
    scaled("S16 HD", 2052, 1155, 1920, 1080),
    scaled("S16 2K", 2052, 1083, 2048, 1080),
]

# Figures that the makers publish and that do not follow from the pitch, by
# sensor and format name.
PUBLISHED_MM = {
    ("Full-Frame CMOS", "4K 2.39:1"): (Decimal("24.30"), Decimal("10.3")),
    ("Full-Frame CMOS 6K", "4K 2.39:1"): (Decimal("24.30"), Decimal("10.3")),
}


# --------------------------------------------------------------------------
# The models in table order: manufacturer, model, sensor, formats, first and
# last row. Number formats: "short" writes as few decimals as the value needs,
# "width2" writes the width with two decimals (these makers' lists keep the
# trailing zero).

Model = namedtuple("Model", "manufacturer model sensor formats first last number_style")


def red(model, sensor, format_names, first, last, number_style="short"):
    return Model("RED", model, sensor, red_formats(format_names, sensor), first, last,
                 number_style)


MODELS = [
    Model("ARRI", "AMIRA", "ALEV III", alev3("S16 HD", "HD", "2K", "3.2K", "UHD", "4:3"), 1, 6,
          "short"),
    Model("ARRI", "ALEXA Classic", "ALEV III", alev3("HD", "2K", "2.8K"), 7, 9, "short"),
    Model("ARRI", "ALEXA XT", "ALEV III", FORMATS_ALEXA_XT, 10, 17, "short"),
    Model("ARRI", "ALEXA SXT", "ALEV III",
          FORMATS_ALEXA_XT + alev3("S16 HD", "UHD", "OG 4K", "6:5 4K"), 18, 29, "short"),
    Model("ARRI", "ALEXA Mini", "ALEV III",
          alev3("S16 HD", "HD", "2K", "3.2K", "UHD", "4:3", "6:5", "OG", "Ana"), 30, 38, "short"),
    Model("ARRI", "ALEXA 65", "A3X", FORMATS_ALEXA_65, 39, 43, "short"),
    Model("ARRI", "ALEXA LF", "A2X", FORMATS_ALEXA_LF, 44, 51, "short"),
    Model("ARRI", "ALEXA Mini LF", "A2X", FORMATS_ALEXA_MINI_LF, 52, 67, "short"),
    Model("ARRI", "ALEXA 35", "ALEV IV", FORMATS_ALEXA_35, 68, 83, "short"),
    Model("Blackmagic Design", "URSA Mini 4.6K", "4.6K Super35 CMOS", FORMATS_URSA_4_6K, 84, 91,
          "short"),
    Model("Blackmagic Design", "URSA Mini Pro 4.6K (G2)", "4.6K Super35 CMOS",
          FORMATS_URSA_PRO_4_6K, 92, 100, "short"),
    Model("Blackmagic Design", "URSA Mini Pro 12K", "12K Super35 CMOS", FORMATS_URSA_PRO_12K, 101,
          109, "short"),
    red("WEAPON 8K VV", "VV Dragon", SET_WEAPON_8K_VV, 110, 218),
    red("WEAPON 8K S35 HELIUM", "HELIUM 8K S35", SET_HELIUM_WEAPON, 219, 332),
    red("EPIC-W HELIUM", "HELIUM 8K S35", SET_HELIUM_WEAPON, 333, 446),
    red("WEAPON 6K DRAGON MC", "DRAGON 6K S35", SET_DRAGON_6K, 447, 522),
    red("WEAPON 6K DRAGON CF", "DRAGON 6K S35", SET_DRAGON_6K, 523, 598),
    red("EPIC 6K DRAGON", "DRAGON 6K S35", SET_DRAGON_6K, 599, 674),
    red("EPIC-M MYSTERIUM-X 5K", "MYSTERIUM-X 5K", SET_MYSTERIUM_X, 675, 690),
    red("SCARLET-X MYSTERIUM-X 5K", "MYSTERIUM-X 5K", SET_MYSTERIUM_X, 691, 706),
    red("EPIC-X MONOCHROME", "MYSTERIUM-X 5K S35 MONOCHROME", SET_MYSTERIUM_X, 707, 722),
    red("EPIC-X MYSTERIUM-X 5K", "MYSTERIUM-X 5K S35", SET_MYSTERIUM_X, 723, 738),
    # The same camera again under the sensor name its later firmware reports.
    red("SCARLET-X MYSTERIUM-X 5K", "MYSTERIUM-X 5K S35", SET_MYSTERIUM_X, 739, 754),
    red("EPIC-M DRAGON MONOCHROME", "DRAGON 6K S35 MONOCHROME", SET_DRAGON_6K, 755, 830),
    red("EPIC-M DRAGON", "DRAGON 6K S35", SET_DRAGON_6K, 831, 906),
    red("EPIC-X DRAGON MONOCHROME", "DRAGON 6K S35 MONOCHROME", SET_DRAGON_6K, 907, 982),
    red("EPIC-X DRAGON", "DRAGON 6K S35", SET_DRAGON_6K, 983, 1058),
    red("SCARLET-X DRAGON", "DRAGON 6K S35", SET_SCARLET_DRAGON, 1059, 1087),
    red("DSMC2 DRAGON 6K S35 (CF)", "DRAGON 6K S35", SET_DRAGON_6K, 1088, 1163),
    red("DSMC2 DRAGON 6K S35 MONOCHROME (CF)", "DRAGON 6K S35 MONOCHROME", SET_DRAGON_6K, 1164,
        1239),
    red("DSMC2 DRAGON 8K VV", "DRAGON 8K VV", SET_DRAGON_8K_VV, 1240, 1347),
    red("DSMC2 HELIUM 8K S35", "HELIUM 8K S35", SET_8K_109, 1348, 1456),
    red("DSMC2 HELIUM 8K S35 MONOCHROME", "HELIUM 8K S35", SET_8K_114, 1457, 1570),
    red("DSMC2 GEMINI 5K S35", "GEMINI 5K S35", SET_GEMINI, 1571, 1632),
    red("DSMC2 MONSTRO 8K VV", "MONSTRO 8K VV", SET_8K_109, 1633, 1741),
    red("DSMC2 MONSTRO 8K VV MONOCHROME", "MONSTRO 8K VV MONOCHROME", SET_8K_109, 1742, 1850),
    red("DSMC2 DRAGON 6K S35 MONOCHROME (Mg)", "DRAGON 6K S35 MONOCHROME", SET_DRAGON_6K, 1851,
        1926),
    red("DSMC2 DRAGON 6K S35 (Mg)", "DRAGON 6K S35", SET_DRAGON_6K, 1927, 2002),
    red("RED RAVEN 4.5K", "DRAGON 4.5K S35", SET_RAVEN, 2003, 2027),
    red("SCARLET-W 5K MONOCHROME", "DRAGON 5K S35 MONOCHROME", SET_DRAGON_5K, 2028, 2089),
    red("SCARLET-W 5K", "DRAGON 5K S35", SET_DRAGON_5K, 2090, 2151),
    red("RED EPIC-W 8K S35", "HELIUM 8K S35", SET_8K_109, 2152, 2260),
    red("RED EPIC-W 8K S35 MONOCHROME", "HELIUM 8K S35 MONOCHROME", SET_8K_109, 2261, 2369),
    red("RED EPIC-W 5K S35", "GEMINI 5K S35", SET_GEMINI, 2370, 2431, "width2"),
    red("RANGER MONSTRO 8K VV", "MONSTRO 8K VV", SET_8K_114, 2432, 2545),
    red("RANGER HELIUM 8K S35", "HELIUM 8K S35", SET_8K_114, 2546, 2659),
    red("RANGER GEMINI 5K S35", "GEMINI 5K S35", SET_GEMINI, 2660, 2721),
    red("KOMODO 6K S35", "KOMODO 6K S35", SET_KOMODO, 2722, 2729),
    red("V-RAPTOR 8K VV", "V-RAPTOR 8K VV", SET_V_RAPTOR, 2730, 2764),
    red("V-RAPTOR 8K S35", "V-RAPTOR 8K S35", SET_V_RAPTOR, 2765, 2799),
    red("V-RAPTOR 8K VV XL", "V-RAPTOR 8K VV", SET_V_RAPTOR_XL, 2800, 2835),
    Model("Panavision", "Millennium DXL2", "MONSTRO 8K VV", FORMATS_DXL2, 2836, 2867, "width2"),
    Model("Sony", "MPC-3610", "Full-Frame CMOS", FORMATS_MPC_3610, 2868, 2880, "width2"),
    Model("Sony", "MPC-3626", "Full-Frame CMOS 6K", FORMATS_MPC_3626, 2881, 2893, "width2"),
    Model("Sony", "MPC-3628", "Full-Frame CMOS 8K", FORMATS_MPC_3628, 2894, 2899, "width2"),
    Model("Sony", "PMW-F55", "S35 4K CMOS", FORMATS_PMW_F55, 2900, 2908, "width2"),
    Model("Sony", "PMW-F5", "S35 4K CMOS", FORMATS_PMW_F5, 2909, 2915, "width2"),
    Model("Sony", "F65", "S35 8K CMOS", FORMATS_F65, 2916, 2918, "width2"),
    Model("Sony", "PXW-FX9V", "Full-Frame CMOS 6K", FORMATS_PXW_FX9V, 2919, 2934, "width2"),
    Model("Panavision", "DXL", "MONSTRO 8K VV", FORMATS_DXL, 2935, 2971, "width2"),
]


def short(value):
    text = f"{value:.2f}".rstrip("0").rstrip(".")
    return text


def model_rows(model):
    sensor = SENSORS[model.sensor]
    rows = []
    for name, area_width, area_height, width_px, height_px in model.formats:
        key = (model.sensor, name)
        if key in PUBLISHED_MM:
            width_mm, height_mm = PUBLISHED_MM[key]
        else:
            width_mm, height_mm = sensor.millimetres(area_width, area_height)
        width_text = f"{width_mm:.2f}" if model.number_style == "width2" else short(width_mm)
        rows.append(Row(model.manufacturer, model.model, model.sensor, name, width_text,
                        short(height_mm), str(width_px), str(height_px)))
    return rows


def build_table():
    table = []
    for model in MODELS:
        require(model.first == len(table) + 1,
                f"{model.model} begins at row {len(table) + 1}, not {model.first}")
        table.extend(model_rows(model))
        require(model.last == len(table),
                f"{model.model} ends at row {len(table)}, not {model.last}")
    return table


# --------------------------------------------------------------------------
# Checks

# Rows that other components, tests and users rely on; they must stand verbatim.
FIXED_ROWS = {
    1: "ARRI;AMIRA;ALEV III;16:9 S16 HD;13.2;7.43;1920;1080",
    41: "ARRI;ALEXA 65;A3X;RAW Open Gate 6.5K;54.12;25.58;6560;3100",
    84: "Blackmagic Design;URSA Mini 4.6K;4.6K Super35 CMOS;4.6K 16:9;25.34;14.25;4608;2592",
    101: "Blackmagic Design;URSA Mini Pro 12K;12K Super35 CMOS;RAW 12K 17:9;27.03;14.25;12288;6480",
    110: "RED;WEAPON 8K VV;VV Dragon;8K FF;40.96;21.6;8192;4320",
    332: "RED;WEAPON 8K S35 HELIUM;HELIUM 8K S35;2K 8:1;7.48;0.93;2048;256",
    691: "RED;SCARLET-X MYSTERIUM-X 5K;MYSTERIUM-X 5K;5K FF;27.65;14.58;5120;2700",
    700: "RED;SCARLET-X MYSTERIUM-X 5K;MYSTERIUM-X 5K;3K WS;16.59;7;3072;1296",
    739: "RED;SCARLET-X MYSTERIUM-X 5K;MYSTERIUM-X 5K S35;5K FF;27.65;14.58;5120;2700",
    2722: "RED;KOMODO 6K S35;KOMODO 6K S35;6K 17:9;27.03;14.26;6144;3240",
    2799: "RED;V-RAPTOR 8K S35;V-RAPTOR 8K S35;2K 1:1;3.46;3.46;1080;1080",
    2836: "Panavision;Millennium DXL2;MONSTRO 8K VV;8K Full Format;40.96;21.6;8192;4320",
    2855: "Panavision;Millennium DXL2;MONSTRO 8K VV;6K 16:9 (HD) ;28.80;16.2;5760;3240",
    2868: "Sony;MPC-3610;Full-Frame CMOS;4K 2.39:1;24.30;10.3;4096;1716",
    2971: "Panavision;DXL;MONSTRO 8K VV;4K 6:5;12.96;10.8;2592;2160",
}

RANGES = {
    # manufacturer filter: (width mm, height mm, width px, height px) as (min, max)
    None: ((Decimal("3.46"), Decimal("54.12")), (Decimal("0.93"), Decimal("25.58")),
           (1080, 12288), (256, 6480)),
    "RED": ((Decimal("3.46"), Decimal("40.96")), (Decimal("0.93"), Decimal("21.6")),
            (1080, 8192), (256, 4320)),
}


def check(table):
    require(len(table) == ROW_COUNT, f"{len(table)} rows, not {ROW_COUNT}")
    for number, text in FIXED_ROWS.items():
        require(";".join(table[number - 1]) == text,
                f"row {number} is {';'.join(table[number - 1])!r}, not {text!r}")

    for row in table:
        require(all(";" not in field for field in row), f"a field of {row} holds ';'")
        require(row.width_px.isdigit() and row.height_px.isdigit(), f"{row}: pixels")

    for manufacturer, limits in RANGES.items():
        rows = [row for row in table if manufacturer in (None, row.manufacturer)]
        values = [[Decimal(row.width_mm) for row in rows], [Decimal(row.height_mm) for row in rows],
                  [int(row.width_px) for row in rows], [int(row.height_px) for row in rows]]
        for column, (low, high) in zip(values, limits):
            require((min(column), max(column)) == (low, high),
                    f"{manufacturer or 'all'} range {min(column)}..{max(column)}, not {low}..{high}")

    formats = {}
    for row in table:
        key = (row.manufacturer, row.model.lower(), row.name)
        earlier = formats.get(key)
        require(earlier is None or earlier[4:] == row[4:], f"{key} repeated with other sizes")
        formats[key] = row
    require(len(formats) == 2955, f"{len(formats)} formats, not 2955")

    red_names = set()
    for model in {row.model for row in table if row.manufacturer == "RED"}:
        rows = {key[2]: row for key, row in formats.items() if row.model == model}
        sizes = {(row.width_px, row.height_px) for row in rows.values()}
        require(len(sizes) == len(rows), f"{model} has two formats of one pixel size")
        red_names.update(rows)
    require(len(red_names) == 163, f"{len(red_names)} RED format names, not 163")
    classes = {name.split(" ", 1)[0] for name in red_names}
    labels = {name.split(" ", 1)[1] for name in red_names}
    require(classes == set(SIZE_CLASSES), f"size classes unused: {set(SIZE_CLASSES) - classes}")
    require(labels == set(LABELS), f"labels unused: {set(LABELS) - labels}")


# --------------------------------------------------------------------------
# Output

HEADER = """\
// Generated by tools/recording-formats/generate.py; do not edit. Change the
// generator and run it again: it holds the rules these rows follow.
//
// One row per recording format: manufacturer; model; sensor; format name;
// width and height of the image area in millimetres; width and height in
// pixels.
#include "RecordingFormatDatabase/RecordingFormatsCsvString.hpp"

#include <cstddef>
#include <iterator>
#include <type_traits>

namespace RecordingFormatDatabase {

namespace {

using Rows = std::remove_const_t<decltype(recordingFormatsCsvStringArray)>;

// The rows as plain constant data, which the compiler takes in at once; the
// strings are made from it in one loop instead of one construction each.
// One row a line, however long, so that a row reads as the generator wrote it.
// clang-format off
constexpr const char* rowTexts[] = {
"""

FOOTER = """\
};
// clang-format on

static_assert(std::size(rowTexts) == std::tuple_size<Rows>::value, "one text for every row");

Rows rowsFromTexts() {
    Rows rows;
    for (std::size_t index = 0; index < rows.size(); ++index) {
        rows[index] = rowTexts[index];
    }
    return rows;
}

} // namespace

const Rows recordingFormatsCsvStringArray = rowsFromTexts();

} // namespace RecordingFormatDatabase
"""


def cpp_literal(text):
    require('"' not in text and "\\" not in text, f"cannot quote {text!r}")
    return f'"{text}"'


def render(table):
    lines = [f"    {cpp_literal(';'.join(row))}," for row in table]
    return HEADER + "\n".join(lines) + "\n" + FOOTER


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="only compare with the committed file; exit 1 when it differs")
    parser.add_argument("--output", type=pathlib.Path, default=OUTPUT)
    arguments = parser.parse_args()

    try:
        table = build_table()
        check(table)
    except TableError as error:
        print(f"recording-format table: {error}", file=sys.stderr)
        return 1

    text = render(table)
    if arguments.check:
        current = arguments.output.read_text() if arguments.output.exists() else None
        if current != text:
            print(f"{arguments.output} is not what the generator writes", file=sys.stderr)
            return 1
        return 0
    arguments.output.write_text(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
