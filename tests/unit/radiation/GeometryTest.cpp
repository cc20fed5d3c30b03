// The set-up the models compute before they run: cabinet images and variants, the rays each
// model picks, its level normalisation, the attenuation and direction tables and the leak
// paths between the rotors. A grid of them is compared with data/geometry.txt (written again
// with ORV_UPDATE_GEOMETRY_GOLDEN=1 after a deliberate change); the values worked out by hand
// below are the independent check of what the grid holds.

#include <gtest/gtest.h>

#include <cstdio>

#include "ModelRig.h"
#include "engine/AttenuationTable.h"
#include "engine/CabinetGeometry.h"
#include "engine/CrossPaths.h"
#include "engine/DirectionTables.h"
#include "support/GoldenRows.h"

namespace orv::test {
namespace {

using Rotor = CabinetGeometry::Rotor;

std::string rowName(const char* format, double a, double b, double c = 0.0, double d = 0.0)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, format, a, b, c, d);
    return buf;
}

TEST(SetUpGolden, GridMatchesTheStoredValues)
{
    GoldenRows now;
    for (Rotor rotor : {Rotor::Horn, Rotor::Drum})
        for (double theta : {-0.4, -0.15, -0.12, 0.0, 0.1, 0.2, 0.25, 0.5})
            for (double distance : {0.3, 0.86, 1.98})
                for (double direction : {1.0, -1.0}) {
                    CabinetGeometry g;
                    g.compute(rotor, theta, distance, 0.2, direction);
                    std::vector<double> v{double(g.variant), g.sideSign, g.micX, g.micY, g.alphaA, g.alphaB};
                    for (int k = 0; k < g.sourceCount; ++k) {
                        const ImageSource& s = g.source[k];
                        v.insert(v.end(), {s.x, s.y, s.sideSign, s.mirrorSign, s.distance, s.direction, s.halfWidth});
                    }
                    now.emplace_back(rowName(rotor == Rotor::Horn ? "horn_images_%g_%g_%g" : "drum_images_%g_%g_%g",
                                             theta, distance, direction),
                                     v);
                }
    auto model = [&](auto m, const char* name, double theta, double distance) {
        m->setMicAngle(theta);
        m->setMicDistance(distance);
        m->setGeometry();
        std::vector<double> v{double(m->variant()), m->reflectionGain()};
        for (int k = 0; k < m->rayCount(); ++k) v.push_back(m->raySource(k));
        for (double x : {0.0, 1.0, 12.5, 100.0, 511.0}) v.push_back(m->attenuationAt(x));
        if constexpr (std::is_same_v<decltype(m), std::unique_ptr<RotorModel>>) {
            v.push_back(m->outputGain());
            v.push_back(m->openBackFactor());
        }
        now.emplace_back(rowName(name, theta, distance), v);
    };
    for (double theta : {-0.3, 0.0, 0.2, 0.5})
        for (double distance : {0.35, 1.0, 1.98}) {
            model(makeHorn(1.0, 0.0, RotorModel::Kind::Mic1), "horn_mic1_%g_%g", theta, distance);
            model(makeHorn(1.0, 0.0, RotorModel::Kind::Mic2), "horn_mic2_%g_%g", theta, distance);
            model(makeHorn(1.0, 0.0, RotorModel::Kind::Leak), "horn_leak_%g_%g", theta, distance);
            model(makeDrum(1.0, 0.0, LightRotorModel::Kind::Mic), "drum_mic_%g_%g", theta, distance);
            model(makeDrum(1.0, 0.0, LightRotorModel::Kind::Leak), "drum_leak_%g_%g", theta, distance);
        }
    for (double x = 0.0; x <= 36.0; x += 0.25) {
        const FilterSetting a = DirectionTables::hornA(x), b = DirectionTables::hornB(x / 2),
                            d = DirectionTables::drum(x / 2);
        now.emplace_back(rowName("direction_%g", x, 0.0),
                         std::vector<double>{a.frequency, a.q, a.gainDb, b.gainDb, d.frequency, d.q});
    }
    const double tables[][4] = {{0.2, 1.0, 1.0, 1.0}, {0.125, 2.0, 0.1, 0.5}, {0.25, 0.5, 3.0, 2.0}};
    for (const auto& [R, n, D, p] : tables) {
        AttenuationTable t;
        t.build(R, n, D, p);
        now.emplace_back(rowName("attenuation_%g_%g_%g_%g", R, n, D, p), std::vector<double>(t.data(), t.data() + 512));
    }
    for (double hornAngle : {0.0, 0.3})
        for (double drumDistance : {0.3, 0.5, 1.65}) {
            auto horn = makeHorn(1.0, 0.0, RotorModel::Kind::Leak);
            auto drum = makeDrum(1.0, 0.0, LightRotorModel::Kind::Leak);
            CrossPaths p;
            p.compute({hornAngle, 1.0, 0.25, drumDistance, 1.2, 0.6, 44100.0}, *horn, *drum);
            std::vector<double> v(p.delay, p.delay + CrossPaths::kPaths);
            v.insert(v.end(), p.gain, p.gain + CrossPaths::kPaths);
            now.emplace_back(rowName("cross_%g_%g", hornAngle, drumDistance), v);
        }
    expectGoldenRows(std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/radiation/data/geometry.txt",
                     "ORV_UPDATE_GEOMETRY_GOLDEN", now, [](double got, double want, const std::vector<double>&) {
                         return std::fabs(got - want) <= 1e-9 * std::max(1.0, std::fabs(want));
                     });
}

// Microphone 1 m in front, radius 0.2 m, unflipped: the narrow wall (0.24 m) is side A (−x),
// the wide one (0.43 m) side B; back and front walls 0.235 m. Image (x, y, side, mirror).
TEST(CabinetGeometry, ImagesWorkedOutFromTheWalls)
{
    CabinetGeometry g;
    g.compute(Rotor::Horn, 0.0, 1.0, 0.2, 1.0);
    const double images[][4] = {{0.0, 0.0, 1, 1},    {0.0, 0.47, 1, -1},   {0.86, 0.47, -1, -1}, {-0.48, 0.47, -1, -1},
                                {1.34, 0.47, 1, -1}, {-1.34, 0.47, 1, -1}, {0.86, 0.0, -1, 1},   {-0.48, 0.0, -1, 1},
                                {0.0, 1.41, 1, -1},  {2.2, 1.41, -1, -1},  {-1.82, 1.41, 1, -1}, {0.0, 2.35, 1, -1}};
    ASSERT_EQ(g.sourceCount, 12);
    for (int k = 0; k < 12; ++k) {
        const ImageSource& s = g.source[k];
        EXPECT_TRUE(std::fabs(s.x - images[k][0]) < 1e-9 && std::fabs(s.y - images[k][1]) < 1e-9) << k;
        EXPECT_TRUE(s.sideSign == images[k][2] && s.mirrorSign == images[k][3]) << k;
    }
    EXPECT_NEAR(g.micY, -1.0, 1e-9);
    EXPECT_NEAR(g.source[1].distance, 1.47, 1e-9);         // back wall
    EXPECT_NEAR(g.source[0].halfWidth, 0.2179529, 1e-6);   // acos(0.2) / 2π
    EXPECT_NEAR(g.source[6].distance, 1.3189390, 1e-6);    // √(0.86² + 1)
    EXPECT_NEAR(g.source[6].direction, -0.1130431, 1e-6);  // −acos(1 / 1.31894) / 2π
    g.compute(Rotor::Horn, 0.0, 1.0, 0.2, -1.0);           // flipped: the walls swap
    EXPECT_NEAR(g.alphaA, 0.1704, 1e-4);                   // atan(0.43 / 0.235) / 2π
    EXPECT_NEAR(g.alphaB, 0.1267, 1e-4);
    g.compute(Rotor::Drum, 0.0, 0.8, 0.2, -1.0);
    EXPECT_EQ(g.sourceCount, 6);
    EXPECT_NEAR(g.source[0].halfWidth, 0.2097846, 1e-6);  // acos(0.25) / 2π
    g.compute(Rotor::Horn, 0.25, 0.86, 0.2, 1.0);         // the wide-wall image on the microphone
    EXPECT_NEAR(g.source[6].distance, 0.001, 1e-12);      // held 1 mm away
    EXPECT_TRUE(std::isfinite(g.source[6].direction));
}

// In front the variant angle is -theta; behind the rotor (+-0.3) the cabinet is seen turned
// round. The side variants add the side-wall ray of their own wall (image 6 or 7); every variant has
// the far images 8 … 11. The back is opened (−6 dB on the back rays) only for a front
// microphone with the rotor flipped against it. Output gain by hand:
// (1.3 − 0.5 ((1 − 0.35) / 1.65 + 0.1)^0.75) × 10^(−0.2/20) = 0.9825192669.
TEST(HornModelSetUp, RaysOpenBackAndOutputGain)
{
    auto m = makeHorn(1.0, 0.0, RotorModel::Kind::Mic2);
    const double cases[][3] = {{0.0, 1, -1}, {-0.3, 2, 7}, {0.3, 0, 6}, {0.2, 2, 7}, {-0.2, 0, 6}};
    for (const auto& [theta, variant, sideRay] : cases) {
        m->setMicAngle(theta);
        m->setGeometry();
        EXPECT_EQ(m->variant(), static_cast<int>(variant)) << theta;
        EXPECT_EQ(m->rayCount(), variant == 1 ? 10 : 11) << theta;
        if (variant != 1) {
            EXPECT_EQ(m->raySource(10), static_cast<int>(sideRay)) << theta;
        }
        EXPECT_EQ(m->raySource(6), 8);
        EXPECT_EQ(m->raySource(9), 11);
    }
    m->setMicAngle(0.0);
    m->setGeometry();
    EXPECT_NEAR(m->outputGain(), 0.9825192669, 1e-9);
    EXPECT_EQ(m->openBackFactor(), 1.0);
    m->setOpenBackMode(1);
    m->setDirection(-1.0);  // rebuilds at once
    EXPECT_NEAR(m->openBackFactor(), 0.50118723362, 1e-12);
    m->setMicAngle(0.2);  // a side variant never opens the back
    m->setGeometry();
    EXPECT_EQ(m->openBackFactor(), 1.0);
}

// Entry i lies at d0 + 0.01 i (d0 = 0.3 − R), entry 0 is (R/0.3)^n. By hand for R 0.2, n 1,
// fade 1 m, p 1: t1 = t0 (0.1/0.11)^0.99, t2 = t1 (0.11/0.12)^0.98. With a very steep fade the
// level is the plain power law up to the fade distance and constant beyond; a fade shorter
// than one step or n = 0 leaves it flat.
TEST(AttenuationTable, WorkedEntriesAndLimits)
{
    AttenuationTable t;
    t.build(0.2, 1.0, 1.0, 1.0);
    EXPECT_NEAR(t[0], 0.6666666666666667, 1e-15);
    EXPECT_NEAR(t[1], 0.6066385188750889, 1e-14);
    EXPECT_NEAR(t[2], 0.5570538664487424, 1e-14);
    EXPECT_DOUBLE_EQ(t.at(12.0), t[12]);
    EXPECT_LT(t.at(12.5), t[12]);
    EXPECT_GT(t.at(12.5), t[13]);
    EXPECT_DOUBLE_EQ(t.at(-3.0), t[0]);
    EXPECT_DOUBLE_EQ(t.at(900.0), t[511]);
    t.build(0.2, 2.0, 2.0, 400.0);
    for (int i : {0, 5, 50, 150})
        EXPECT_NEAR(t[i], std::pow(0.2 / 0.3, 2.0) * std::pow(0.1 / (0.1 + 0.01 * i), 2.0), 1e-9 * t[i]);
    EXPECT_NEAR(t[400], t[511], 1e-15);
    t.build(0.2, 1.5, 0.01, 1.0);
    for (int i : {0, 1, 255, 511}) EXPECT_DOUBLE_EQ(t[i], std::pow(0.2 / 0.3, 1.5));
    t.build(0.2, 0.0, 1.0, 1.0);
    for (int i : {0, 1, 255, 511}) EXPECT_DOUBLE_EQ(t[i], 1.0);
}

// Horn microphone 1 m in front, drum microphone 0.5 m to the side, both radii 0.2 m: in rotor
// radii the microphones sit at (0, −5) and (2.5, 0), the horn plane 0.77 above; K = 44100 /
// 340.29 = 129.5954 samples per unit. Delays by hand: (√(25 + 0.77²) − 0.77) K,
// √(25 + 0.77²) K, (√(2.3² + 0.77²) − 0.77) K, (√(0.2² + 25 + 0.77²) − 0.77) K, 2.5 K. Every
// gain reads the far end of its model's table.
TEST(CrossPaths, DelaysAndGainsFromTheMicrophonePositions)
{
    auto horn = makeHorn(1.0, 0.0, RotorModel::Kind::Leak);
    auto drum = makeDrum(1.0, 0.0, LightRotorModel::Kind::Leak);
    drum->setAttenuation(2.0);  // tables that differ at the far end
    drum->setGeometry();
    CrossPaths p;
    p.compute({0.0, 1.0, 0.25, 0.5, 1.2, 0.6, 44100.0}, *horn, *drum);
    const double delays[] = {555.826993614578, 655.6154093776038, 214.54107990886547, 556.339135215221,
                             323.98836286696644};
    const double hornFar = horn->attenuationAt(511.0), drumFar = drum->attenuationAt(511.0);
    ASSERT_GT(std::fabs(hornFar - drumFar), 0.01 * hornFar);
    const double gains[] = {drumFar * 1.2, drumFar * 1.2 * 0.6, hornFar * 1.2, hornFar * 1.2, drumFar * 0.6};
    for (int k = 0; k < CrossPaths::kPaths; ++k) {
        EXPECT_NEAR(p.delay[k], delays[k], 1e-9) << k;
        EXPECT_NEAR(p.gain[k], gains[k], 1e-12 * gains[k]) << k;
    }
    // Far microphones and the smallest radius would need more than the leak lines hold.
    horn->setFmRadius(0.125);
    p.compute({0.0, 1.65, 0.0, 0.5, 1.0, 1.0, 48000.0}, *horn, *drum);
    EXPECT_EQ(p.delay[0], CrossPaths::kMaxDelay);           // 13.2 radii: 1753 samples
    EXPECT_NEAR(p.delay[4], 2.5 * 48000.0 / 340.29, 1e-9);  // the drum side is unaffected
}

}  // namespace
}  // namespace orv::test
