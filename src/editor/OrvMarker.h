// A handle sliding along a strip and wrapping around, like a rotor seen from the front:
// value 0 (and 1) centres the handle, 0.5 puts it just beyond the right edge, out of sight.
#pragma once

#include <memory>

#include "toolkit/CControl.h"

namespace orv {

class COffscreenContext;

class OrvMarker : public CControl {
public:
    // Both bitmaps are referenced. The handle travels over background width + handle width.
    OrvMarker(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
              const CPoint& handleOffset);
    ~OrvMarker() override;

    void draw(CDrawContext* context) override;

    // Sets the handle offset and recomputes the handle's travel.
    virtual void setHandleOffset(const CPoint& offset);
    const CPoint& getHandleOffset() const { return handleOffset_; }
    float getHandleTravel() const { return travel_; }
    float getPhase() const { return phase_; }
    // Left edge of the handle inside the strip for the current value.
    int getHandleX() const;

private:
    CBitmap* handle_;
    CPoint handleOffset_;
    float travel_ = 0.0f;
    float phase_ = 0.5f;
    std::unique_ptr<COffscreenContext> offscreen_;
};

}  // namespace orv
