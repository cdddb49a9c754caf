#include "app/Settings.h"

#include "app/ItemList.h"
#include "app/MainWindow.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Files.h"
#include "platform/base/Registry.h"
#include "platform/os/Shell.h"

#include <set>

const wchar_t* const kSettingsKey = L"\\SOFTWARE\\Corvanti\\Velmora Video Downloader\\";

namespace {

// The registry as the settings reach it: the current user's root opened for
// full access, the key path given as the section.
class TSettingsRegistry : public TRegIniFile {
public:
    TSettingsRegistry() : TRegIniFile(L"", KEY_ALL_ACCESS) {}
};

// Proxy texts found stored as another type (a number, a list) at the last
// reading: their edits showed nothing, and writing that nothing back would
// destroy the stored value. Such a value stays as it is until the user
// enters a text for it.
std::set<String>& KeptOfOtherType()
{
    static std::set<String> names;
    return names;
}

// Writes a proxy text unless it is the empty text shown for a value of
// another type.
void write_proxy_text(const String& name, const String& text)
{
    if (text.empty() && KeptOfOtherType().count(name)) return;
    KeptOfOtherType().erase(name);
    write_reg_string(kSettingsKey, name, text);
}

}  // namespace

void write_reg_integer(const String& Key, const String& value, Integer data)
{
    TSettingsRegistry reg;
    reg.WriteInteger(Key, value, data);
}

void write_reg_string(const String& Key, const String& value, const String& data)
{
    TSettingsRegistry reg;
    reg.WriteString(Key, value, data);
}

void delete_reg(const String& Key, const String& value)
{
    TSettingsRegistry reg;
    reg.DeleteKey(Key, value);
}

bool SettingsKeyExists()
{
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CURRENT_USER);
    return reg.OpenKeyReadOnly(kSettingsKey);
}

void ReadSettings(ISettingsControls& controls, const String& documents)
{
    if (!SettingsKeyExists()) {
        controls.set_language(kDefaultLanguage);
        controls.SetSaveFolder(documents);
        return;
    }
    // Every read opens the store afresh, so a change another process made
    // in between is seen, as it would be with one registry open per value.
    // A value of another type than text or number reads as missing.
    auto readInteger = [](const wchar_t* name, Integer def) {
        try {
            TSettingsRegistry reg;
            return reg.ReadInteger(kSettingsKey, name, def);
        } catch (const Exception&) {
            return def;
        }
    };
    KeptOfOtherType().clear();
    auto readString = [](const wchar_t* name) {
        try {
            TSettingsRegistry reg;
            return reg.ReadString(kSettingsKey, name, L"");
        } catch (const Exception&) {
            KeptOfOtherType().insert(name);
            return String();
        }
    };

    controls.set_language(readInteger(L"language", kDefaultLanguage));

    const Integer format = readInteger(L"format", -1);
    if (format < 0)
        controls.SelectFormat(format_avi);
    else if (format < format_count)
        controls.SelectFormat(format);

    const Integer site = readInteger(L"download", 0);
    if (site > 0 && site < Integer(SiteChoiceTexts().size()))
        controls.SelectSite(site);

    if (readInteger(L"auto", 0) > 0)
        controls.TickAutostart();

    const String path = readString(L"path");
    if (!path.empty() && DirectoryExists(path))
        controls.SetSaveFolder(path);
    else
        controls.SetSaveFolder(documents);

    if (readInteger(L"proxy", 0) > 0) {
        const String server = readString(L"server");
        const String port = readString(L"port");
        const String username = readString(L"username");
        const String password = readString(L"password");
        if (!server.empty()) controls.SetProxyServer(server);
        if (!port.empty()) controls.SetProxyPort(port);
        if (!username.empty()) controls.SetProxyUsername(username);
        if (!password.empty()) controls.SetProxyPassword(password);
        controls.TickProxy();
        controls.ProxyALCheckBoxClick();
    }
}

void SaveFormatChoice(Integer index)
{
    if (index < 0)
        delete_reg(kSettingsKey, L"format");
    else
        write_reg_integer(kSettingsKey, L"format", index);
}

void SaveSiteChoice(Integer index)
{
    if (index > 0)
        write_reg_integer(kSettingsKey, L"download", index);
    else
        delete_reg(kSettingsKey, L"download");
}

void SaveAutostart(bool ticked)
{
    if (ticked)
        write_reg_integer(kSettingsKey, L"auto", 1);
    else
        delete_reg(kSettingsKey, L"auto");
}

void SaveFolder(const String& folder, const String& documents)
{
    if (folder != documents)
        write_reg_string(kSettingsKey, L"path", folder);
    else
        delete_reg(kSettingsKey, L"path");
}

void SaveProxy(bool ticked, const TProxyValues& values)
{
    if (ticked) {
        write_reg_integer(kSettingsKey, L"proxy", 1);
        write_proxy_text(L"server", values.server);
        write_proxy_text(L"port", values.port);
        write_proxy_text(L"username", values.username);
        write_proxy_text(L"password", values.password);
    } else {
        KeptOfOtherType().clear();
        delete_reg(kSettingsKey, L"proxy");
        delete_reg(kSettingsKey, L"server");
        delete_reg(kSettingsKey, L"port");
        delete_reg(kSettingsKey, L"username");
        delete_reg(kSettingsKey, L"password");
    }
}

String MyDocumentsPath()
{
    Char buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPath(nullptr, buffer, CSIDL_PERSONAL, 1))
        return String();
    return String(buffer);
}
