// The Windows platform layer as a Windows program sees it: the settings in the registry, the
// shell's answers for the manual, OLE, and the native message box (closed by a helper thread,
// since nobody is there to click it).

#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/NativeMessageBox.h"
#include "platform/OleLibrary.h"
#include "platform/SettingsStore.h"
#include "platform/ShellOpen.h"

namespace orv::test {
namespace {

// A value as the registry holds it, read without the store.
bool rawValue(const std::string& key, const wchar_t* name, DWORD& type, std::vector<unsigned char>& data)
{
    HKEY handle = nullptr;
    const std::wstring wideKey(key.begin(), key.end());
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wideKey.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool ok = RegQueryValueExW(handle, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    data.resize(size);
    ok = ok && RegQueryValueExW(handle, name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return ok;
}

TEST(RegistrySettings, ValuesRoundTripWithTheirRegistryTypes)
{
    // The test environment names a private key; the product's key is the default otherwise.
    const std::string key = SettingsStore::defaultFolder();
    ASSERT_NE(key.find("SOFTWARE\\Orvaline\\ORVGYR2"), std::string::npos);
    SettingsStore store;
    const std::vector<unsigned char> image{0x4F, 0x6F, 0x47, 0x31, 0x23, 0, 0, 7, 0};
    const std::string path = "C:\\Presets f\xC3\xBCr Orgel";  // "für"
    ASSERT_TRUE(store.setBinary("DefaultPreset", image.data(), image.size()));
    ASSERT_TRUE(store.setString("CurrDir", path));

    DWORD type = 0;
    std::vector<unsigned char> raw;
    ASSERT_TRUE(rawValue(key, L"DefaultPreset", type, raw));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw, image);
    ASSERT_TRUE(rawValue(key, L"CurrDir", type, raw));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    const std::wstring wide = L"C:\\Presets f\u00FCr Orgel";
    ASSERT_EQ(raw.size(), (wide.size() + 1) * sizeof(wchar_t));  // UTF-16 with its terminator
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(raw.data()), wide.size()), wide);

    // Another instance reads them back; deleting is final and deleting nothing is fine.
    SettingsStore other;
    std::vector<unsigned char> back;
    std::string text;
    ASSERT_TRUE(other.getBinary("DefaultPreset", back));
    EXPECT_EQ(back, image);
    ASSERT_TRUE(other.getString("CurrDir", text));
    EXPECT_EQ(text, path);
    EXPECT_TRUE(other.remove("DefaultPreset"));
    EXPECT_TRUE(other.remove("DefaultPreset"));
    EXPECT_FALSE(store.getBinary("DefaultPreset", back));
    EXPECT_FALSE(SettingsStore("SOFTWARE\\Orvaline\\NoSuchKey").getString("CurrDir", text));
}

TEST(ShellOpenManual, AnswersNoApplicationAndFailureAsTheShellReportsThem)
{
    char folder[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string unassociated = std::string(folder) + "orv-manual-test.orvnoassoc";
    std::FILE* file = std::fopen(unassociated.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(ShellOpen::openDocument(unassociated), ShellOpen::Result::NoApplication);
    DeleteFileA(unassociated.c_str());
    EXPECT_EQ(ShellOpen::openDocument(std::string(folder) + "orv-no-such-manual.pdf"), ShellOpen::Result::Failed);
}

TEST(OleLibraryScope, InitialisesOncePerObjectAndReleases)
{
    {
        OleLibrary first;
        EXPECT_TRUE(first.isInitialised());
        OleLibrary nested;  // a second editor on the same thread
        EXPECT_TRUE(nested.isInitialised());
    }
    // Released as often as initialised: OLE can be initialised afresh.
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    OleUninitialize();
}

TEST(NativeMessageBox, ShowsTheTitleAndTextUntilClosed)
{
    std::atomic<bool> found{false};
    std::wstring shownText;
    std::thread closer([&] {
        for (int attempt = 0; attempt < 500 && !found; ++attempt) {
            if (HWND box = FindWindowW(nullptr, L"Could not open manual file")) {
                wchar_t text[256] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 256);  // the message's static control
                shownText = text;
                found = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(20);
        }
    });
    EXPECT_TRUE(showNativeMessageBox(nullptr, "Could not open manual file", "Make sure Acrobat Reader is installed"));
    closer.join();
    EXPECT_TRUE(found);
    EXPECT_EQ(shownText, L"Make sure Acrobat Reader is installed");
}

}  // namespace
}  // namespace orv::test
