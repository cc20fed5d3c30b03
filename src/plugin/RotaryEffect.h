// The rotary cabinet effect: parameters, names, I/O configuration and the audio engine.
#pragma once

#include "engine/RotaryCore.h"
#include "params/ParameterSet.h"
#include "plugin/CMidiPresetSystemEffect.h"
#include "plugin/EffectEngineHost.h"
#include "plugin/MidiSpeedControl.h"
#include "plugin/RotaryEditorLink.h"

namespace orv {

class RotaryEffect : public CMidiPresetSystemEffect {
public:
    static constexpr vst::i32 kUniqueId = vst::fourCC('O', 'o', 'G', '1');
    static constexpr int kNumHostParams = 42;

    explicit RotaryEffect(vst::HostCallback hostCallback);
    ~RotaryEffect() override;

    // Parameters.
    void setParameter(int index, float value) override;
    float getParameter(int index) override;
    void getParameterName(int index, char* text) override;
    void getParameterLabel(int index, char* text) override;
    void getParameterDisplay(int index, char* text) override;
    bool getParameterProperties(int index, vst::VstParameterProperties* properties) override;
    bool canParameterBeAutomated(int index) override { return index >= 0 && index < kNumHostParams; }
    bool isGlobalParameter(int index) override { return ParameterSet::isGlobalParameter(index); }

    // Identity and I/O.
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int getVendorVersion() override { return 2000; }
    int canDo(const char* text) override;
    bool getInputProperties(int index, vst::VstPinProperties* properties) override;
    bool getOutputProperties(int index, vst::VstPinProperties* properties) override;
    bool setSpeakerArrangement(vst::VstSpeakerArrangement* input, vst::VstSpeakerArrangement* output) override;

    // Audio.
    void processReplacing(float** inputs, float** outputs, int sampleFrames) override;
    void processDoubleReplacing(double** inputs, double** outputs, int sampleFrames) override;
    void suspend() override;
    void resume() override;

    bool isInputStereo() const { return inputStereo; }
    bool isOutputStereo() const { return outputStereo; }
    bool isArrangementSet() const { return arrangementSet; }
    const ParameterSet& parameters() const { return core.parameters(); }
    RotaryEngine& audioEngine() { return core.engine(); }
    const RotaryEngine& audioEngine() const { return core.engine(); }
    // Current angles of horn model 1 and of the drum model in revolutions, read by the editor.
    double hornAngle() const { return core.engine().hornAngle(); }
    double drumAngle() const { return core.engine().drumAngle(); }

protected:
    bool isPerformanceParameter(int index) override;
    void controllerMoved(int parameter, int controller, float value) override;

private:
    template <typename Sample>
    void processBlock(Sample** inputs, Sample** outputs, int sampleFrames);

    EffectEngineHost engineHost{*this};
    RotaryEditorLink editorLink{*this};
    RotaryCore core{engineHost};  // built before the first program is applied
    MidiSpeedControl speedControl;
    bool inputStereo = true;
    bool outputStereo = true;
    bool arrangementSet = false;
};

}  // namespace orv
