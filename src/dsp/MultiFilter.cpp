#include "dsp/MultiFilter.h"

namespace orv {

void MultiFilter::clearCoefficients()
{
    for (int k = 0; k < stageCount; ++k) {
        for (int i = 0; i < coefficientCount; ++i) coefficient_[k][i] = 0.0;
        saturationOn_[k] = 0;
        saturationCoefficient_[k] = 0.001;
        saturationBias_[k] = 0.0;
    }
}

void MultiFilter::copyFrom(const BiquadFilter& f1, const BiquadFilter& f2, const BiquadFilter& f3,
                           const BiquadFilter& f4)
{
    const BiquadFilter* source[stageCount] = {&f1, &f2, &f3, &f4};
    for (int k = 0; k < stageCount; ++k) {
        const BiquadFilter& f = *source[k];
        const BiquadDesigner::Design& d = f.design();
        coefficient_[k][cB0] = d.b0;
        coefficient_[k][cB1] = d.b1;
        coefficient_[k][cB2] = d.b2;
        coefficient_[k][cA1] = d.a1;
        coefficient_[k][cA2] = d.a2;
        saturationOn_[k] = f.saturationOn() ? 1u : 0u;
        saturationCoefficient_[k] = f.saturationCoefficient();
        saturationBias_[k] = f.saturationBias();
    }
}

void MultiFilter::clearState()
{
    for (int k = 0; k < stageCount; ++k)
        for (int i = 0; i < stateCount; ++i) state_[k][i] = 0.0;
}

}  // namespace orv
