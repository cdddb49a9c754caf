// Lists: TList of pointers, the abstract string list TStrings and its
// implementation TStringList (sorting, duplicates, name=value pairs, text
// and delimited forms, loading and saving with an encoding).
#pragma once

#include <functional>
#include <vector>

#include "platform/base/Objects.h"

class TStream;
class TEncoding;

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
using TListSortCompare = std::function<Integer(void* Item1, void* Item2)>;

class TList : public TObject {
    VEL_CLASS(TList, TObject)
public:
    TList() = default;
    ~TList() override;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    Integer Add(void* Item);
    void Insert(Integer Index, void* Item);
    void Delete(Integer Index);
    // Removes the first occurrence; answers its former index or -1.
    Integer Remove(void* Item);
    // Removes without the "deleted" notification; answers Item or null.
    void* Extract(void* Item);
    Integer IndexOf(void* Item) const;
    virtual void Clear();
    void Exchange(Integer Index1, Integer Index2);
    void Move(Integer CurIndex, Integer NewIndex);
    // Drops the null entries.
    void Pack();
    void Sort(const TListSortCompare& Compare);

    Integer Count() const { return Integer(FList.size()); }
    void SetCount(Integer NewCount);
    Integer Capacity() const { return Integer(FList.capacity()); }
    void SetCapacity(Integer NewCapacity);
    void* Items(Integer Index) const;
    void SetItems(Integer Index, void* Item);
    void* operator[](Integer Index) const { return Items(Index); }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }
    void** List() { return FList.data(); }

protected:
    virtual void Notify(void* Ptr, TListNotification Action) {}
    [[noreturn]] static void Error(Integer Index);

private:
    std::vector<void*> FList;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
    VEL_CLASS(TStrings, TPersistent)
public:
    TStrings() = default;
    ~TStrings() override = default;

    virtual Integer Add(const String& S);
    virtual Integer AddObject(const String& S, TObject* AObject);
    void Append(const String& S) { Add(S); }
    virtual void AddStrings(TStrings* Strings);
    virtual void Insert(Integer Index, const String& S) = 0;
    void InsertObject(Integer Index, const String& S, TObject* AObject);
    virtual void Delete(Integer Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(Integer Index1, Integer Index2);
    virtual void Move(Integer CurIndex, Integer NewIndex);
    virtual Integer IndexOf(const String& S) const;
    Integer IndexOfName(const String& Name) const;
    Integer IndexOfObject(TObject* AObject) const;
    bool Equals(TStrings* Strings) const;

    void Assign(TPersistent* Source) override;
    void BeginUpdate();
    void EndUpdate();
    Integer UpdateCount() const { return FUpdateCount; }

    Integer Count() const { return GetCount(); }
    String Strings(Integer Index) const { return Get(Index); }
    void SetStrings(Integer Index, const String& S) { Put(Index, S); }
    String operator[](Integer Index) const { return Get(Index); }
    TObject* Objects(Integer Index) const { return GetObject(Index); }
    void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }

    // Lines joined by LineBreak (CRLF), each line ended by it; reading splits
    // at CR, LF or CRLF.
    virtual String Text() const;
    virtual void SetText(const String& Value);
    // Items separated by Delimiter; an item with a blank (unless
    // StrictDelimiter), the quote or the delimiter is quoted with QuoteChar.
    String DelimitedText() const;
    void SetDelimitedText(const String& Value);
    // DelimitedText with ',' and '"' and blanks as separators.
    String CommaText() const;
    void SetCommaText(const String& Value);

    // Name=Value lines.
    String Names(Integer Index) const;
    String Values(const String& Name) const;
    // An empty value deletes the line.
    void SetValues(const String& Name, const String& Value);
    String ValueFromIndex(Integer Index) const;
    void SetValueFromIndex(Integer Index, const String& Value);

    Char Delimiter() const { return FDelimiter; }
    void SetDelimiter(Char v) { FDelimiter = v; }
    Char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(Char v) { FQuoteChar = v; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool v) { FStrictDelimiter = v; }
    Char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(Char v) { FNameValueSeparator = v; }
    const String& LineBreak() const { return FLineBreak; }
    void SetLineBreak(const String& v) { FLineBreak = v; }

    // A byte order mark in the text decides its encoding; without one the
    // given encoding, else the system code page (TEncoding::Default), is used.
    virtual void LoadFromStream(TStream* Stream, TEncoding* Encoding = nullptr);
    virtual void LoadFromFile(const String& FileName, TEncoding* Encoding = nullptr);
    // In the given encoding (the system code page when none), preceded by
    // its byte order mark (UTF-8, UTF-16) when WriteBOM is on.
    virtual void SaveToStream(TStream* Stream, TEncoding* Encoding = nullptr) const;
    // Written to a temporary file, then renamed over FileName.
    virtual void SaveToFile(const String& FileName, TEncoding* Encoding = nullptr) const;
    bool WriteBOM() const { return FWriteBOM; }
    void SetWriteBOM(bool v) { FWriteBOM = v; }

    // In component streams the lines travel as the property "Strings": a
    // list of texts.
    void DefineProperties(TFiler* Filer) override;

protected:
    virtual String Get(Integer Index) const = 0;
    virtual Integer GetCount() const = 0;
    virtual TObject* GetObject(Integer Index) const { return nullptr; }
    virtual void Put(Integer Index, const String& S);
    virtual void PutObject(Integer Index, TObject* AObject) {}
    virtual void SetUpdateState(bool Updating) {}
    virtual Integer CompareStrings(const String& S1, const String& S2) const;
    [[noreturn]] static void Error(Integer Index);

private:
    Integer FUpdateCount = 0;
    Char FDelimiter = L',';
    Char FQuoteChar = L'"';
    Char FNameValueSeparator = L'=';
    bool FStrictDelimiter = false;
    String FLineBreak = L"\r\n";
    bool FWriteBOM = true;
};

class TStringList;
using TStringListSortCompare = std::function<Integer(TStringList* List, Integer Index1, Integer Index2)>;

class TStringList : public TStrings {
    VEL_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    // With OwnsObjects the list frees its objects when their lines go.
    explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
    ~TStringList() override;
    TStringList(const TStringList&) = delete;
    TStringList& operator=(const TStringList&) = delete;

    Integer Add(const String& S) override;
    Integer AddObject(const String& S, TObject* AObject) override;
    // Appends a line taking S's text (no copy); not for sorted lists, and
    // without change events: for bulk filling of a plain list.
    void AppendMoved(String&& S, TObject* AObject);
    // Moves the text of line Index out, leaving it empty.
    String TakeString(Integer Index);
    void Reserve(Integer N)
    {
        if (N > 0) FList.reserve(size_t(N));
    }
    void Insert(Integer Index, const String& S) override;
    void Delete(Integer Index) override;
    void Clear() override;
    void Exchange(Integer Index1, Integer Index2) override;
    void Move(Integer CurIndex, Integer NewIndex) override;
    Integer IndexOf(const String& S) const override;
    void Assign(TPersistent* Source) override;

    // Binary search of a sorted list: true when found; Index is where S is
    // or would be inserted.
    virtual bool Find(const String& S, Integer& Index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates v) { FDuplicates = v; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool v) { FOwnsObjects = v; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    String Get(Integer Index) const override;
    Integer GetCount() const override { return Integer(FList.size()); }
    TObject* GetObject(Integer Index) const override;
    void Put(Integer Index, const String& S) override;
    void PutObject(Integer Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;
    Integer CompareStrings(const String& S1, const String& S2) const override;
    virtual void Changed();
    virtual void Changing();
    void InsertItem(Integer Index, const String& S, TObject* AObject);

private:
    struct TItem {
        String S;
        TObject* O = nullptr;
    };
    void CheckIndex(Integer Index) const;
    void QuickSort(Integer L, Integer R, const TStringListSortCompare& Compare);

    std::vector<TItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
};
