#include "dsp/BiquadDesigner.h"

#include <bit>

namespace orv {

namespace {

std::uint64_t bitsOf(double v) { return std::bit_cast<std::uint64_t>(v); }

}  // namespace

const BiquadDesigner::Design& BiquadDesigner::design(std::uint32_t type, std::uint32_t enabled, double sampleRate,
                                                     double frequency, double q, double gainDb)
{
    const Memo& m = memo_;
    if (!(m.fullValid && m.type == type && m.enabled == enabled && m.rate == bitsOf(sampleRate) &&
          m.frequency == bitsOf(frequency) && m.q == bitsOf(q) && m.gain == bitsOf(gainDb)))
        compute(type, enabled, sampleRate, frequency, q, gainDb);
    return m.design;
}

double BiquadDesigner::saturationCoefficient(double amount, double frequency, double q, double sampleRate)
{
    Memo& m = memo_;
    if (!(m.satValid && m.satQ == bitsOf(q))) {
        m.qPower = saturationQPower(q);
        m.satQ = bitsOf(q);
        m.satValid = true;
    }
    return saturationCoefficient<double>(amount, frequency, m.qPower, sampleRate);
}

void BiquadDesigner::compute(std::uint32_t type, std::uint32_t enabled, double sampleRate, double frequency, double q,
                             double gainDb)
{
    Memo& m = memo_;
    m.type = type;
    m.enabled = enabled;
    m.rate = bitsOf(sampleRate);
    m.frequency = bitsOf(frequency);
    m.q = bitsOf(q);
    m.gain = bitsOf(gainDb);
    m.fullValid = true;

    Design& d = m.design;
    if (designs(type, enabled)) {
        if (!(m.shapeValid && m.shapeType == type && m.shapeRate == m.rate && m.shapeFrequency == m.frequency &&
              m.shapeQ == m.q)) {
            m.shape = shape<double>(type, sampleRate, frequency, q);
            m.shapeType = type;
            m.shapeRate = m.rate;
            m.shapeFrequency = m.frequency;
            m.shapeQ = m.q;
            m.shapeValid = true;
        }
        coefficients<double>(type, m.shape, q, usesGain(type) ? gainFactor(gainDb) : 1.0, d);
    } else {
        coefficients<double>(kTypeOff, Shape<double>{0.0, 0.0, 1.0}, q, 1.0, d);
    }
}

}  // namespace orv
