#include "dsp/VoicingBanks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "DspReference.h"

namespace orv {
namespace {

using test::measureGain;
using test::toDb;

// The banks' measured responses are stored as data (data/voicing_banks.txt: bank, rate, then
// dB at each probe frequency), written with ORV_UPDATE_VOICING_TABLE=1 when a voicing changes
// on purpose.
constexpr double kProbeFrequencies[] = {60.0, 250.0, 780.0, 1150.0, 2000.0, 2940.0, 3860.0, 5950.0, 9000.0};

template <class Bank>
std::vector<double> measuredDb(Bank& bank, double fs, bool saturating)
{
    std::vector<double> db;
    for (double f : kProbeFrequencies) {
        bank.clearState();
        db.push_back(toDb(
            measureGain([&](double x) { return saturating ? bank.processSaturated(x) : bank.process(x); }, f, fs)));
    }
    return db;
}

TEST(VoicingBanksResponse, EveryBankMatchesTheStoredResponse)
{
    test::GoldenRows now;
    for (double fs : {44100.0, 96000.0}) {
        const std::string rate = " " + std::to_string(static_cast<int>(fs));
        HornVoicingBank horn;
        buildHornVoicingBank(horn, fs);
        now.emplace_back("horn" + rate, measuredDb(horn, fs, false));
        ShortHornVoicingBank shortHorn;
        buildShortHornVoicingBank(shortHorn, fs);
        now.emplace_back("shortHorn" + rate, measuredDb(shortHorn, fs, false));
        // The saturating banks run their saturating path with the amount at 0.
        DrumInputChain drum;
        buildDrumInputChain(drum, fs, 0.0);
        now.emplace_back("drum" + rate, measuredDb(drum, fs, true));
        ColourationBankA a;
        buildColourationBankA(a, fs, 0.0);
        now.emplace_back("colourationA" + rate, measuredDb(a, fs, true));
        ColourationBankB b;
        buildColourationBankB(b, fs, 0.0);
        now.emplace_back("colourationB" + rate, measuredDb(b, fs, true));
    }
    auto within = [](double got, double want, const std::vector<double>&) { return std::fabs(got - want) <= 0.01; };
    test::expectGoldenRows(test::dataFile("voicing_banks.txt"), "ORV_UPDATE_VOICING_TABLE", now, within, 2,
                           8);  // to 0.01 dB
}

TEST(VoicingBanksResponse, RateChangeRedesignsAndClearsHistory)
{
    HornVoicingBank horn, fresh, at44100;
    buildHornVoicingBank(horn, 44100);
    buildHornVoicingBank(fresh, 88200);
    buildHornVoicingBank(at44100, 44100);
    for (int n = 0; n < 500; ++n) horn.process(std::sin(0.2 * n));
    // The fresh bank has no history either; rates outside 20 kHz .. 400 kHz design the sections
    // for 44.1 kHz.
    for (auto [rate, reference] : {std::pair{88200.0, &fresh}, std::pair{11025.0, &at44100}}) {
        horn.setRate(rate);
        for (int n = 0; n < 2000; ++n)
            ASSERT_EQ(horn.process(std::sin(0.03 * n)), reference->process(std::sin(0.03 * n))) << rate << " " << n;
    }
}

// ---------------------------------------------------------------- saturation

// The saturation coefficient section k of a bank gets from `amount` at `rate`.
template <class Bank>
double expectedK(const Bank& bank, int k, double rate, double amount)
{
    BiquadFilter f = test::designed(BiquadFilter::typePeak, rate, bank.section[k].frequency(), bank.section[k].q(), 0);
    f.setSaturation(amount);
    return f.saturationCoefficient();
}

TEST(VoicingBanksSaturation, AmountLawInSinglePrecision)
{
    EXPECT_EQ(filterSaturationAmount(0.0f), static_cast<double>(0.0008f));
    EXPECT_NEAR(filterSaturationAmount(1.0f), 0.32, 1e-7);
    EXPECT_NEAR(filterSaturationAmount(0.5f), 0.016, 1e-8);
    EXPECT_EQ(static_cast<double>(static_cast<float>(filterSaturationAmount(0.37f))), filterSaturationAmount(0.37f));
}

// The amount reaches only the routed sections of the drum chain (all four) and the colouration
// banks (A: 10; B: 2, and the disabled 7, which is the saturation law alone), with the
// voicing bias; a rate change keeps it, an amount of 0 switches them off.
TEST(VoicingBanksSaturation, AmountGoesOnlyToTheRoutedSections)
{
    auto check = [](const auto& bank, std::initializer_list<int> routed, double rate, double amount) {
        for (int i = 0; i < bank.sectionCount; ++i) {
            const MultiFilter& m = bank.cascade[i / 4];
            const bool on = amount > 0 && std::find(routed.begin(), routed.end(), i) != routed.end();
            EXPECT_EQ(m.saturationOn(i % 4), on) << i;
            EXPECT_EQ(m.saturationBias(i % 4), 0.03125) << i;
            EXPECT_TRUE(!on || m.saturationCoefficient(i % 4) == expectedK(bank, i, rate, amount)) << i;
        }
    };
    DrumInputChain drum;
    buildDrumInputChain(drum, 44100, filterSaturationAmount(0.0f));
    check(drum, {0, 1, 2, 3}, 44100, filterSaturationAmount(0.0f));
    drum.setSaturationAmount(filterSaturationAmount(0.8f));
    drum.setRate(96000);
    check(drum, {0, 1, 2, 3}, 96000, filterSaturationAmount(0.8f));
    ColourationBankA a;
    ColourationBankB b;
    buildColourationBankA(a, 44100, 0.0);
    buildColourationBankB(b, 44100, 0.0);
    a.setSaturationAmount(0.05);
    b.setSaturationAmount(0.05);
    check(a, {10}, 44100, 0.05);
    check(b, {2, 7}, 44100, 0.05);
    MultiFilter lawOnly;
    BiquadFilter idle;
    lawOnly.copyFrom(idle, idle, idle, b.section[7]);
    const double k = expectedK(b, 7, 44100, 0.05);
    for (double x : {0.5, -2.0, 8.0})
        EXPECT_NEAR(lawOnly.processSaturated(x), x / (1.0 + k * std::fabs(x + 0.03125)), 1e-12);
    a.setSaturationAmount(0.0);
    check(a, {10}, 44100, 0.0);
}

}  // namespace
}  // namespace orv
