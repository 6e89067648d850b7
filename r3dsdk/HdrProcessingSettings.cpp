#include "HdrProcessingSettings.hpp"

#include "HdrProcessingLimits.hpp"

namespace R3DSDK {

HdrProcessingSettings::HdrProcessingSettings()
    : StructureVersion(1), StructureSize(sizeof(HdrProcessingSettings)),
      BlendAlgorithm(HdrProcessingLimits::BlendAlgorithmDefault),
      Bias(HdrProcessingLimits::BiasDefault) {}

void HdrProcessingSettings::CheckBounds() {
    // Written as two comparisons so that a NaN bias passes unchanged.
    if (Bias < HdrProcessingLimits::BiasMin) {
        Bias = HdrProcessingLimits::BiasMin;
    } else if (Bias > HdrProcessingLimits::BiasMax) {
        Bias = HdrProcessingLimits::BiasMax;
    }
}

} // namespace R3DSDK
