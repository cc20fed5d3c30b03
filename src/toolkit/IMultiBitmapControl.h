// A control drawn from a vertical filmstrip: frame k occupies rows k·h .. k·h + h − 1.
#pragma once

namespace orv {

class IMultiBitmapControl {
public:
    virtual ~IMultiBitmapControl() = default;

    int getHeightOfOneImage() const { return heightOfOneImage_; }

protected:
    int heightOfOneImage_ = 0;
    int subPixmaps_ = 0;
};

}  // namespace orv
