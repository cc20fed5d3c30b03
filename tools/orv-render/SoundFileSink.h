// Writes the rendered audio to a temporary file beside the destination and renames it into
// place only when everything succeeded, so a failed or interrupted render leaves no partial
// output behind.
#pragma once

#include <memory>
#include <string>

namespace orv {

class SoundFileSink {
public:
    SoundFileSink();
    ~SoundFileSink();  // discards an uncommitted file
    SoundFileSink(const SoundFileSink&) = delete;
    SoundFileSink& operator=(const SoundFileSink&) = delete;

    // Picks the format from the extension of path (keeping the input's encoding when that
    // format can hold it) and creates the temporary file. inputFormat may be 0.
    bool create(const std::string& path, int channels, int sampleRate, int inputFormat, std::string& error);
    bool write(const float* interleaved, long frames, std::string& error);
    // Closes the file and renames it to its destination.
    bool commit(std::string& error);
    void discard();

    // The format code for a file name (libsndfile's on Linux; WAV encodings on Windows), or 0
    // with a reason.
    static int formatFor(const std::string& path, int channels, int sampleRate, int inputFormat, std::string& error);

private:
    struct File;  // the open file of the implementation
    std::unique_ptr<File> file_;
    std::string path_;
    std::string tempPath_;
};

}  // namespace orv
