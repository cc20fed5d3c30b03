#include "params/FactoryPrograms.h"

#include <initializer_list>

#include "params/ParameterIndex.h"

namespace orv {

namespace {

using namespace param;

struct Setting {
    int index;
    float value;
};

// "Default", in index order.
// clang-format off
constexpr float kDefault[kNumUserParams] = {
    0.0f,       // Bypass
    0.0f,       // CPUmode
    0.0f,       // Lever
    0.0f,       // Speed
    0.0f,       // Stop
    0.5f,       // Mech
    0.5f,       // Bottom
    0.5f,       // LoMid
    0.501063f,  // Presence
    0.5f,       // TopShlf
    0.25f,      // Setup
    0.500008f,  // Input
    0.5f,       // Type
    0.5f,       // Drive
    0.0f,       // Size
    0.508422f,  // Color
    0.0f,       // Amount
    0.0673f,    // HSlowSpd
    0.677088f,  // HFastSpd
    0.395142f,  // HAccel
    0.447158f,  // HDecel
    0.5f,       // HDistance
    0.0f,       // HHPF
    0.5f,       // HGain
    0.0931f,    // DSlowSpd
    0.65282f,   // DFastSpd
    0.759256f,  // DAccel
    0.831378f,  // DDecel
    0.0f,       // DDistance
    1.0f,       // DLPF
    0.5f,       // DGain
    0.5f,       // SpkrConf
    0.5f,       // BReflex
    0.5f,       // X-Talk
    0.5f,       // MechRatio
    0.5f,       // Width
    0.5f,       // Balance
    1.0f,       // Mix
    0.5f,       // Output
    1.0f,       // MIDIchl: all channels
    0.0f,       // LvrMode
    0.0f,       // SpdMode
};
// clang-format on

// The values of L'147, which "L'147 (no mech)" repeats.
// clang-format off
const std::initializer_list<Setting> kL147 = {
    {kBottom, 0.4f},     {kLoMid, 0.3f},      {kPresence, 0.5f},  {kTopShlf, 0.4f},   {kSetup, 0.1f},
    {kInput, 0.6f},      {kType, 1.0f},       {kDrive, 0.4f},     {kSize, 0.75f},     {kColor, 0.8f},
    {kAmount, 0.5f},     {kHSlowSpd, 0.073f}, {kHFastSpd, 0.722f}, {kHAccel, 0.48f},  {kHDecel, 0.5f},
    {kHDistance, 0.2f},  {kHHpf, 0.7f},       {kDSlowSpd, 0.067f}, {kDFastSpd, 0.688f}, {kDAccel, 0.75f},
    {kDDecel, 0.75f},    {kDDistance, 0.1f},  {kDLpf, 0.35f},     {kDGain, 0.4f},
};
// clang-format on

struct Named {
    const char* name;
    std::initializer_list<Setting> differences;  // values that differ from "Default"
    bool basedOnL147 = false;
};

// clang-format off
const Named kNamedPrograms[FactoryPrograms::kNumNamed] = {
    {"Default", {}},
    {"L'122", {}},
    {"L'147", kL147},
    {"Old Rotary",
     {{kMech, 0.52f},        {kPresence, 0.537063f}, {kTopShlf, 0.3f},       {kSetup, 0.405556f},
      {kInput, 0.5f},        {kDrive, 0.6f},         {kSize, 1.0f},          {kColor, 0.7f},
      {kAmount, 0.7f},       {kHSlowSpd, 0.0998f},   {kHFastSpd, 0.636088f}, {kHAccel, 0.478324f},
      {kHDecel, 0.520696f},  {kHDistance, 0.504297f}, {kHHpf, 0.624453f},    {kHGain, 0.46f},
      {kDSlowSpd, 0.0716f},  {kDFastSpd, 0.53132f},  {kDDecel, 0.731198f},   {kDDistance, 0.564f},
      {kDLpf, 0.892f}}},
    {"Relaxed",
     {{kBottom, 0.2f},     {kPresence, 0.5f},  {kTopShlf, 0.2f},   {kSetup, 0.4f},     {kInput, 0.5f},
      {kDrive, 0.35f},     {kSize, 1.0f},      {kColor, 0.2f},     {kAmount, 0.4f},    {kHSlowSpd, 0.11f},
      {kHFastSpd, 0.592f}, {kHAccel, 0.5f},    {kHDecel, 0.6f},    {kHDistance, 0.7f}, {kDSlowSpd, 0.093f},
      {kDFastSpd, 0.573f}, {kDAccel, 0.67f},   {kDDecel, 0.8f},    {kDDistance, 0.5f}, {kDGain, 0.3f}}},
    {"Wobble",
     {{kBottom, 0.4f},    {kPresence, 0.3f}, {kTopShlf, 0.4f},  {kSetup, 0.4f},     {kInput, 0.5f},
      {kType, 1.0f},      {kDrive, 0.4f},    {kSize, 0.7f},     {kColor, 0.5f},     {kAmount, 0.3f},
      {kHSlowSpd, 0.11f}, {kHFastSpd, 0.59f}, {kHAccel, 0.5f},  {kHDecel, 0.6f},    {kHDistance, 0.7f},
      {kDSlowSpd, 0.2f},  {kDFastSpd, 0.31f}, {kDAccel, 0.67f}, {kDDecel, 0.8f},    {kDDistance, 0.5f},
      {kDGain, 0.3f}}},
    {"Ramble",
     {{kPresence, 0.6f},  {kTopShlf, 0.4f},   {kSetup, 0.6f},   {kInput, 0.5f},     {kType, 1.0f},
      {kDrive, 0.4f},     {kSize, 0.5f},      {kColor, 0.0f},   {kAmount, 0.7f},    {kHSlowSpd, 0.11f},
      {kHFastSpd, 0.31f}, {kHAccel, 0.5f},    {kHDecel, 0.6f},  {kHDistance, 0.7f}, {kDSlowSpd, 0.2f},
      {kDFastSpd, 0.592f}, {kDAccel, 0.67f},  {kDDecel, 0.8f},  {kDDistance, 0.5f}, {kDGain, 0.3f}}},
    {"Synchro",
     {{kBottom, 0.4f},   {kPresence, 0.5f}, {kTopShlf, 0.4f}, {kSetup, 0.6f},     {kInput, 0.5f},
      {kType, 0.0f},     {kSize, 0.7f},     {kColor, 0.5f},   {kAmount, 0.3f},    {kHSlowSpd, 0.1f},
      {kHFastSpd, 0.6f}, {kHAccel, 0.5f},   {kHDecel, 0.5f},  {kHDistance, 0.7f}, {kDSlowSpd, 0.1f},
      {kDFastSpd, 0.6f}, {kDAccel, 0.5f},   {kDDecel, 0.5f},  {kDDistance, 0.5f}, {kDGain, 0.3f}}},
    {"Swift",
     {{kBottom, 0.4f},   {kPresence, 0.5f},   {kTopShlf, 0.4f}, {kSetup, 0.6f},     {kInput, 0.5f},
      {kType, 0.0f},     {kSize, 0.7f},       {kColor, 0.5f},   {kAmount, 0.3f},    {kHSlowSpd, 0.08f},
      {kHFastSpd, 0.685f}, {kHAccel, 0.0f},   {kHDecel, 0.0f},  {kHDistance, 0.7f}, {kDSlowSpd, 0.1f},
      {kDFastSpd, 0.6f}, {kDAccel, 0.0f},     {kDDecel, 0.0f},  {kDDistance, 0.5f}, {kDGain, 0.3f}}},
    {"Full Moon",
     {{kLoMid, 0.54f},       {kPresence, 0.560891f}, {kTopShlf, 0.624f},    {kSetup, 0.627778f},
      {kInput, 0.5f},        {kType, 0.664f},        {kDrive, 0.6f},        {kSize, 0.392f},
      {kColor, 1.0f},        {kAmount, 0.5f},        {kHSlowSpd, 0.085f},   {kHFastSpd, 0.67f},
      {kHAccel, 0.556971f},  {kHDecel, 0.451816f},   {kHDistance, 0.279828f}, {kHHpf, 0.572f},
      {kDSlowSpd, 0.6391f},  {kDFastSpd, 0.10132f},  {kDAccel, 0.615224f},  {kDDecel, 0.53959f},
      {kDDistance, 0.092f},  {kDLpf, 0.7368f}}},
    {"Light",
     {{kBottom, 0.353022f},   {kLoMid, 0.415703f},  {kPresence, 0.624501f}, {kSetup, 0.366667f},
      {kInput, 0.5f},         {kSize, 0.292f},      {kAmount, 0.292f},      {kHFastSpd, 0.674088f},
      {kHAccel, 0.475668f},   {kHDecel, 0.475668f}, {kHHpf, 0.5f},          {kDSlowSpd, 0.0925f},
      {kDFastSpd, 0.577715f}, {kDAccel, 0.671211f}, {kDDecel, 0.671211f},   {kDDistance, 0.5f},
      {kDLpf, 0.3504f}}},
    {"Lazy Horn",
     {{kPresence, 0.537063f},  {kSetup, 0.133334f},   {kInput, 0.5f},        {kSize, 0.5f},
      {kColor, 0.508034f},     {kAmount, 0.38f},      {kHSlowSpd, 0.0305f},  {kHFastSpd, 0.519465f},
      {kHAccel, 0.615224f},    {kHDecel, 0.615224f},  {kDSlowSpd, 0.0655316f}, {kDFastSpd, 0.66132f},
      {kDAccel, 0.573063f},    {kDDecel, 0.671211f},  {kDDistance, 0.232f}}},
    {"Broken Horn Motor",
     {{kDrive, 0.45f},       {kSize, 0.452f},       {kAmount, 0.38f},       {kHSlowSpd, 0.0f},
      {kHFastSpd, 0.0f},     {kHAccel, 0.475668f},  {kHDecel, 0.475668f},   {kDSlowSpd, 0.0316f},
      {kDFastSpd, 0.661299f}, {kDAccel, 0.671211f}, {kDDecel, 0.671211f},   {kDDistance, 0.232f}}},
    {"Mellow Drum",
     {{kInput, 0.337608f},   {kDrive, 0.45f},       {kSize, 0.464f},        {kAmount, 0.38f},
      {kHFastSpd, 0.633588f}, {kHAccel, 0.475668f}, {kHDecel, 0.475668f},   {kHDistance, 0.888f},
      {kDSlowSpd, 0.0321f},  {kDFastSpd, 0.30782f}, {kDAccel, 0.671211f},   {kDDecel, 0.671211f},
      {kDDistance, 0.5f},    {kDLpf, 0.3536f},      {kDGain, 0.732223f}}},
    {"Static Drum",
     {{kInput, 0.337608f},   {kSize, 0.464f},       {kAmount, 0.38f},       {kHFastSpd, 0.681088f},
      {kHAccel, 0.475668f},  {kHDecel, 0.475668f},  {kHDistance, 0.888f},   {kDSlowSpd, 0.0f},
      {kDFastSpd, 0.0f},     {kDAccel, 0.671211f},  {kDDecel, 0.671211f},   {kDDistance, 0.5f},
      {kDLpf, 0.3536f},      {kDGain, 0.732223f}}},
    {"Horn Mics",
     {{kBottom, 0.0f},        {kLoMid, 0.4f},        {kPresence, 0.6f},      {kSetup, 0.366667f},
      {kInput, 0.4f},         {kDrive, 0.57f},       {kSize, 0.292f},        {kAmount, 0.292f},
      {kHFastSpd, 0.674088f}, {kHAccel, 0.475668f},  {kHDecel, 0.475668f},   {kHDistance, 1.0f},
      {kHHpf, 0.3f},          {kDSlowSpd, 0.0925f},  {kDFastSpd, 0.578215f}, {kDAccel, 0.671211f},
      {kDDecel, 0.671211f},   {kDDistance, 0.5f},    {kDLpf, 0.3504f},       {kDGain, 0.0f}}},
    {"Single Mic",
     {{kLoMid, 0.624f},      {kSetup, 1.0f},        {kInput, 0.337608f},    {kSize, 0.464f},
      {kAmount, 0.2152f},    {kHFastSpd, 0.654f},   {kHAccel, 0.475668f},   {kHDecel, 0.475668f},
      {kHDistance, 0.888f},  {kHHpf, 0.228f},       {kDSlowSpd, 0.093f},    {kDFastSpd, 0.5785f},
      {kDAccel, 0.671211f},  {kDDecel, 0.671211f},  {kDDistance, 0.5f},     {kDLpf, 0.3496f},
      {kDGain, 0.0f}}},
    {"Whirled",
     {{kMech, 0.1f},          {kPresence, 0.5f},     {kTopShlf, 0.544f},     {kSetup, 0.688889f},
      {kInput, 0.5f},         {kType, 0.672f},       {kSize, 0.544f},        {kColor, 1.0f},
      {kAmount, 0.494f},      {kHSlowSpd, 0.1f},     {kHFastSpd, 0.6775f},   {kHAccel, 0.349485f},
      {kHDecel, 0.349485f},   {kHDistance, 0.0f},    {kDSlowSpd, 0.07501f},  {kDFastSpd, 0.67782f},
      {kDAccel, 0.650514f},   {kDDecel, 0.650514f},  {kDDistance, 0.5f},     {kXTalk, 0.708f},
      {kWidth, 1.0f},         {kMix, 0.5f},          {kOutput, 0.396f}}},
    {"Magnifying Glass",
     {{kMech, 0.4f},   {kInput, 0.5f},  {kSize, 0.304f}, {kColor, 0.5f},  {kAmount, 0.5f},
      {kHGain, 0.516f}, {kDGain, 0.532f}, {kXTalk, 0.06f}, {kWidth, 0.751828f}}},
    {"Bright Chorus",
     {{kMech, 0.0f},        {kBottom, 0.0f},      {kLoMid, 0.2488f},      {kTopShlf, 0.664f},
      {kSetup, 0.594444f},  {kInput, 0.5f},       {kSize, 0.168f},        {kColor, 0.5f},
      {kAmount, 0.5f},      {kHSlowSpd, 0.5f},    {kHFastSpd, 0.844934f}, {kHAccel, 0.0f},
      {kHDecel, 0.0f},      {kHHpf, 0.8352f},     {kDSlowSpd, 1.0f},      {kDFastSpd, 1.0f},
      {kDAccel, 0.0f},      {kDDecel, 0.0f},      {kSpkrConf, 1.0f},      {kBReflex, 0.0f},
      {kXTalk, 0.0f},       {kWidth, 1.0f},       {kMix, 0.7f},           {kOutput, 0.572f}}},
    {"Wide horn",
     {{kBottom, 0.2f},     {kPresence, 0.5f},  {kSetup, 0.4f},     {kInput, 0.5f},     {kDrive, 0.35f},
      {kSize, 1.0f},       {kColor, 0.2f},     {kAmount, 0.4f},    {kHSlowSpd, 0.11f}, {kHFastSpd, 0.592f},
      {kHAccel, 0.5f},     {kHDecel, 0.6f},    {kHDistance, 0.7f}, {kDSlowSpd, 0.093f}, {kDFastSpd, 0.573f},
      {kDAccel, 0.67f},    {kDDecel, 0.8f},    {kDDistance, 0.5f}, {kDGain, 0.3f},     {kSpkrConf, 1.0f},
      {kXTalk, 1.0f},      {kWidth, 0.844f},   {kMix, 0.308f}}},
    {"L'122 (no mech)", {{kMech, 0.0f}}},
    {"L'147 (no mech)", {{kMech, 0.0f}}, true},
    {"Bass drive",
     {{kMech, 0.0f},        {kBottom, 1.0f},      {kTopShlf, 1.0f},       {kSetup, 0.166667f},
      {kInput, 1.0f},       {kType, 0.372f},      {kDrive, 1.0f},         {kAmount, 0.316f},
      {kHSlowSpd, 0.5f},    {kHFastSpd, 0.844934f}, {kHAccel, 0.0f},      {kHDecel, 0.0f},
      {kHHpf, 0.8352f},     {kDSlowSpd, 0.0f},    {kDFastSpd, 0.0f},      {kDAccel, 0.0f},
      {kDDecel, 0.0f},      {kDDistance, 1.0f},   {kDLpf, 0.288f},        {kDGain, 0.732f},
      {kSpkrConf, 0.0f},    {kBReflex, 0.0f},     {kXTalk, 0.0f},         {kWidth, 1.0f},
      {kMix, 0.26f},        {kOutput, 0.316f}}},
};
// clang-format on

void apply(ProgramRecord& record, std::initializer_list<Setting> settings)
{
    for (const Setting& s : settings) record.values[s.index] = s.value;
}

}  // namespace

ProgramRecord FactoryPrograms::program(int slot)
{
    ProgramRecord record{};
    for (int i = 0; i < kNumUserParams; ++i) record.values[i] = kDefault[i];
    if (slot < 0 || slot >= kNumNamed) {
        setProgramRecordName(record, "Init");
        return record;
    }
    const Named& named = kNamedPrograms[slot];
    setProgramRecordName(record, named.name);
    if (named.basedOnL147) apply(record, kL147);
    apply(record, named.differences);
    return record;
}

void FactoryPrograms::write(ProgramRecord (&bank)[kNumPrograms])
{
    for (int slot = 0; slot < kNumPrograms; ++slot) bank[slot] = program(slot);
}

}  // namespace orv
