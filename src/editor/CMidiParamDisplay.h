// The panel's controller display: the name of a MIDI controller, "not assigned" or nothing,
// chosen by its value among 130 texts. While it shows a controller that was just received it
// draws in the alternate colour.
#pragma once

#include "toolkit/CParamDisplay.h"

namespace orv {

class CMidiParamDisplay : public CParamDisplay {
public:
    static constexpr int kNumTexts = 130;  // controllers 0..127, "not assigned", empty
    static constexpr int kNotAssigned = 128;
    static constexpr int kEmpty = 129;
    static constexpr CColor kReceivedColor{0, 155, 0, 255};

    CMidiParamDisplay(const CRect& size, CBitmap* background);

    void draw(CDrawContext* context) override;

    // The value that selects text n (0..129): (n + 0.5) / 130.
    static float valueOfText(int n);
    // The text n that a value selects.
    static int textOfValue(float value);
    // Entry n of the table: controller names, "not assigned", empty.
    static const char* textAt(int n);

    // Shows controller c (0..127), "not assigned" or nothing.
    void showText(int n) { setValue(valueOfText(n)); }
    // The alternate colour marks a received controller.
    void setShowingReceived(bool state);
    bool isShowingReceived() const { return showingReceived_; }

private:
    bool showingReceived_ = false;
};

}  // namespace orv
