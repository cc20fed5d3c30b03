// Reference counting shared by bitmaps, views and file selectors: created with one reference,
// remember() adds one, forget() drops one and deletes the object at zero.
#pragma once

namespace orv {

class CBaseObject {
public:
    CBaseObject() = default;
    virtual ~CBaseObject() = default;
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;

    void remember() { ++refCount_; }
    void forget()
    {
        if (--refCount_ == 0) delete this;
    }
    int getNbReference() const { return refCount_; }

private:
    int refCount_ = 1;
};

}  // namespace orv
