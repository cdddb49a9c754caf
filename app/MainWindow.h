// The main unit's window-independent routines: the site table and link
// recognition, title decoding and cleaning, size and time texts, random names.
#pragma once

#include <vector>

#include "app/ItemList.h"
#include "platform/base/Types.h"

// Site ids (TItem::server).
constexpr Integer site_youtube = 1;
constexpr Integer site_google_video = 2;
constexpr Integer site_break = 3;
constexpr Integer site_myspace = 5;
constexpr Integer site_dailymotion = 7;
constexpr Integer site_pornotube = 8;
constexpr Integer site_redtube = 9;
constexpr Integer site_megaporn = 16;
constexpr Integer site_youporn = 17;
constexpr Integer site_yuvutu = 18;
constexpr Integer site_teachertube = 19;
constexpr Integer site_blip = 21;
constexpr Integer site_veoh = 22;
constexpr Integer site_metacafe = 23;
constexpr Integer site_guba = 32;
constexpr Integer site_xvideos = 33;
constexpr Integer site_xhamster = 34;
constexpr Integer site_vho = 35;
constexpr Integer site_rude = 36;
constexpr Integer site_megavideo = 37;
constexpr Integer site_pornhub = 38;
constexpr Integer site_velmora = 40;
constexpr Integer site_tube8 = 41;
constexpr Integer site_vimeo = 48;
constexpr Integer site_xtube = 50;
constexpr Integer site_cbs = 53;
constexpr Integer site_tangle = 54;  // also GodTube
constexpr Integer site_xnxx = 55;
constexpr Integer site_spankwire = 56;
constexpr Integer site_keezmovies = 57;
constexpr Integer site_tnaflix = 64;
constexpr Integer site_slutload = 65;
constexpr Integer site_drtuber = 66;
constexpr Integer site_facebook = 67;
constexpr Integer site_gotporn = 68;
constexpr Integer site_empflix = 70;
constexpr Integer site_beeg = 71;
constexpr Integer site_4tube = 72;
constexpr Integer site_alphaporno = 81;

// The root address sent as referer by downloads of site 34.
extern const wchar_t* const kXhamsterRootAddress;

struct TKeywordTest {
    String text;
    bool ignoreCase = false;
};

// One rule of the site table. Host tests never regard case.
struct TSiteRule {
    String site;                       // a name for people reading the table
    std::vector<String> hosts;         // any one of them must occur in the link
    String exclusion;                  // when it occurs, the rule passes the link over
    std::vector<TKeywordTest> keywords;  // tried in order, the first hit accepts
    Integer id = 0;
};

// The 40 rules in the order they run (the own site's host as it is now).
std::vector<TSiteRule> site_rules();

extern const wchar_t* const kInvalidLinkPrefix;  // "Invalid link. Example: "
extern const wchar_t* const kNoVideoMessage;     // the refusal
// "Invalid link. Example: " + the own site's example address.
String InvalidLinkMessage();

// What one press of Add decides before any window is involved.
struct TLinkRecognition {
    String link;                    // the link box text, trimmed: write it back
    std::vector<Integer> acceptedIds;  // one per accepting rule, in rule order
    std::vector<String> messages;   // error boxes to show, in order
    bool accepted = false;          // true: append one entry with `server`
    Integer server = 0;
};

// Runs the link through every rule; listedLinks are the links of the entries
// already in the list. A link that two rules accept, or that is already
// listed, is refused; the refusal then is the last message.
TLinkRecognition RecognizeLink(const String& linkBoxText, const std::vector<String>& listedLinks);

// The 41 texts of the site choice, "Auto" first, then the own site.
std::vector<String> SiteChoiceTexts();

// Trims blanks and control characters (everything up to ' ') at both ends.
String TrimText(const String& s);

// HTML entities and percent escapes of page titles.
String _decode_name(const String& name);
String _decode_name_break(const String& name);
String _decode_name_xtube(const String& name);
String _decode_name_facebook(const String& name);
String _decode_name_dailymotion(const String& name);
String _decode_name_metacafe(const String& name);

// The longest title, in UTF-8 bytes, that still leaves room for the longest
// collision suffix and extension ("_abc.mpeg") within a 255-byte file name.
constexpr size_t kMaxTitleBytes = 255 - 9;

// The cleaning of a fetched title before it is listed and used as the file
// name: drops line feeds, carriage returns and " * - / : ? \ |, every "youtube"
// in any case, then everything a file name cannot hold (NUL, control
// characters, invalid code points), shortens it to kMaxTitleBytes at a
// character boundary, trims it, and answers "" for "." and "..". An empty
// result means the entry is dropped.
String clean_title(const String& title);

// "N b" below 1024, "N Kb" below 1,000,000, "N.NN Mb" from there.
String FmtFileSize(Int64 size);

// The size of the first file a directory search for the name finds (any
// attributes); 0 when none is found.
Int64 FileSize(const String& filename);

// "[h:]m:s[.fraction]" (a "." or "," before the fraction) to seconds; blank
// gives 0; anything else raises EConvertError.
double TimeToSec(const String& tempo);
// Seconds as "hh:mm:ss".
String SecToTime(Integer sec);
// The digits of the text as milliseconds, as "hh:mm:ss"; EConvertError when
// there are none.
String MSecToTime(const String& sec);

// One random character per pattern digit: 1 upper case, 2 lower case,
// 3 either, 4 digits, 5 digits and upper case, 6 digits and lower case,
// 7 to 9 any. Other characters give nothing. Safe from any thread.
String RandomString(const String& expr);

// ---------------------------------------------------------------------------
// The main window

#include <memory>

#include "app/HttpSettings.h"
#include "app/Settings.h"
#include "app/DownloadJob.h"
#include "platform/ui/Forms.h"

class TImage;
class TCheckBox;
class TListView;
class TListItem;
class TMenuItem;
class TExeInfo;
class TFetchContext;
class TVodPanel;
class TVodToolButton;
class THTMLabel;
class TVodEdit;
class TVodLUEdit;
class TVodDirectoryEdit;
class TVodComboBox;
class TVodPopupMenu;
class TVodMenuOfficeStyler;

// The colour of the window, its panels, labels and buttons (R231 G151 B151).
constexpr TColor kMainColour = TColor(9934823);

// The link box's text before the user gives it the focus.
extern const wchar_t* const kLinkBoxPrompt;
// The application's title.
extern const wchar_t* const kApplicationTitle;

class T_mainForm : public TForm, private ISettingsControls {
    VEL_CLASS(T_mainForm, TForm)
public:
    explicit T_mainForm(TComponent* AOwner);
    ~T_mainForm() override;

    TVodPanel* VodPanel1 = nullptr;
    TVodPanel* TopVodPanel = nullptr;
    TVodPanel* SecondVodPanel = nullptr;
    TVodPanel* BottomVodPanel = nullptr;
    TVodPanel* RightVodPanel = nullptr;

    TImage* Image1 = nullptr;
    TVodLUEdit* LinkVodLUEdit = nullptr;
    TVodToolButton* AddVodToolButton = nullptr;
    TCheckBox* AutoCheckBox = nullptr;
    THTMLabel* ExampleHTMLabel = nullptr;
    TVodEdit* ExampleMemo = nullptr;

    THTMLabel* SaveToHTMLabel = nullptr;
    TVodDirectoryEdit* SaveVodDirectoryEdit = nullptr;
    THTMLabel* DownloadHTMLabel = nullptr;
    TVodComboBox* DownloadVodComboBox = nullptr;
    THTMLabel* SaveAsHTMLabel = nullptr;
    TVodComboBox* AviVodComboBox = nullptr;
    TImage* Image2 = nullptr;
    TImage* Image3 = nullptr;
    TImage* Image4 = nullptr;

    TVodToolButton* StartVodToolButton = nullptr;
    TVodToolButton* StopVodToolButton = nullptr;
    TVodToolButton* RemoveVodToolButton = nullptr;
    TVodToolButton* PlayVodToolButton = nullptr;
    TVodToolButton* OpenVodToolButton = nullptr;
    TListView* MainListView = nullptr;

    TVodToolButton* HomepageVodToolButton = nullptr;
    TVodToolButton* UpdateVodToolButton = nullptr;
    TVodToolButton* SupportVodToolButton = nullptr;
    TVodToolButton* HelpVodToolButton = nullptr;
    TVodToolButton* ExitVodToolButton = nullptr;

    TVodPopupMenu* VodPopupMenu = nullptr;
    TVodMenuOfficeStyler* VodMenuOfficeStyler = nullptr;
    TMenuItem* Start1 = nullptr;
    TMenuItem* Stop1 = nullptr;
    TMenuItem* VideoInfo1 = nullptr;
    TMenuItem* Remove1 = nullptr;
    TMenuItem* Play1 = nullptr;
    TMenuItem* Open1 = nullptr;

    TExeInfo* ExeInfo = nullptr;

    // What every page fetch and download is given; the proxy of the settings
    // is added when it is switched on. The application's folder is where the
    // converter is looked for.
    THttpSettings HttpBaseSettings;
    TDownloadSettings DownloadBaseSettings;

    Integer language_id = kDefaultLanguage;
    String my_documents_path;

    // Handlers.
    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender);
    void paste_clipboard_link(TObject* Sender);
    void LinkVodLUEditEnter(TObject* Sender);
    void LinkVodLUEditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void AddVodToolButtonClick(TObject* Sender);
    void StartVodToolButtonClick(TObject* Sender);
    void StopVodToolButtonClick(TObject* Sender);
    void RemoveVodToolButtonClick(TObject* Sender);
    void PlayVodToolButtonClick(TObject* Sender);
    void OpenVodToolButtonClick(TObject* Sender);
    void OpenLabelClick(TObject* Sender);
    void MainListViewChange(TObject* Sender);
    void HomepageVodToolButtonClick(TObject* Sender);
    void UpdateVodToolButtonClick(TObject* Sender);
    void SupportVodToolButtonClick(TObject* Sender);
    void HelpVodToolButtonClick(TObject* Sender);
    void ExitVodToolButtonClick(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void DownloadVodComboBoxChange(TObject* Sender);

    // Settings handlers.
    void AviVodComboBoxClick(TObject* Sender);
    void DownloadVodComboBoxClick(TObject* Sender);
    void AutoCheckBoxClick(TObject* Sender);
    void VodDirectoryEdit1Change(TObject* Sender);
    void set_language(Integer id) override;
    void disable_all();
    void enable_all();

    // List operations.
    void add_list_row(const TItem& item);
    void clear_list();
    void enable_buttons();

    // Starts a file with the shell and waits for the program it started,
    // keeping the window responsive.
    void run_and_wait(const String& file, const String& parameters, Integer show);

    // The settings every new fetch and download gets now.
    THttpSettings CurrentHttpSettings() const;
    TDownloadSettings CurrentDownloadSettings() const;

    // True while the wait window shows for a page fetch.
    bool Waiting() const { return FWaiting; }
    // Ends the wait for the page fetch: its transfers are aborted and its
    // result is never used (the wait window's Stop).
    void StopFetch();

    // The list row of an entry, -1 when none.
    Integer SelectedIndex() const;

private:
    class TView;
    // ISettingsControls.
    void SelectFormat(Integer index) override;
    void SelectSite(Integer index) override;
    void TickAutostart() override;
    void SetSaveFolder(const String& folder) override;
    void SetProxyServer(const String& text) override;
    void SetProxyPort(const String& text) override;
    void SetProxyUsername(const String& text) override;
    void SetProxyPassword(const String& text) override;
    void TickProxy() override;
    void ProxyALCheckBoxClick() override;

    void BuildControls();
    void ErrorBox(const String& text);
    void SetRowTexts(TItemKey key, const String& sizeText, const String& progressText);

    std::shared_ptr<TView> FView;
    std::shared_ptr<TFetchContext> FFetch;
    bool FWaiting = false;
    String FFolderShown;  // the folder edit's last accepted text
    bool FUndoingFolder = false;
};

extern T_mainForm* _mainForm;

// Browse requests still waiting for the file manager's helper.
Integer RunningBrowseThreads();
