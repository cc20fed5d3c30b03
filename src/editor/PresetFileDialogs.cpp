#include "editor/PresetFileDialogs.h"

#include <atomic>
#include <cstdio>

#include "editor/FileImageLoader.h"
#include "platform/FileOpen.h"
#include "toolkit/CNewFileSelector.h"

namespace orv {

namespace {

struct DialogText {
    const char* loadTitle;
    const char* reversedLoadTitle;
    const char* saveTitle;
    const char* filterName;
    const char* extension;
};

// Indexed by FileKind.
constexpr DialogText kDialogs[] = {
    {"Load preset", "Load preset (endian-reversed)", "Save preset", "Orv Preset", "orv"},
    {"Load bank", "Load bank (endian-reversed)", "Save bank", "Orv Bank", "ovb"},
    {"Load MIDI settings", "Load MIDI settings (endian-reversed)", "Save midi settings as", "Orv MIDI Settings", "ovm"},
};

bool readWholeFile(const std::string& path, std::vector<unsigned char>& data)
{
    std::FILE* f = openFile(path, "rb");
    if (f == nullptr) return false;
    std::vector<unsigned char> bytes;
    unsigned char buffer[16384];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (bytes.size() > PresetFileDialogs::kMaxFileBytes) {
            ok = false;
            break;
        }
        if (n < sizeof buffer) {
            ok = std::ferror(f) == 0;
            break;
        }
    }
    std::fclose(f);
    if (ok) data.swap(bytes);
    return ok;
}

}  // namespace

PresetFileDialogs::PresetFileDialogs(FileImageLoader& loader, std::function<CFrame*()> frameSource)
    : loader_(loader), frameSource_(std::move(frameSource))
{
    // Until a dialog or the stored locations say otherwise, dialogs open in the working folder.
    directory_ = currentFolder();
}

PresetFileDialogs::~PresetFileDialogs()
{
    if (running_ != nullptr) {
        running_->cancel();
        running_->forget();
    }
}

bool PresetFileDialogs::loadPresetDialog(bool endianReversed)
{
    return runDialog(FileKind::Preset, false, endianReversed);
}
bool PresetFileDialogs::savePresetDialog() { return runDialog(FileKind::Preset, true, false); }
bool PresetFileDialogs::loadBankDialog(bool endianReversed) { return runDialog(FileKind::Bank, false, endianReversed); }
bool PresetFileDialogs::saveBankDialog() { return runDialog(FileKind::Bank, true, false); }
bool PresetFileDialogs::loadMidiSettingsDialog(bool endianReversed)
{
    return runDialog(FileKind::MidiSettings, false, endianReversed);
}
bool PresetFileDialogs::saveMidiSettingsDialog() { return runDialog(FileKind::MidiSettings, true, false); }

bool PresetFileDialogs::runDialog(FileKind kind, bool save, bool endianReversed)
{
    CFrame* frame = frameSource_ ? frameSource_() : nullptr;
    if (frame == nullptr) return false;
    if (running_ != nullptr) {
        if (running_->isRunning()) return false;  // one dialog at a time
        running_->forget();
        running_ = nullptr;
    }
    const DialogText& text = kDialogs[static_cast<int>(kind)];
    CNewFileSelector* selector =
        CNewFileSelector::create(frame, save ? CNewFileSelector::kSelectSaveFile : CNewFileSelector::kSelectFile);
    selector->setTitle(save ? text.saveTitle : endianReversed ? text.reversedLoadTitle : text.loadTitle);
    selector->addFileExtension({text.filterName, text.extension});
    selector->setDefaultExtension({text.filterName, text.extension});
    selector->setInitialDirectory(directory_);
    if (save) selector->setDefaultSaveName(currentFileName(kind));

    if (!selector->canRun()) {
        // Without a dialog program the panel's file operations are unavailable; the rest of the
        // effect works as before. Said once per process.
        static std::atomic<bool> told{false};
        if (!told.exchange(true))
            std::fprintf(stderr, "Orv Gyrola: neither zenity nor kdialog was found; file dialogs are unavailable\n");
        selector->forget();
        return false;
    }
    const bool started = selector->run([this, kind, save, endianReversed](CNewFileSelector* s) {
        if (s->getNumSelectedFiles() == 1) {
            const std::string path = s->getSelectedFile(0);
            if (save)
                saveFile(kind, path);
            else
                loadFile(kind, path, endianReversed);
        }
        if (running_ == s) {
            running_ = nullptr;
            s->forget();  // the selector's own reference goes when its answer has been handled
        }
    });
    if (!started) {
        selector->forget();
        return false;
    }
    running_ = selector;
    return true;
}

void PresetFileDialogs::splitPath(const std::string& path, std::string& directory, std::string& name)
{
    const char separator = CNewFileSelector::kPathSeparator;
    const std::size_t last = path.rfind(separator);
    if (last == std::string::npos) {
        directory.clear();
        name = path;
        return;
    }
    // A file in a root folder keeps the root whole: "/", or a drive such as "C:" with its separator.
    const bool root = last == 0 || (separator == '\\' && last == 2 && path[1] == ':');
    directory = root ? path.substr(0, last + 1) : path.substr(0, last);
    name = path.substr(last + 1);
}

bool PresetFileDialogs::loadFile(FileKind kind, const std::string& path, bool endianReversed)
{
    std::string directory;
    std::string name;
    splitPath(path, directory, name);
    directory_ = directory;
    names_[static_cast<int>(kind)] = name;
    std::vector<unsigned char> data;
    if (!readWholeFile(path, data)) return false;
    loader_.load(data.data(), data.size(), endianReversed);
    return true;
}

bool PresetFileDialogs::saveFile(FileKind kind, const std::string& path)
{
    std::string directory;
    std::string name;
    splitPath(path, directory, name);
    directory_ = directory;
    names_[static_cast<int>(kind)] = name;
    const std::vector<unsigned char> image = imageOf(kind);
    std::FILE* f = openFile(path, "wb");
    if (f == nullptr) return false;
    const bool written = std::fwrite(image.data(), 1, image.size(), f) == image.size();
    return std::fclose(f) == 0 && written;
}

std::vector<unsigned char> PresetFileDialogs::imageOf(FileKind kind) const
{
    switch (kind) {
    case FileKind::Preset: return loader_.presetImage();
    case FileKind::Bank: return loader_.bankImage();
    case FileKind::MidiSettings: return loader_.midiSettingsImage();
    }
    return {};
}

}  // namespace orv
