// Mouse buttons and modifier keys of a mouse or wheel event.
#pragma once

#include <cstdint>

namespace orv {

enum CButton : uint32_t {
    kLButton = 1u << 1,
    kMButton = 1u << 2,
    kRButton = 1u << 3,
    kShift = 1u << 4,
    kControl = 1u << 5,
    kAlt = 1u << 6,
    kDoubleClick = 1u << 10,
};

class CButtonState {
public:
    constexpr CButtonState(uint32_t state = 0) : state_(state) {}

    constexpr uint32_t getButtonState() const { return state_; }
    constexpr uint32_t getModifierState() const { return state_ & (kShift | kControl | kAlt); }
    constexpr bool isLeftButton() const { return (state_ & kLButton) != 0; }
    constexpr bool isRightButton() const { return (state_ & kRButton) != 0; }
    constexpr bool isDoubleClick() const { return (state_ & kDoubleClick) != 0; }
    constexpr bool isShiftSet() const { return (state_ & kShift) != 0; }
    constexpr bool isControlSet() const { return (state_ & kControl) != 0; }

    constexpr bool operator==(const CButtonState&) const = default;
    constexpr bool operator==(uint32_t s) const { return state_ == s; }
    constexpr CButtonState operator|(uint32_t bits) const { return CButtonState(state_ | bits); }
    constexpr uint32_t operator&(uint32_t bits) const { return state_ & bits; }

private:
    uint32_t state_;
};

}  // namespace orv
