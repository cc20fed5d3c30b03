// A control drawn from a vertical filmstrip: frame k occupies rows k·h .. k·h + h − 1.
#pragma once

namespace orv {

class IMultiBitmapControl {
public:
    virtual ~IMultiBitmapControl() = default;

    void setHeightOfOneImage(int height) { heightOfOneImage_ = height; }
    int getHeightOfOneImage() const { return heightOfOneImage_; }
    void setNumSubPixmaps(int count) { subPixmaps_ = count; }
    int getNumSubPixmaps() const { return subPixmaps_; }

protected:
    int heightOfOneImage_ = 0;
    int subPixmaps_ = 0;
};

}  // namespace orv
