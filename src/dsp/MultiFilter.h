#pragma once

#include <cstdint>

#include "dsp/BiquadFilter.h"

namespace orv {

// Fixed cascade of four second-order sections whose coefficients and saturation settings
// are copied from four BiquadFilters; runs an eighth-order filter in one call, no glide.
class MultiFilter {
public:
    static constexpr int stageCount = 4;
    static constexpr double flush = BiquadFilter::plainFlush;  // of every stage output

    // Coefficient indices within a stage (a0 = 1 implied).
    enum CoefficientIndex : int { cB0, cB1, cB2, cA1, cA2, coefficientCount };
    // History indices within a stage.
    enum StateIndex : int { sIn, sX1, sX2, sOut, sY1, sY2, stateCount };

    MultiFilter()
    {
        clearCoefficients();
        clearState();
    }

    // All coefficients 0, saturation off with k = 0.001 and bias 0.
    void clearCoefficients();
    // Takes the designed (not running) coefficients and saturation settings of f1..f4.
    void copyFrom(const BiquadFilter& f1, const BiquadFilter& f2, const BiquadFilter& f3, const BiquadFilter& f4);
    // Zeroes the whole cascade history.
    void clearState();

    // One sample through the four stages.
    inline double process(double x);
    // The same with each stage's saturation applied to that stage's output.
    inline double processSaturated(double x);

    // Stage k's history: the last input and the one before, the last output and the one before
    // (for block forms that run the stages in a layout of their own).
    void history(int k, double& x1, double& x2, double& y1, double& y2) const
    {
        const double* s = state_[k];
        x1 = s[sX1];
        x2 = s[sX2];
        y1 = s[sY1];
        y2 = s[sY2];
    }
    void setHistory(int k, double x1, double x2, double y1, double y2)
    {
        double* s = state_[k];
        s[sIn] = s[sX1] = x1;
        s[sX2] = x2;
        s[sOut] = s[sY1] = y1;
        s[sY2] = y2;
    }

    // Stage k's saturation settings as copied.
    bool saturationOn(int k) const { return saturationOn_[k] != 0; }
    double saturationCoefficient(int k) const { return saturationCoefficient_[k]; }
    double saturationBias(int k) const { return saturationBias_[k]; }

private:
    double coefficient_[stageCount][coefficientCount];
    std::uint32_t saturationOn_[stageCount];
    double saturationCoefficient_[stageCount];
    double saturationBias_[stageCount];
    // A stage's input history equals the previous stage's output history.
    double state_[stageCount][stateCount];

    template <bool Saturate>
    inline double run(double x);
};

template <bool Saturate>
inline double MultiFilter::run(double x)
{
    double in = x + flush - flush;
    for (int k = 0; k < stageCount; ++k) {
        const double* c = coefficient_[k];
        double* s = state_[k];
        // The history terms do not wait for this sample; adding the input's term last keeps
        // the chain through the stages (and through a bank's cascades) to a multiply, an add
        // and the flush per stage. (Summed in this order the result can differ from the
        // input-first order in the last bit.)
        const double history = c[cB1] * s[sX1] + c[cB2] * s[sX2] - c[cA1] * s[sY1] - c[cA2] * s[sY2];
        double y = c[cB0] * in + history;
        y = y + flush - flush;
        if (Saturate && saturationOn_[k]) {
            y = y / (1.0 + saturationCoefficient_[k] * std::fabs(y + saturationBias_[k]));
            y = y + flush - flush;
        }
        s[sIn] = in;
        s[sX2] = s[sX1];
        s[sX1] = in;
        s[sOut] = y;
        s[sY2] = s[sY1];
        s[sY1] = y;
        in = y;
    }
    return in;
}

inline double MultiFilter::process(double x) { return run<false>(x); }

inline double MultiFilter::processSaturated(double x) { return run<true>(x); }

}  // namespace orv
