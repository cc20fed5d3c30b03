// The preset-name field: a toolkit text field with no behaviour of its own. It keeps six
// empty extension operations and one flag, cleared when created, for subclasses.
#pragma once

#include "toolkit/CTextEdit.h"

namespace orv {

class COrvTextEdit : public CTextEdit {
public:
    using CTextEdit::CTextEdit;

    virtual void extension1() {}
    virtual void extension2() {}
    virtual void extension3() {}
    virtual void extension4() {}
    virtual void extension5() {}
    virtual void extension6() {}

    bool getFlag() const { return flag_; }

protected:
    bool flag_ = false;
};

}  // namespace orv
