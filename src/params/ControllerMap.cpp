#include "params/ControllerMap.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "params/ParameterLaws.h"

namespace orv {

float ControllerMap::encode(int controller)
{
    const int step = isController(controller) ? controller : kNoneStep;
    return static_cast<float>((step + 0.5) / kNumSteps);
}

int ControllerMap::decode(float value)
{
    // Stored values may come from a host or a file: anything below 0 or not a number is none.
    if (!(value >= 0.0f)) return kNone;
    const int step = valueToStep(value, kNumSteps);
    return step == kNoneStep ? kNone : step;
}

void ControllerMap::reset()
{
    for (auto& c : parameterToController_) c.store(kNone, std::memory_order_relaxed);
    for (auto& p : controllerToParameter_) p.store(kNone, std::memory_order_relaxed);
    for (auto& v : values_) v.store(encode(kNone), std::memory_order_relaxed);
    channelStep_.store(kChannelOff, std::memory_order_relaxed);
}

void ControllerMap::bind(int parameter, int controller)
{
    // A parameter has one controller: assigning a new one releases the previous controller
    // (when it still moves this parameter), so that only the binding the queries show moves it.
    const int previous = parameterToController_[parameter].load(std::memory_order_relaxed);
    if (isController(previous) && previous != controller &&
        controllerToParameter_[previous].load(std::memory_order_relaxed) == parameter) {
        controllerToParameter_[previous].store(kNone, std::memory_order_relaxed);
    }
    parameterToController_[parameter].store(isController(controller) ? controller : kNone, std::memory_order_relaxed);
    if (isController(controller)) controllerToParameter_[controller].store(parameter, std::memory_order_relaxed);
}

void ControllerMap::assignController(int parameter, int controller)
{
    if (!isParameter(parameter)) return;
    bind(parameter, controller);
    values_[parameter].store(encode(controller), std::memory_order_relaxed);
}

void ControllerMap::unassignParameter(int parameter)
{
    if (!isParameter(parameter)) return;
    const int c = parameterToController_[parameter].exchange(kNone, std::memory_order_relaxed);
    if (isController(c)) controllerToParameter_[c].store(kNone, std::memory_order_relaxed);
    values_[parameter].store(encode(kNone), std::memory_order_relaxed);
}

void ControllerMap::unassignController(int controller)
{
    if (!isController(controller)) return;
    const int p = controllerToParameter_[controller].exchange(kNone, std::memory_order_relaxed);
    if (isParameter(p)) {
        parameterToController_[p].store(kNone, std::memory_order_relaxed);
        values_[p].store(encode(kNone), std::memory_order_relaxed);
    }
}

int ControllerMap::controllerOfParameter(int parameter) const
{
    if (!isParameter(parameter)) return kNone;
    return decode(values_[parameter].load(std::memory_order_relaxed));
}

int ControllerMap::parameterOfController(int controller) const
{
    if (!isController(controller)) return kNone;
    const int p = controllerToParameter_[controller].load(std::memory_order_relaxed);
    if (isParameter(p) && parameterToController_[p].load(std::memory_order_relaxed) != kNone) return p;
    return kNone;
}

int ControllerMap::targetOfController(int controller) const
{
    if (!isController(controller)) return kNone;
    return controllerToParameter_[controller].load(std::memory_order_relaxed);
}

int ControllerMap::forwardEntry(int parameter) const
{
    if (!isParameter(parameter)) return kNone;
    return parameterToController_[parameter].load(std::memory_order_relaxed);
}

void ControllerMap::setAssignmentValue(int parameter, float value)
{
    if (!isParameter(parameter)) return;
    values_[parameter].store(value, std::memory_order_relaxed);
    bind(parameter, decode(value));
}

float ControllerMap::assignmentValue(int parameter) const
{
    if (!isParameter(parameter)) return encode(kNone);
    return values_[parameter].load(std::memory_order_relaxed);
}

bool ControllerMap::learn(int controller)
{
    const int target = learnTarget();
    if (!isLearning() || !isParameter(target) || controller < 0 || controller >= kFirstModeController) return false;
    // The controller leaves every parameter it was bound to.
    for (int p = 0; p < kNumParameters; ++p) {
        if (parameterToController_[p].load(std::memory_order_relaxed) == controller) {
            parameterToController_[p].store(kNone, std::memory_order_relaxed);
            values_[p].store(encode(kNone), std::memory_order_relaxed);
        }
    }
    bind(target, controller);
    values_[target].store(encode(controller), std::memory_order_relaxed);
    stopMidiLearn();
    return true;
}

void ControllerMap::startMidiLearn()
{
    learnTarget_.store(-1, std::memory_order_relaxed);
    learning_.store(true, std::memory_order_relaxed);
}

void ControllerMap::stopMidiLearn()
{
    learning_.store(false, std::memory_order_relaxed);
    learnTarget_.store(-1, std::memory_order_relaxed);
}

void ControllerMap::setChannelStep(int step)
{
    channelStep_.store(step < kChannelOff ? kChannelOff : (step > kChannelOmni ? kChannelOmni : step),
                       std::memory_order_relaxed);
}

bool ControllerMap::passesChannel(std::uint8_t status) const
{
    const int step = channelStep();
    if (step == kChannelOff) return false;
    if (step == kChannelOmni) return true;
    constexpr std::uint8_t kChannelBits = 0x0F;
    return (status & kChannelBits) == step - 1;
}

namespace {

struct ControllerNames {
    std::array<char[16], ControllerMap::kNumControllers> generated{};
    std::array<const char*, ControllerMap::kNumNames> names{};

    ControllerNames()
    {
        for (int c = 0; c < ControllerMap::kNumControllers; ++c) {
            std::snprintf(generated[c], sizeof generated[c], "control %d", c);
            names[c] = generated[c];
        }
        // clang-format off
        static constexpr struct {
            int number;
            const char* name;
        } kNamed[] = {
            {0, "bank sel MSB"},  {1, "mod wheel"},     {2, "breath"},        {4, "foot"},
            {5, "portamento"},    {6, "data ent MSB"},  {7, "main volume"},   {8, "balance"},
            {10, "pan"},          {11, "expression"},   {16, "gen purp 1"},   {17, "gen purp 2"},
            {18, "gen purp 3"},   {19, "gen purp 4"},   {32, "bank sel LSB"}, {33, "modul. LSB"},
            {34, "breath LSB"},   {36, "foot LSB"},     {37, "porta LSB"},    {38, "data ent LSB"},
            {39, "main vol LSB"}, {40, "balance LSB"},  {42, "pan LSB"},      {43, "express. LSB"},
            {64, "sustain"},      {65, "porta on/off"}, {66, "sostenuto"},    {67, "soft pedal"},
            {68, "legato FS"},    {69, "hold 2"},       {70, "sound var"},    {71, "harmonic"},
            {72, "release time"}, {73, "attack time"},  {74, "brightness"},   {80, "gen purp 5"},
            {81, "gen purp 6"},   {82, "gen purp 7"},   {83, "gen purp 8"},   {84, "porta ctrl"},
            {91, "ext FX"},       {92, "tremolo"},      {93, "chorus"},       {94, "detune"},
            {95, "phaser"},       {96, "data incr"},    {97, "data decr"},    {98, "NRPN LSB"},
            {99, "NRPN MSB"},     {100, "RPN LSB"},     {101, "RPN MSB"},     {120, "all snd off"},
            {121, "reset ctrl"},  {122, "local ctrl"},  {123, "all note off"}, {124, "omni off"},
            {125, "omni on"},     {126, "mono mode on"}, {127, "poly mode on"},
        };
        // clang-format on
        for (const auto& n : kNamed) names[n.number] = n.name;
        names[ControllerMap::kNoneStep] = "not assigned";
        names[ControllerMap::kNumNames - 1] = "";
    }
};

}  // namespace

const char* ControllerMap::controllerName(int index)
{
    static const ControllerNames table;
    if (index < 0 || index >= kNumNames) return "";
    return table.names[index];
}

}  // namespace orv
