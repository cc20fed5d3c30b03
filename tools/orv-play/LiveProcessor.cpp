#include "orv-play/LiveProcessor.h"

#include <algorithm>

namespace orv::play {

void LiveProcessor::process(float* const* in, float* const* out, int frames)
{
    if (events_.size() > 0) {
        // All go before the first piece; a block longer than the effect was told of (the
        // server's buffer grew) gets its late events at the piece's last frame.
        const int lastFrame = std::min(frames, maxBlock_) - 1;
        effect_->dispatcher(effect_, vst::effProcessEvents, 0, 0, events_.record(lastFrame), 0.0f);
        events_.clear();
    }
    for (int done = 0; done < frames;) {
        const int n = std::min(maxBlock_, frames - done);
        float* pieceIn[2] = {in[0] + done, in[1] + done};
        float* pieceOut[2] = {out[0] + done, out[1] + done};
        effect_->processReplacing(effect_, pieceIn, pieceOut, n);
        done += n;
    }
}

}  // namespace orv::play
