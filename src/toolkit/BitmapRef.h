#pragma once

#include "toolkit/CBitmap.h"

namespace orv {

// Holds a new bitmap while the controls that use it are built; each control keeps its own
// reference, and this one is dropped at the end of the scope.
class BitmapRef {
public:
    explicit BitmapRef(int id) : bitmap_(new CBitmap(id)) {}
    ~BitmapRef() { bitmap_->forget(); }
    BitmapRef(const BitmapRef&) = delete;
    BitmapRef& operator=(const BitmapRef&) = delete;
    CBitmap* get() const { return bitmap_; }

private:
    CBitmap* bitmap_;
};

}  // namespace orv
