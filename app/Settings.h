// The downloader's settings: text values under one registry key of the
// current user, read at every activation of the main window and written by
// the handlers of the controls they belong to. The window-independent part
// lives here so that the order of reads and writes can be checked without
// windows; the main window supplies its controls through ISettingsControls.
#pragma once

#include "platform/base/Types.h"

// "\SOFTWARE\Corvanti\Velmora Video Downloader\" under HKEY_CURRENT_USER.
extern const wchar_t* const kSettingsKey;

// Default of "language" (and the value never written).
constexpr Integer kDefaultLanguage = 10000;

// Each call opens the registry for itself and closes it again. Writing
// creates the key; deleting never does.
void write_reg_integer(const String& Key, const String& value, Integer data);
void write_reg_string(const String& Key, const String& value, const String& data);
void delete_reg(const String& Key, const String& value);

// Whether the settings key exists (opened without creating it).
bool SettingsKeyExists();

// The proxy window's four edits.
struct TProxyValues {
    String server;
    String port;
    String username;
    String password;  // kept as plain registry text, never logged or shown
};

// What the reading at activation changes. Setting a control raises its own
// change or click handler where the control would, so the writes those
// handlers make happen in the order the reading causes them.
class ISettingsControls {
public:
    virtual ~ISettingsControls() = default;
    // Records the language and sets the caption; writes "language" when it
    // is not the default.
    virtual void set_language(Integer id) = 0;
    virtual void SelectFormat(Integer index) = 0;
    virtual void SelectSite(Integer index) = 0;
    virtual void TickAutostart() = 0;
    virtual void SetSaveFolder(const String& folder) = 0;
    // Empty texts are not passed: the edit keeps what it has.
    virtual void SetProxyServer(const String& text) = 0;
    virtual void SetProxyPort(const String& text) = 0;
    virtual void SetProxyUsername(const String& text) = 0;
    virtual void SetProxyPassword(const String& text) = 0;
    // Ticks the proxy box; then the reading runs ProxyALCheckBoxClick.
    virtual void TickProxy() = 0;
    virtual void ProxyALCheckBoxClick() = 0;
};

// The reading at activation. documents is the user's documents folder,
// taken afresh by the caller. A key that does not exist is not read (and
// not created): the language gets its default and the folder edit the
// documents folder. A stored format of 11 or more, or a site of 41 or more,
// names no entry of its choice and is ignored.
void ReadSettings(ISettingsControls& controls, const String& documents);

// The writing handlers' registry part.
// AviVodComboBoxClick: an index below 0 deletes "format", else writes it.
void SaveFormatChoice(Integer index);
// DownloadVodComboBoxClick: an index above 0 is written, else "download" is
// deleted.
void SaveSiteChoice(Integer index);
// AutoCheckBoxClick.
void SaveAutostart(bool ticked);
// VodDirectoryEdit1Change after the folder test: a folder other than the
// documents folder is written to "path", the documents folder deletes it.
void SaveFolder(const String& folder, const String& documents);
// ProxyCheckBoxClick / ProxyALCheckBoxClick: ticked writes "proxy" 1 and the
// four edits; cleared deletes the five values.
void SaveProxy(bool ticked, const TProxyValues& values);

// The user's documents folder, made when it is missing so that the save
// folder always exists ("" when the shell cannot give it).
String MyDocumentsPath();
