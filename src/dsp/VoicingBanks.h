#pragma once

#include "dsp/VoicingBank.h"

namespace orv {

// The fixed speaker and input voicings of the cabinet model, as VoicingBank instances.
using HornVoicingBank = VoicingBank<7>;       // full horn bank: 28 peaking sections
using ShortHornVoicingBank = VoicingBank<2>;  // horn-leak bank: 5 peaking sections + 3 disabled
using DrumInputChain = VoicingBank<1>;        // drum input: low-pass, peak, high-pass, low shelf
using ColourationBankA = VoicingBank<3>;      // engine's horn input colouration for horn models 1, 2
using ColourationBankB = VoicingBank<2>;      // engine's horn input colouration for the horn-leak model

// Saturation bias of every drum-chain and colouration-bank section.
inline constexpr double voicingSaturationBias = 0.03125;

extern const HornVoicingBank::Table hornVoicingTable;
extern const ShortHornVoicingBank::Table shortHornVoicingTable;
extern const DrumInputChain::Table drumInputTable;
extern const ColourationBankA::Table colourationTableA;
extern const ColourationBankB::Table colourationTableB;

// Builds the full horn bank at `rate` (never saturates; run it with process()).
void buildHornVoicingBank(HornVoicingBank& bank, double rate);
// Builds the short horn bank of the horn-leak model at `rate` (never saturates; process()).
void buildShortHornVoicingBank(ShortHornVoicingBank& bank, double rate);
// Builds the drum input chain at `rate`, all four sections saturating by `amount` (processSaturated()).
void buildDrumInputChain(DrumInputChain& chain, double rate, double amount);
// Builds colouration bank A at `rate`; section 11 saturates by `amount` (processSaturated()).
void buildColourationBankA(ColourationBankA& bank, double rate, double amount);
// Builds colouration bank B at `rate`; sections 3 and 8 saturate by `amount` (processSaturated()).
void buildColourationBankB(ColourationBankB& bank, double rate, double amount);
// Saturation amount of a "Horn/Drum Filter Saturation" value p in 0..1: 0.0008 x 400^p, in single precision.
double filterSaturationAmount(float p);

// At a rate change call bank.setRate(rate); when the saturation value changes call
// bank.setSaturationAmount(filterSaturationAmount(p)) (both colouration banks for the horn value).

}  // namespace orv
