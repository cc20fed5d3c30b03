// The module's entry point, exported as VSTPluginMain and as main.
#include <new>

#include "plugin/RotaryEffect.h"
#include "host/vst2.h"
#include "platform/SymbolVisibility.h"

namespace {

vst::AEffect* createEffect(vst::HostCallback hostCallback)
{
    if (hostCallback == nullptr) return nullptr;
    if (hostCallback(nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    orv::RotaryEffect* effect = new (std::nothrow) orv::RotaryEffect(hostCallback);
    return effect != nullptr ? effect->getAeffect() : nullptr;
}

}  // namespace

extern "C" {

ORV_EXPORT vst::AEffect* VSTPluginMain(vst::HostCallback hostCallback) { return createEffect(hostCallback); }

// The legacy entry name; C++ reserves `main`, so the symbol gets its name from the assembler.
ORV_EXPORT vst::AEffect* orvLegacyMain(vst::HostCallback hostCallback) __asm__("main");
vst::AEffect* orvLegacyMain(vst::HostCallback hostCallback) { return createEffect(hostCallback); }
}
