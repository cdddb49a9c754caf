// The download entries: one TItem per row of the download list, in row order,
// kept in a TItemList that every thread reaches only through its lock.
//
// Worker threads never keep a pointer or an index into the list: an entry is
// found again at every access by its key (never reused, so an entry removed
// and a new one appended can never be mistaken for each other) or by the
// operating-system thread id of its download thread.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/base/Types.h"

class TDownloadThread;
class TIdCookieManager;
class TLabel;
class TStaticText;
class TImage;
class TVodToolButton;
class TVodProgressBar;

// Values of TItem::status.
constexpr Integer status_appended = 0;    // appended while a link is processed, not listed
constexpr Integer status_ready = 1;       // listed, not downloading
constexpr Integer status_downloading = 2; // a download thread was started
constexpr Integer status_finished = 4;    // download and conversion done

// Output formats: the index of the format choice.
constexpr Integer format_flv = 0;
constexpr Integer format_avi = 1;
constexpr Integer format_mpeg = 2;
constexpr Integer format_wmv = 3;
constexpr Integer format_count = 11;

// The texts of the format choice, in index order.
const std::vector<String>& FormatTexts();

// A stream description of a multi-format site; nothing creates one yet.
struct Tfmt_stream {
    Integer itag = 0;
    Integer q = 0;
    String video;
    String audio;
    Integer dash = 0;
    Cardinal s = 0;
    Cardinal sa = 0;
};

using TItemKey = uint64_t;

struct TItem {
    Integer enabled = 0;
    Integer id = 0;             // index in the list, renumbered on removal
    Cardinal thread_id = 0;     // OS thread id of the download thread, 0 before Start
    String link;                // the page address, trimmed
    String url;                 // media address (first source)
    String url_hq;              // second media address
    String url_a;
    String filename;            // name in the save folder, without the folder
    Integer server = 0;         // site id
    String title;
    String Length;              // running-time text of the page
    String views;
    String favorited;
    Int64 size = 0;             // from HEAD; -1 when the server sent no length
    Int64 size_hq = 0;
    Int64 size_a = 0;
    Integer format = 0;         // output-format index
    String saveto;              // save folder
    // Per-entry controls of the record; nothing sets them, they stay empty.
    TLabel* namelabel = nullptr;
    TStaticText* statuslabel = nullptr;
    TVodToolButton *closeButton = nullptr, *startButton = nullptr, *stopButton = nullptr,
                   *browseButton = nullptr, *playButton = nullptr;
    TImage* statusimage = nullptr;
    TDownloadThread* thread = nullptr;  // not owned: the thread frees itself
    Integer status = status_appended;
    TVodProgressBar* progressbar = nullptr;  // nothing sets it
    String rtmp_host, rtmp_app, rtmp_file, rtmp_link, rtmp_host_hq, rtmp_app_hq, rtmp_file_hq;
    bool rtmp_mp4_hq = false;
    bool rtmp_mp4 = false;
    String rtmp_player, rtmp_addon;
    bool encrypted = false;
    std::array<Byte, 20> swfHash{};
    Cardinal swfsize = 0;
    TIdCookieManager* idcookiemanager = nullptr;  // not owned
    std::vector<Tfmt_stream> youtube_array;
    String filenamet;           // temporary download name: 8 lower-case letters + ".flv"

    TItemKey key = 0;           // stable identity, never reused
    // Identifies the download run that may change this entry: each Start
    // gives a new one, so a stopped thread still winding down finds nothing.
    TItemKey download_token = 0;
};

class TItemList {
public:
    // Appends a fresh record (enabled 1, id = its index, the link and site
    // id) and answers its key.
    TItemKey add_item(Integer server, const String& link);

    Integer Count() const;
    // -1 when absent.
    Integer IndexOfKey(TItemKey key) const;
    // The first entry whose download thread has this id; -1 when none.
    Integer FindItemIndex(Cardinal threadId) const;
    TItemKey KeyAt(Integer index) const;  // 0 when out of range

    // Copies of records; false when absent.
    bool Get(Integer index, TItem& out) const;
    bool GetByKey(TItemKey key, TItem& out) const;
    std::vector<TItem> Snapshot() const;

    // Runs fn on the record under the lock; false when the record is gone.
    bool Update(TItemKey key, const std::function<void(TItem&)>& fn);

    // Removes a record, shifting the later ones down and renumbering their
    // ids; false when absent.
    bool RemoveAt(Integer index);
    bool Remove(TItemKey key);
    void Clear();

private:
    mutable std::mutex FLock;
    std::vector<TItem> FItems;
    TItemKey FNextKey = 1;

    Integer IndexOfKeyLocked(TItemKey key) const;
    void RemoveLocked(Integer index);
};

// The entries of the running program.
extern TItemList item_list;
