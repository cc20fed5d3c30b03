// A DSP header that reaches up into the editor: the layer check must refuse it.
#include "editor/RotaryEditor.h"
