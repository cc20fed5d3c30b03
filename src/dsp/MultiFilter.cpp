#include "dsp/MultiFilter.h"

namespace orv {

void MultiFilter::clearCoefficients()
{
    for (int k = 0; k < stageCount; ++k) {
        for (int i = 0; i < coefficientCount; ++i) coefficient[k][i] = 0.0;
        saturationOn[k] = 0;
        saturationCoefficient[k] = 0.001;
        saturationBias[k] = 0.0;
    }
}

void MultiFilter::copyFrom(const BiquadFilter& f1, const BiquadFilter& f2, const BiquadFilter& f3,
                           const BiquadFilter& f4)
{
    const BiquadFilter* source[stageCount] = {&f1, &f2, &f3, &f4};
    for (int k = 0; k < stageCount; ++k) {
        const BiquadFilter& f = *source[k];
        const BiquadDesigner::Design& d = f.design();
        coefficient[k][cB0] = d.b0;
        coefficient[k][cB1] = d.b1;
        coefficient[k][cB2] = d.b2;
        coefficient[k][cA1] = d.a1;
        coefficient[k][cA2] = d.a2;
        saturationOn[k] = f.saturationOn() ? 1u : 0u;
        saturationCoefficient[k] = f.saturationCoefficient();
        saturationBias[k] = f.saturationBias();
    }
}

void MultiFilter::clearState()
{
    for (int k = 0; k < stageCount; ++k)
        for (int i = 0; i < stateCount; ++i) state[k][i] = 0.0;
}

}  // namespace orv
