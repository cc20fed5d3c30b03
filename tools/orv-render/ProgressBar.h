// A one-line progress bar on the standard error stream, drawn only when that stream is a
// terminal and the job is long enough to be worth watching.
#pragma once

namespace orv {

class ProgressBar {
public:
    // total and done are in frames; rate turns them into seconds for the text.
    ProgressBar(long total, double rate, bool enabled);
    ~ProgressBar();
    void update(long done);
    // Clears the line.
    void finish();

    static constexpr double kMinSeconds = 10.0;  // shorter renders show no bar
    // Whether a render of this length should show a bar on this process's stderr.
    static bool wanted(long total, double rate);

private:
    long total_;
    double rate_;
    bool enabled_;
    bool drawn_ = false;
    int lastPermille_ = -1;
};

}  // namespace orv
