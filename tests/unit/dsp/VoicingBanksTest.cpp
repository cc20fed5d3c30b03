#include "dsp/VoicingBanks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "FilterReference.h"

namespace orv {
namespace {

using test::measureGain;
using test::response;
using test::toDb;

// The banks' measured responses are stored as data (data/voicing_banks.txt: bank, rate,
// frequency, dB), written with ORV_UPDATE_VOICING_TABLE=1 when a voicing changes on purpose.
std::string tableFile() { return std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/dsp/data/voicing_banks.txt"; }

constexpr double kProbeFrequencies[] = {60.0, 250.0, 780.0, 1150.0, 2000.0, 2940.0, 3860.0, 5950.0, 9000.0};
constexpr double kTolerance = 0.01;  // dB

template <class Bank>
std::vector<double> measuredDb(Bank& bank, double fs, bool saturating) {
    std::vector<double> db;
    for (double f : kProbeFrequencies) {
        bank.clearState();
        db.push_back(toDb(measureGain(
            [&](double x) { return saturating ? bank.processSaturated(x) : bank.process(x); }, f, fs)));
    }
    return db;
}

// Every bank at two rates, as a name per probe row.
std::map<std::string, std::vector<double>> measureAllBanks() {
    std::map<std::string, std::vector<double>> rows;
    for (double fs : {44100.0, 96000.0}) {
        const std::string rate = " " + std::to_string(static_cast<int>(fs));
        HornVoicingBank horn;
        buildHornVoicingBank(horn, fs);
        rows["horn" + rate] = measuredDb(horn, fs, false);
        ShortHornVoicingBank shortHorn;
        buildShortHornVoicingBank(shortHorn, fs);
        rows["shortHorn" + rate] = measuredDb(shortHorn, fs, false);
        // The saturating banks run their saturating path with the amount at 0.
        DrumInputChain drum;
        buildDrumInputChain(drum, fs, 0.0);
        rows["drum" + rate] = measuredDb(drum, fs, true);
        ColourationBankA a;
        buildColourationBankA(a, fs, 0.0);
        rows["colourationA" + rate] = measuredDb(a, fs, true);
        ColourationBankB b;
        buildColourationBankB(b, fs, 0.0);
        rows["colourationB" + rate] = measuredDb(b, fs, true);
    }
    return rows;
}

TEST(VoicingBanksResponse, EveryBankMatchesTheStoredResponse)
{
    const auto now = measureAllBanks();
    if (const char* update = std::getenv("ORV_UPDATE_VOICING_TABLE"); update != nullptr && *update == '1') {
        std::ofstream out(tableFile());
        out.precision(8);
        for (const auto& [name, db] : now) {
            for (size_t k = 0; k < db.size(); ++k) out << name << ' ' << kProbeFrequencies[k] << ' ' << db[k] << '\n';
        }
        GTEST_SKIP() << "table written to " << tableFile();
    }
    std::ifstream in(tableFile());
    ASSERT_TRUE(in.good()) << "missing " << tableFile();
    std::string bank;
    int rate = 0, checked = 0;
    double f = 0, db = 0;
    while (in >> bank >> rate >> f >> db) {
        const std::string name = bank + " " + std::to_string(rate);
        const auto* probe = std::find(std::begin(kProbeFrequencies), std::end(kProbeFrequencies), f);
        ASSERT_TRUE(now.count(name) == 1 && probe != std::end(kProbeFrequencies)) << name << " " << f;
        EXPECT_NEAR(now.at(name)[probe - kProbeFrequencies], db, kTolerance) << name << " at " << f << " Hz";
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(now.size() * std::size(kProbeFrequencies)));  // no row missing
}

TEST(VoicingBanksContents, EachHornPeakHasItsGainAtItsFrequency)
{
    HornVoicingBank horn;
    buildHornVoicingBank(horn, 44100);
    for (const BiquadFilter& s : horn.section) {
        const test::Sos sos{{s.b0, s.b1, s.b2}, {1.0, s.a1, s.a2}};
        EXPECT_NEAR(toDb(std::abs(response(sos, s.frequency, 44100))), s.gainDb, 1e-9) << s.frequency;
    }
}

TEST(VoicingBanksContents, DisabledShortHornSectionsChangeNothing)
{
    ShortHornVoicingBank shortHorn;
    buildShortHornVoicingBank(shortHorn, 44100);
    for (int stage = 1; stage < 4; ++stage) {
        const double* c = shortHorn.cascade[1].coefficient[stage];
        EXPECT_EQ(c[MultiFilter::cB0], 1.0);
        EXPECT_EQ(c[MultiFilter::cB1], 0.0);
        EXPECT_EQ(c[MultiFilter::cB2], 0.0);
        EXPECT_EQ(c[MultiFilter::cA1], 0.0);
        EXPECT_EQ(c[MultiFilter::cA2], 0.0);
        EXPECT_EQ(shortHorn.cascade[1].saturationOn[stage], 0u);
    }
}

TEST(VoicingBanksResponse, RateChangeRedesignsAndClearsHistory)
{
    HornVoicingBank horn, fresh, at44100;
    buildHornVoicingBank(horn, 44100);
    buildHornVoicingBank(fresh, 88200);
    buildHornVoicingBank(at44100, 44100);
    for (int n = 0; n < 500; ++n)
        horn.process(std::sin(0.2 * n));
    horn.setRate(88200);
    for (const MultiFilter& m : horn.cascade)
        for (int k = 0; k < MultiFilter::stageCount; ++k)
            for (double s : m.state[k])
                EXPECT_EQ(s, 0.0);
    for (int n = 0; n < 2000; ++n) {
        const double x = std::sin(0.03 * n);
        ASSERT_EQ(horn.process(x), fresh.process(x)) << n;
    }
    // Rates outside 20 kHz .. 400 kHz design the sections for 44.1 kHz.
    horn.setRate(11025);
    for (int n = 0; n < 2000; ++n) {
        const double x = std::sin(0.03 * n);
        ASSERT_EQ(horn.process(x), at44100.process(x)) << n;
    }
}

// ---------------------------------------------------------------- saturation

double expectedK(double f0, double q, double fs, double amount)
{
    return 3.0 * f0 * amount * (44100.0 / fs) / (100000.0 * std::pow(q, 0.75));
}

TEST(VoicingBanksSaturation, AmountLawInSinglePrecision)
{
    EXPECT_EQ(filterSaturationAmount(0.0f), static_cast<double>(0.0008f));
    EXPECT_NEAR(filterSaturationAmount(1.0f), 0.32, 1e-7);
    EXPECT_NEAR(filterSaturationAmount(0.5f), 0.016, 1e-8);
    EXPECT_EQ(static_cast<double>(static_cast<float>(filterSaturationAmount(0.37f))), filterSaturationAmount(0.37f));
}

TEST(VoicingBanksSaturation, DrumChainSaturatesEvenAtTheLowestSetting)
{
    const double amount = filterSaturationAmount(0.0f);
    DrumInputChain drum;
    buildDrumInputChain(drum, 44100, amount);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(drum.cascade[0].saturationOn[k], 1u) << k;
        EXPECT_EQ(drum.cascade[0].saturationBias[k], 0.03125) << k;
        EXPECT_NEAR(drum.cascade[0].saturationCoefficient[k],
                    expectedK(drum.section[k].frequency, drum.section[k].q, 44100, amount), 1e-15) << k;
    }
    // A new amount reaches every section and the cascade; a new rate keeps it.
    const double more = filterSaturationAmount(0.8f);
    drum.setSaturationAmount(more);
    drum.setRate(96000);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(drum.cascade[0].saturationCoefficient[k],
                    expectedK(drum.section[k].frequency, drum.section[k].q, 96000, more), 1e-15) << k;
}

TEST(VoicingBanksSaturation, HornAmountGoesOnlyToTheRoutedColourationSections)
{
    ColourationBankA a;
    ColourationBankB b;
    buildColourationBankA(a, 44100, 0.0);
    buildColourationBankB(b, 44100, 0.0);
    const double amount = 0.05;
    a.setSaturationAmount(amount);
    b.setSaturationAmount(amount);
    for (int i = 0; i < 12; ++i) {
        const MultiFilter& m = a.cascade[i / 4];
        EXPECT_EQ(m.saturationOn[i % 4], i == 10 ? 1u : 0u) << "A " << i;
        EXPECT_EQ(m.saturationBias[i % 4], 0.03125) << "A " << i;
    }
    EXPECT_NEAR(a.cascade[2].saturationCoefficient[2], expectedK(2000, 1.0, 44100, amount), 1e-15);
    for (int i = 0; i < 8; ++i) {
        const MultiFilter& m = b.cascade[i / 4];
        EXPECT_EQ(m.saturationOn[i % 4], (i == 2 || i == 7) ? 1u : 0u) << "B " << i;
        EXPECT_EQ(m.saturationBias[i % 4], 0.03125) << "B " << i;
    }
    EXPECT_NEAR(b.cascade[0].saturationCoefficient[2], expectedK(180, 0.35, 44100, amount), 1e-15);
    EXPECT_NEAR(b.cascade[1].saturationCoefficient[3], expectedK(1150, 11, 44100, amount), 1e-15);

    // The disabled last section of bank B is the saturation law alone.
    const double* c = b.cascade[1].coefficient[3];
    EXPECT_EQ(c[MultiFilter::cB0], 1.0);
    EXPECT_EQ(c[MultiFilter::cA1], 0.0);
    MultiFilter lawOnly;
    BiquadFilter idle;
    lawOnly.copyFrom(idle, idle, idle, b.section[7]);
    const double k = expectedK(1150, 11, 44100, amount);
    for (double x : {0.5, -2.0, 8.0})
        EXPECT_NEAR(lawOnly.processSaturated(x), x / (1.0 + k * std::fabs(x + 0.03125)), 1e-12);

    a.setSaturationAmount(0.0);
    for (const MultiFilter& m : a.cascade)
        for (std::uint32_t on : m.saturationOn)
            EXPECT_EQ(on, 0u);
}

TEST(VoicingBanksSaturation, HornBanksNeverSaturate)
{
    HornVoicingBank horn;
    buildHornVoicingBank(horn, 44100);
    ShortHornVoicingBank shortHorn;
    buildShortHornVoicingBank(shortHorn, 44100);
    for (const MultiFilter& m : horn.cascade)
        for (std::uint32_t on : m.saturationOn)
            EXPECT_EQ(on, 0u);
    for (const MultiFilter& m : shortHorn.cascade)
        for (std::uint32_t on : m.saturationOn)
            EXPECT_EQ(on, 0u);
    // Plain and saturating runs agree exactly.
    HornVoicingBank twin = horn;
    for (int n = 0; n < 1000; ++n) {
        const double x = 2.0 * std::sin(0.05 * n);
        ASSERT_EQ(horn.process(x), twin.processSaturated(x));
    }
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// Two banks side by side give exactly what each gives alone, whichever is longer.
TEST(VoicingBanksPair, SideBySideEqualsOneAfterTheOther)
{
    ColourationBankA a, a2;
    ColourationBankB b, b2;
    buildColourationBankA(a, 48000, filterSaturationAmount(0.7f));
    buildColourationBankB(b, 48000, filterSaturationAmount(0.7f));
    buildColourationBankA(a2, 48000, filterSaturationAmount(0.7f));
    buildColourationBankB(b2, 48000, filterSaturationAmount(0.7f));
    for (int n = 0; n < 4000; ++n) {
        const double x = 2.5 * std::sin(0.013 * n) + 0.3 * std::sin(0.41 * n);
        double ya = x, yb = 0.5 * x;
        processSaturatedPair(a, ya, b, yb);
        ASSERT_EQ(ya, a2.processSaturated(x)) << n;
        ASSERT_EQ(yb, b2.processSaturated(0.5 * x)) << n;
        double zb = x, za = x;
        processSaturatedPair(b2, zb, a2, za);  // the shorter bank first
        ASSERT_EQ(zb, b.processSaturated(x)) << n;
        ASSERT_EQ(za, a.processSaturated(x)) << n;
    }
}

}  // namespace
}  // namespace orv
