#include <gtest/gtest.h>

#include <cmath>

#include "engine/CabinetGeometry.h"
#include "engine/RotorModel.h"

namespace orv {
namespace {

constexpr double kTol = 1e-9;

// Image positions (x, y) and their side and mirror signs, worked out from the wall distances.
struct Image {
    double x, y, side, mirror;
};

void expectImages(const CabinetGeometry& g, std::initializer_list<Image> images) {
    ASSERT_EQ(g.sourceCount, static_cast<int>(images.size()));
    int k = 0;
    for (const Image& i : images) {
        SCOPED_TRACE(testing::Message() << "source " << k << " at (" << i.x << ", " << i.y << ")");
        EXPECT_NEAR(g.source[k].x, i.x, kTol);
        EXPECT_NEAR(g.source[k].y, i.y, kTol);
        EXPECT_EQ(g.source[k].sideSign, i.side);
        EXPECT_EQ(g.source[k].mirrorSign, i.mirror);
        ++k;
    }
}

// Microphone 1 m straight in front, rotor radius 0.2 m, unflipped: the narrow wall (0.24 m)
// is side A (−x) and the wide wall (0.43 m) side B (+x); back and front walls 0.235 m.
TEST(CabinetGeometry, HornImagesInFrontOfTheCabinet) {
    CabinetGeometry g;
    g.compute(CabinetGeometry::Rotor::Horn, 0.0, 1.0, 0.2, 1.0);
    EXPECT_NEAR(g.micX, 0.0, kTol);
    EXPECT_NEAR(g.micY, -1.0, kTol);
    EXPECT_EQ(g.sideSign, 1.0);
    EXPECT_EQ(g.variant, CabinetGeometry::kFront);
    // The last four (front variant): the far images straight behind and diagonally.
    expectImages(g, {{0.0, 0.0, 1, 1}, {0.0, 0.47, 1, -1}, {0.86, 0.47, -1, -1}, {-0.48, 0.47, -1, -1},
                     {1.34, 0.47, 1, -1}, {-1.34, 0.47, 1, -1}, {0.86, 0.0, -1, 1}, {-0.48, 0.0, -1, 1},
                     {0.0, 1.41, 1, -1}, {2.2, 1.41, -1, -1}, {-1.82, 1.41, 1, -1}, {0.0, 2.35, 1, -1}});
    // Distances, directions and widths by hand: direct 1 m, back wall 1.47 m, wide side wall
    // sqrt(0.86^2 + 1).
    EXPECT_NEAR(g.source[0].distance, 1.0, kTol);
    EXPECT_NEAR(g.source[0].halfWidth, 0.2179529, 1e-6);  // acos(0.2) / 2π
    EXPECT_NEAR(g.source[1].distance, 1.47, kTol);
    EXPECT_NEAR(g.source[6].distance, 1.3189390, 1e-6);
    EXPECT_NEAR(g.source[6].direction, -0.1130431, 1e-6);  // −acos(1 / 1.31894) / 2π
}

TEST(CabinetGeometry, FlipSwapsTheSideWalls) {
    CabinetGeometry g;
    g.compute(CabinetGeometry::Rotor::Horn, 0.0, 1.0, 0.2, -1.0);
    EXPECT_NEAR(g.wallA, 0.43, kTol);
    EXPECT_NEAR(g.wallB, 0.24, kTol);
    EXPECT_NEAR(g.source[6].x, 0.48, kTol);
    EXPECT_NEAR(g.source[7].x, -0.86, kTol);
    EXPECT_NEAR(g.alphaA, 0.1704, 1e-4);  // atan(0.43 / 0.235) / 2 pi
    EXPECT_NEAR(g.alphaB, 0.1267, 1e-4);  // atan(0.24 / 0.235) / 2 pi
}

// Behind the rotor the cabinet is seen turned round: every wall is negated, so the images
// are the point reflections of the front case and their distances stay the same.
TEST(CabinetGeometry, MicrophoneBehindUsesTheMirroredCabinet) {
    CabinetGeometry front, back;
    front.compute(CabinetGeometry::Rotor::Horn, 0.0, 1.0, 0.2, 1.0);
    back.compute(CabinetGeometry::Rotor::Horn, 0.5, 1.0, 0.2, 1.0);
    EXPECT_EQ(back.sideSign, -1.0);
    EXPECT_NEAR(back.micY, 1.0, kTol);
    EXPECT_EQ(back.variant, CabinetGeometry::kFront);
    for (int k = 0; k < 12; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(back.source[k].x, -front.source[k].x, kTol);
        EXPECT_NEAR(back.source[k].y, -front.source[k].y, kTol);
        EXPECT_NEAR(back.source[k].distance, front.source[k].distance, kTol);
    }
    EXPECT_NEAR(std::fabs(back.source[0].direction), 0.5, kTol);
}

TEST(CabinetGeometry, DrumHasSixImages) {
    CabinetGeometry g;
    g.compute(CabinetGeometry::Rotor::Drum, 0.0, 0.8, 0.2, -1.0);  // wide wall on side A
    expectImages(g, {{0.0, 0.0, 1, 1}, {0.48, 0.0, -1, 1}, {-0.86, 0.0, -1, 1}, {0.0, 0.47, 1, -1},
                     {0.48, 0.47, -1, -1}, {-0.86, 0.47, -1, -1}});
    // The drum microphone 0.8 m in front: the direct image 0.8 m away, half-width acos(0.25) / 2 pi.
    EXPECT_NEAR(g.source[0].distance, 0.8, kTol);
    EXPECT_NEAR(g.source[0].halfWidth, 0.2097846, 1e-6);
}

// Boundary angles, unflipped: αA = atan(0.24/0.235)/2π ≈ 0.1267, αB = atan(0.43/0.235)/2π ≈
// 0.1704. For a microphone in front the variant angle is −θ.
TEST(CabinetGeometry, VariantFollowsTheMicrophoneAngle) {
    struct Case {
        double theta, direction;
        int variant;
    };
    const Case cases[] = {
        {0.0, 1.0, CabinetGeometry::kFront},
        {0.1, 1.0, CabinetGeometry::kFront},    // −0.1 > −αB
        {0.2, 1.0, CabinetGeometry::kSideB},    // −0.2 < −αB
        {-0.12, 1.0, CabinetGeometry::kFront},  // 0.12 < αA
        {-0.15, 1.0, CabinetGeometry::kSideA},  // 0.15 > αA
        {-0.15, -1.0, CabinetGeometry::kFront}, // flipped: αA ≈ 0.1704
        {0.15, -1.0, CabinetGeometry::kSideB},  // flipped: −αB ≈ −0.1267
        // Behind the rotor (parameter 0.2 and 0.8): mirror images of each other.
        {-0.3, 1.0, CabinetGeometry::kSideB},
        {0.3, 1.0, CabinetGeometry::kSideA},
        {0.5, 1.0, CabinetGeometry::kFront},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "theta " << c.theta << " direction " << c.direction);
        CabinetGeometry g;
        g.compute(CabinetGeometry::Rotor::Horn, c.theta, 1.0, 0.2, c.direction);
        EXPECT_EQ(g.variant, c.variant);
    }
}

// The model takes its variant from the geometry and picks its side-wall ray from it.
TEST(HornModelGeometry, VariantSelectsTheRaySet) {
    RotorModel m(RotorModel::Kind::Mic1);
    m.setMicDistance(1.0);
    const double params[] = {0.5, 0.2, 0.8, 0.7, 0.3};
    const int variants[] = {1, 2, 0, 2, 0};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(params[i]);
        m.setMicAngle(params[i] - 0.5);
        m.setGeometry();
        EXPECT_EQ(m.variant(), variants[i]);
        if (variants[i] == 1) {
            EXPECT_EQ(m.rayCount(), 10);
        } else {
            ASSERT_EQ(m.rayCount(), 11);
            EXPECT_EQ(m.raySource(10), variants[i] == 0 ? 6 : 7);
        }
        EXPECT_EQ(m.raySource(6), 8);
        EXPECT_EQ(m.raySource(9), 11);
    }
}

TEST(HornModelGeometry, OpenBackHalvesTheBackRaysOnlyWhenFlippedAgainstTheSide) {
    RotorModel m(RotorModel::Kind::Mic1);
    m.setMicAngle(0.0);
    m.setOpenBackMode(1);
    m.setGeometry();
    EXPECT_EQ(m.openBackFactor(), 1.0);       // direction +1, side +1
    m.setDirection(-1.0);                     // rebuilds at once
    EXPECT_NEAR(m.openBackFactor(), 0.50118723362, 1e-12);
    m.setOpenBackMode(0);
    m.setGeometry();
    EXPECT_EQ(m.openBackFactor(), 1.0);
    m.setOpenBackMode(1);
    m.setMicAngle(0.2);                       // a side variant never opens the back
    m.setGeometry();
    EXPECT_EQ(m.openBackFactor(), 1.0);
}

TEST(HornModelGeometry, LevelNormalisationAndOutputGain) {
    RotorModel m(RotorModel::Kind::Mic2);
    const double R = 0.2, rm = 1.0;
    m.setAmRadius(R);
    m.setMicDistance(rm);
    m.setAttenuation(1.0);
    m.setAttenuationDistance(1.0);
    m.setDecayExponent(1.0);
    m.setMicAngle(0.0);
    m.setGeometry();
    // Direct distance 1 m, half-width acos(0.2) / 2 pi = 0.21795: the reflections are normalised
    // at (R + rm - (0.6366 - 2.546 x 0.21795) R - 0.3) m = 88.366 cm.
    EXPECT_NEAR(m.reflectionGain(), std::pow(1.0 / m.attenuationAt(88.3661612), 0.7), 1e-9);
    // (1.3 - 0.5 ((rm - 0.35) / 1.65 + 0.1)^0.75) x 0.97723722095 (-0.2 dB).
    EXPECT_NEAR(m.outputGain(), 0.9825192669, 1e-9);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// An image source on top of the microphone (the horn-leak model's side-wall image, seen from
// a drum microphone 0.86 m to the side) is held 1 mm away and keeps finite values.
TEST(CabinetGeometry, ImageOnTheMicrophoneStaysFinite) {
    CabinetGeometry g;
    g.compute(CabinetGeometry::Rotor::Horn, 0.25, 0.86, 0.2, 1.0);
    const ImageSource& s = g.source[6];  // (2B, 0) = (0.86, 0)
    EXPECT_NEAR(s.distance, 0.001, 1e-12);
    EXPECT_TRUE(std::isfinite(s.direction));
    EXPECT_GT(s.halfWidth, 0.0);
}

}  // namespace
}  // namespace orv
