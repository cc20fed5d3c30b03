// Open and save dialogs on Windows: the system's common dialogs, modal over the host's
// window. run() shows the dialog and returns when it has closed; the answer reaches the
// callback at the frame's next idle, as on Linux.
#include "toolkit/CNewFileSelector.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/windows/WideText.h"
#include "toolkit/CFrame.h"
#include "toolkit/IPlatformFrame.h"

namespace orv {

struct CNewFileSelector::Session {
    bool answered = false;  // the dialog has closed; the callback is due
};

namespace {

// Pairs of display text and pattern, each ended by a null, the list by a second one; the
// extensions first, then every file.
std::wstring filterText(const std::vector<CFileExtension>& extensions)
{
    std::wstring filter;
    for (const CFileExtension& e : extensions) {
        filter += toWide(e.description + " (*." + e.extension + ")");
        filter += L'\0';
        filter += toWide("*." + e.extension);
        filter += L'\0';
    }
    filter += L"All files (*.*)";
    filter += L'\0';
    filter += L"*.*";
    filter += L'\0';
    return filter;  // c_str() adds the list's final null
}

}  // namespace

const char CNewFileSelector::kPathSeparator = '\\';

CNewFileSelector::CNewFileSelector(CFrame* frame, Style style) : frame_(frame), style_(style) {}

CNewFileSelector::~CNewFileSelector() = default;

bool CNewFileSelector::canRun() const { return style_ != kSelectDirectory; }

bool CNewFileSelector::run(Callback callback)
{
    if (isRunning() || frame_ == nullptr || !canRun()) return false;
    const std::wstring filter = filterText(extensions_);
    const std::wstring title = toWide(title_);
    std::wstring folder = toWide(initialDirectory_);
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    const std::string& extension = !defaultExtension_.extension.empty() ? defaultExtension_.extension
        : !extensions_.empty()                                          ? extensions_.front().extension
                                                                        : std::string();
    const std::wstring defaultExtension = toWide(extension);
    // Room for many names when several may be chosen.
    std::vector<wchar_t> names(multiple_ ? 65536 : 4 * MAX_PATH, L'\0');
    if (style_ == kSelectSaveFile) {
        const std::wstring name = toWide(defaultSaveName_);
        name.copy(names.data(), std::min(name.size(), names.size() - 1));
    }

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    const IPlatformFrame* platform = frame_->getPlatformFrame();
    if (platform != nullptr && platform->isValid()) ofn.hwndOwner = reinterpret_cast<HWND>(platform->getWindowId());
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = names.data();
    ofn.nMaxFile = static_cast<DWORD>(names.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // A saved name without an extension gets this one.
    ofn.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (style_ == kSelectSaveFile)
        ofn.Flags |= OFN_OVERWRITEPROMPT;
    else
        ofn.Flags |= OFN_FILEMUSTEXIST | (multiple_ ? OFN_ALLOWMULTISELECT : 0);

    session_ = std::make_unique<Session>();
    selected_.clear();
    callback_ = std::move(callback);
    remember();  // kept alive until the answer has been handed over
    frame_->beginModalSession();
    remember();  // and across the dialog's own message loop, whatever happens in it
    const BOOL chosen = style_ == kSelectSaveFile ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    const bool frameStayed = isRunning();  // false: the frame closed (or cancel() ran) meanwhile
    forget();
    if (!frameStayed) return true;
    if (chosen) {
        // One full path, or (several chosen) the folder followed by the names, null-separated.
        const wchar_t* p = names.data();
        const std::wstring first = p;
        p += first.size() + 1;
        if (*p == L'\0') selected_.push_back(fromWide(first));
        for (; *p != L'\0'; p += std::wcslen(p) + 1) selected_.push_back(fromWide(first + L'\\' + p));
    }
    session_->answered = true;
    frame_->addIdleListener(this);
    return true;
}

void CNewFileSelector::onIdle()
{
    if (!isRunning() || !session_->answered) return;
    session_.reset();
    deliver();
}

void CNewFileSelector::stopSession() { session_.reset(); }

}  // namespace orv
