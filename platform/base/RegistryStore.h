// The text form of the settings store behind HKEY_CURRENT_USER (see
// RegistryStore.cpp for the format): its parser and its writers, shared by
// the store, its tests and its fuzz target. Not for other code: use the
// registry calls of Registry.h.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Registry.h"

namespace regstore {

// Key and value names compare case-insensitively: maps are keyed by the
// folded (upper-case) name and can be searched with an unfolded one
// (TUnfolded) without building its folded copy.
struct TUnfolded {
    std::wstring_view Text;
};

struct TFoldLess {
    using is_transparent = void;
    bool operator()(const String& a, const String& b) const;
    bool operator()(const String& folded, TUnfolded b) const;
    bool operator()(TUnfolded a, const String& folded) const;
};

String Fold(std::wstring_view s);

struct TRegValue {
    String Name;
    DWORD Type = REG_NONE;
    std::vector<Byte> Data;
    bool operator==(const TRegValue& o) const { return Name == o.Name && Type == o.Type && Data == o.Data; }
};

struct TRegNode {
    String Name;
    std::map<String, TRegValue, TFoldLess> Values;                  // by folded name
    std::map<String, std::unique_ptr<TRegNode>, TFoldLess> Keys;    // by folded name
};

// String data as stored: REG_SZ/REG_EXPAND_SZ end at the first NUL and get
// one; REG_MULTI_SZ keeps its NUL-separated items and ends with two NULs; a
// partial last wchar_t unit is dropped.
std::vector<Byte> NormaliseString(DWORD type, const std::vector<Byte>& data);

// The key below root at path (names in any case); created on the way with
// create, else nullptr when missing.
TRegNode* Descend(TRegNode& root, const std::vector<String>& path, bool create);

// Same names, types and data, keys and values alike (spelling included).
bool SameTree(const TRegNode& a, const TRegNode& b);

// One line of the file as read, without its '\n'.
struct TStoreLine {
    enum TKind {
        Other,       // blank, comment, or nothing the parser understood
        BadHeader,   // a '[' line that names no key: the lines after it belong to none
        Header,      // names key Path
        Value        // Value, in key Path
    };
    std::string Raw;
    TKind Kind = Other;
    std::vector<String> Path;
    String KeyId;       // folded Path joined with '\', for Header and Value
    TRegValue Val;
    bool Utf8 = true;   // Raw is well-formed UTF-8
};

// A parsed file: its lines and the tree they give (HKEY_CURRENT_USER).
struct TStoreDoc {
    std::vector<TStoreLine> Lines;
    TRegNode Root;
};

// Reads the file's bytes; never fails (a line that makes no sense is kept as
// an Other line and gives nothing).
void Parse(const std::string& bytes, TStoreDoc& doc);

// The file's text for root, written afresh.
std::string Serialise(const TRegNode& root);

// The file's text after doc's tree has become root: every line stays as it
// is, in place, unless it holds a value or key that changed or went; changed
// values are written in their line, new values after the last line of their
// key, new keys at the end. lossy tells whether the new text drops anything
// beyond the change itself (a repeated value line that gave way to a later
// one, or bytes that were not UTF-8 in a rewritten line): the caller keeps
// the previous file then.
std::string Rewrite(const TStoreDoc& doc, const TRegNode& root, bool& lossy);

// One value as its line (without the line break).
std::string ValueLine(const TRegValue& v);

}   // namespace regstore
