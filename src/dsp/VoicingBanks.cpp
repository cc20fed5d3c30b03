#include "dsp/VoicingBanks.h"

#include <cmath>

namespace orv {

namespace {
constexpr std::uint32_t hp2 = BiquadFilter::typeHighPass2;
constexpr std::uint32_t lowShelf = BiquadFilter::typeLowShelf;
constexpr std::uint32_t peak = BiquadFilter::typePeak;
constexpr std::uint32_t lp2 = BiquadFilter::typeLowPass2;
}  // namespace

// Columns: type, frequency (Hz), gain (dB), Q, enabled, saturates.
// clang-format off
const HornVoicingBank::Table hornVoicingTable = {{
    {peak, 6690.0, -5.0, 1.3, true, false},
    {peak, 1150.0, -7.0, 12.0, true, false},
    {peak, 775.0, -11.0, 20.0, true, false},
    {peak, 5950.0, -25.0, 30.0, true, false},
    {peak, 3540.0, -15.0, 40.0, true, false},
    {peak, 390.0, -15.0, 40.0, true, false},
    {peak, 1180.0, -12.0, 40.0, true, false},
    {peak, 850.0, -12.0, 40.0, true, false},
    {peak, 1740.0, -8.0, 40.0, true, false},
    {peak, 2800.0, -15.0, 30.0, true, false},
    {peak, 2020.0, -19.0, 40.0, true, false},
    {peak, 2690.0, -13.0, 40.0, true, false},
    {peak, 3880.0, -20.0, 40.0, true, false},
    {peak, 794.0, -8.0, 40.0, true, false},
    {peak, 1590.0, 8.0, 40.0, true, false},
    {peak, 1020.0, -6.0, 1.41, true, false},
    {peak, 4800.0, -16.0, 40.0, true, false},
    {peak, 2940.0, -24.0, 40.0, true, false},
    {peak, 3320.0, -13.0, 40.0, true, false},
    {peak, 3430.0, -7.6, 1.41, true, false},
    {peak, 4110.0, -15.0, 40.0, true, false},
    {peak, 4000.0, -12.0, 40.0, true, false},
    {peak, 1030.0, -6.0, 8.0, true, false},
    {peak, 2670.0, 7.0, 5.0, true, false},
    {peak, 3150.0, -14.0, 30.0, true, false},
    {peak, 2580.0, -17.0, 40.0, true, false},
    {peak, 5140.0, -12.0, 10.0, true, false},
    {peak, 2330.0, -10.0, 30.0, true, false},
}};
// clang-format on

// clang-format off
const ShortHornVoicingBank::Table shortHornVoicingTable = {{
    {peak, 780.0, -12.0, 5.0, true, false},
    {peak, 384.0, -12.0, 10.0, true, false},
    {peak, 3860.0, -12.0, 10.0, true, false},
    {peak, 4500.0, -20.0, 10.0, true, false},
    {peak, 5770.0, -15.0, 5.0, true, false},
    {peak, 780.0, -12.0, 5.0, false, false},
    {peak, 384.0, -12.0, 10.0, false, false},
    {peak, 3860.0, -12.0, 10.0, false, false},
}};
// clang-format on

// clang-format off
const DrumInputChain::Table drumInputTable = {{
    {lp2, 1170.0, 0.0, 0.93, true, true},
    {peak, 252.0, 7.0, 0.71, true, true},
    {hp2, 90.0, 0.0, 1.0, true, true},
    {lowShelf, 200.0, 3.0, 0.35, true, true},
}};
// clang-format on

// clang-format off
const ColourationBankA::Table colourationTableA = {{
    {peak, 5500.0, -18.0, 5.0, true, false},
    {peak, 4550.0, -17.0, 5.0, true, false},
    {peak, 5000.0, 12.0, 0.88, true, false},
    {peak, 6500.0, 10.0, 1.6, true, false},
    {peak, 782.0, -4.5, 5.0, true, false},
    {peak, 1050.0, -3.8, 5.0, true, false},
    {peak, 7330.0, -12.0, 20.0, true, false},
    {peak, 6670.0, -10.0, 20.0, true, false},
    {peak, 8580.0, -15.0, 20.0, true, false},
    {peak, 2400.0, -3.0, 1.3, true, false},
    {lp2, 2000.0, 0.0, 1.0, true, true},
    {hp2, 2000.0, 0.0, 0.7, true, false},
}};
// clang-format on

// clang-format off
const ColourationBankB::Table colourationTableB = {{
    {peak, 2940.0, -10.0, 11.0, true, false},
    {peak, 3360.0, -9.0, 10.0, true, false},
    {hp2, 180.0, 0.0, 0.35, true, true},
    {peak, 1150.0, -9.0, 11.0, true, false},
    {peak, 2940.0, -11.0, 11.0, false, false},
    {peak, 3360.0, -9.0, 10.0, false, false},
    {hp2, 100.0, 0.0, 0.35, false, false},
    {peak, 1150.0, -9.0, 11.0, false, true},
}};
// clang-format on

void buildHornVoicingBank(HornVoicingBank& bank, double rate) { bank.build(hornVoicingTable, 0.0, rate, 0.0); }

void buildShortHornVoicingBank(ShortHornVoicingBank& bank, double rate)
{
    bank.build(shortHornVoicingTable, 0.0, rate, 0.0);
}

void buildDrumInputChain(DrumInputChain& chain, double rate, double amount)
{
    chain.build(drumInputTable, voicingSaturationBias, rate, amount);
}

void buildColourationBankA(ColourationBankA& bank, double rate, double amount)
{
    bank.build(colourationTableA, voicingSaturationBias, rate, amount);
}

void buildColourationBankB(ColourationBankB& bank, double rate, double amount)
{
    bank.build(colourationTableB, voicingSaturationBias, rate, amount);
}

double filterSaturationAmount(float p)
{
    constexpr float base = 400.0f;      // range of the law: 400 x from p = 0 to p = 1
    constexpr float minimum = 0.0008f;  // amount at p = 0
    return static_cast<double>(std::pow(base, p) * minimum);
}

}  // namespace orv
