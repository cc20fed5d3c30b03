// What a view answers to a mouse event.
#pragma once

namespace orv {

enum CMouseEventResult {
    kMouseEventNotHandled = 0,
    kMouseEventHandled,
    // Handled; the view wants no moved or up events for this press.
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

}  // namespace orv
