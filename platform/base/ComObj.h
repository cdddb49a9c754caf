// COM-style memory and streams: movable global memory blocks (HGLOBAL), the
// IStream interface with a stream over a global block, the data-transfer
// interfaces that clipboard and drag and drop are built on (declared here,
// implemented by the window layer), the CF_HDROP file-list format, and the
// automation layer: IDispatch, the helper that servers are written on and
// the registry of servers by program identifier.
#pragma once

#include <atomic>
#include <functional>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Interfaces.h"
#include "platform/base/Types.h"
#include "platform/base/Variants.h"

// ---------------------------------------------------------------------------
// Global memory

using HGLOBAL = void*;
using HDROP = HGLOBAL;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_DDESHARE = 0x2000;   // accepted; every block can be shared in process
constexpr UINT GMEM_SHARE = GMEM_DDESHARE;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// A block of exactly `bytes` bytes. Movable blocks answer a handle that
// GlobalLock turns into the address; fixed blocks answer the address itself.
// Null when out of memory.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
// The block's address (null for an unknown handle); counts the lock.
void* GlobalLock(HGLOBAL h);
// TRUE while other locks remain.
BOOL GlobalUnlock(HGLOBAL h);
// The size asked for at allocation (or reallocation); 0 for an unknown handle.
size_t GlobalSize(HGLOBAL h);
// Null on success, the handle itself when it is not a block of ours.
HGLOBAL GlobalFree(HGLOBAL h);
// New size (zero-filled growth with GMEM_ZEROINIT). A movable block keeps its
// handle; a fixed block may move (the new address is answered). A locked
// movable block only changes size in place; null when that is not possible.
HGLOBAL GlobalReAlloc(HGLOBAL h, size_t bytes, UINT flags);

// ---------------------------------------------------------------------------
// Streams

constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001u);
constexpr HRESULT STG_E_INVALIDPOINTER = static_cast<HRESULT>(0x80030009u);
constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070u);
constexpr HRESULT STG_E_INVALIDPARAMETER = static_cast<HRESULT>(0x80030057u);
constexpr HRESULT STG_E_ACCESSDENIED = static_cast<HRESULT>(0x80030005u);

constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;

constexpr DWORD STGTY_STORAGE = 1;
constexpr DWORD STGTY_STREAM = 2;
constexpr DWORD STATFLAG_DEFAULT = 0;
constexpr DWORD STATFLAG_NONAME = 1;
constexpr DWORD STGC_DEFAULT = 0;

struct STATSTG {
    Char* pwcsName = nullptr;   // never filled: streams here have no names
    DWORD type = 0;
    UInt64 cbSize = 0;
    UInt64 mtime = 0, ctime = 0, atime = 0;   // 100 ns units since 1601; 0 unknown
    DWORD grfMode = 0;
    DWORD grfLocksSupported = 0;
    TGUID clsid;
    DWORD grfStateBits = 0;
    DWORD reserved = 0;
};
using TStatStg = STATSTG;

struct ISequentialStream : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{0C733A30-2A1C-11CE-ADE5-00AA0044773D}");
    // S_OK when cb bytes were read, S_FALSE when fewer (the end was reached).
    virtual HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) = 0;
    virtual HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) = 0;
};

struct IStream : ISequentialStream {
    static constexpr TGUID IID = MakeGUID("{0000000C-0000-0000-C000-000000000046}");
    virtual HRESULT Seek(Int64 move, DWORD origin, UInt64* newPosition) = 0;
    virtual HRESULT SetSize(UInt64 newSize) = 0;
    virtual HRESULT CopyTo(IStream* target, UInt64 cb, UInt64* cbRead, UInt64* cbWritten) = 0;
    virtual HRESULT Commit(DWORD flags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT LockRegion(UInt64 offset, UInt64 cb, DWORD lockType) = 0;
    virtual HRESULT UnlockRegion(UInt64 offset, UInt64 cb, DWORD lockType) = 0;
    virtual HRESULT Stat(STATSTG* statstg, DWORD flag) = 0;
    virtual HRESULT Clone(IStream** stream) = 0;
};
inline constexpr TGUID IID_ISequentialStream = ISequentialStream::IID;
inline constexpr TGUID IID_IStream = IStream::IID;

// A stream over a global block: its size starts as GlobalSize(h) and writes
// grow the block. h null makes a new movable block. With deleteOnRelease the
// block is freed when the last stream on it (clones included) is released.
// The stream starts with a reference the caller owns.
HRESULT CreateStreamOnHGlobal(HGLOBAL h, BOOL deleteOnRelease, IStream** stream);
// The block under a stream made by CreateStreamOnHGlobal.
HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* h);

// ---------------------------------------------------------------------------
// Data transfer (clipboard, drag and drop). The window layer implements the
// drag loop (DoDragDrop, RegisterDragDrop) and the clipboard on these.

using CLIPFORMAT = Word;
constexpr CLIPFORMAT CF_TEXT = 1;           // 8-bit text (Windows-1252), ended by a zero
constexpr CLIPFORMAT CF_UNICODETEXT = 13;   // UTF-16LE text, ended by a zero
constexpr CLIPFORMAT CF_HDROP = 15;         // a DROPFILES block

constexpr DWORD TYMED_NULL = 0;
constexpr DWORD TYMED_HGLOBAL = 1;
constexpr DWORD TYMED_FILE = 2;
constexpr DWORD TYMED_ISTREAM = 4;
constexpr DWORD TYMED_ISTORAGE = 8;
constexpr DWORD TYMED_GDI = 16;
constexpr DWORD TYMED_MFPICT = 32;
constexpr DWORD TYMED_ENHMF = 64;

constexpr DWORD DVASPECT_CONTENT = 1;
constexpr DWORD DVASPECT_THUMBNAIL = 2;
constexpr DWORD DVASPECT_ICON = 4;
constexpr DWORD DVASPECT_DOCPRINT = 8;

constexpr DWORD DATADIR_GET = 1;
constexpr DWORD DATADIR_SET = 2;

constexpr DWORD DROPEFFECT_NONE = 0;
constexpr DWORD DROPEFFECT_COPY = 1;
constexpr DWORD DROPEFFECT_MOVE = 2;
constexpr DWORD DROPEFFECT_LINK = 4;
constexpr DWORD DROPEFFECT_SCROLL = 0x80000000u;

constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100u);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101u);
constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102u);
constexpr HRESULT DATA_S_SAMEFORMATETC = 0x00040130;
constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
constexpr HRESULT DV_E_LINDEX = static_cast<HRESULT>(0x80040068u);
constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069u);
constexpr HRESULT DV_E_DVASPECT = static_cast<HRESULT>(0x8004006Bu);
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003u);
constexpr HRESULT OLE_S_USEREG = 0x00040000;
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);

struct DVTARGETDEVICE;   // never used: always null
struct IAdviseSink;      // advise connections are not supported
struct IEnumSTATDATA;

struct FORMATETC {
    CLIPFORMAT cfFormat = 0;
    DVTARGETDEVICE* ptd = nullptr;
    DWORD dwAspect = DVASPECT_CONTENT;
    LONG lindex = -1;
    DWORD tymed = TYMED_HGLOBAL;
};
using TFormatEtc = FORMATETC;

struct STGMEDIUM {
    DWORD tymed = TYMED_NULL;
    union {
        HGLOBAL hGlobal = nullptr;
        IStream* pstm;
        Char* lpszFileName;
    };
    // When set, released instead of freeing the data.
    IUnknown* pUnkForRelease = nullptr;
};
using TStgMedium = STGMEDIUM;

// Frees what a medium holds (the global block, or a reference to the stream)
// and empties it.
void ReleaseStgMedium(STGMEDIUM* medium);

struct POINTL {
    LONG x = 0;
    LONG y = 0;
};

struct IEnumFORMATETC : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{00000103-0000-0000-C000-000000000046}");
    virtual HRESULT Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT Skip(ULONG celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC** ppenum) = 0;
};

struct IDataObject : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{0000010E-0000-0000-C000-000000000046}");
    virtual HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) = 0;
    virtual HRESULT GetDataHere(const FORMATETC* format, STGMEDIUM* medium) = 0;
    virtual HRESULT QueryGetData(const FORMATETC* format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const FORMATETC* formatIn, FORMATETC* formatOut) = 0;
    virtual HRESULT SetData(const FORMATETC* format, STGMEDIUM* medium, BOOL release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumFormat) = 0;
    virtual HRESULT DAdvise(const FORMATETC* format, DWORD advf, IAdviseSink* sink, DWORD* connection) = 0;
    virtual HRESULT DUnadvise(DWORD connection) = 0;
    virtual HRESULT EnumDAdvise(IEnumSTATDATA** enumAdvise) = 0;
};

struct IDropSource : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{00000121-0000-0000-C000-000000000046}");
    // keyState: MK_* flags of the window layer.
    virtual HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) = 0;
    virtual HRESULT GiveFeedback(DWORD effect) = 0;
};

struct IDropTarget : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{00000122-0000-0000-C000-000000000046}");
    virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
    virtual HRESULT DragOver(DWORD keyState, POINTL pt, DWORD* effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
};

inline constexpr TGUID IID_IEnumFORMATETC = IEnumFORMATETC::IID;
inline constexpr TGUID IID_IDataObject = IDataObject::IID;
inline constexpr TGUID IID_IDropSource = IDropSource::IID;
inline constexpr TGUID IID_IDropTarget = IDropTarget::IID;

// The CF_HDROP block: this header, then at pFiles the names, each ended by a
// zero and the list by one more; UTF-16LE when fWide, else 8-bit.
struct DROPFILES {
    DWORD pFiles = sizeof(DROPFILES);
    TPoint pt;
    BOOL fNC = 0;
    BOOL fWide = 1;
};
static_assert(sizeof(DROPFILES) == 20, "DROPFILES is a 20-byte header");

// A movable block holding the text in a text format (CF_TEXT or
// CF_UNICODETEXT) with its final zero; null for other formats.
HGLOBAL MakeGlobalText(const String& text, CLIPFORMAT format);
// The text of a block in a text format, up to its first zero or the end of
// the block, whichever comes first (a foreign block may lack the zero).
String GlobalText(HGLOBAL h, CLIPFORMAT format);

// A movable block holding the names as a wide DROPFILES list.
HGLOBAL MakeDropFiles(const std::vector<String>& files, TPoint pt = {});
// index 0xFFFFFFFF: the number of names. Otherwise copies the name (at most
// size - 1 characters and a zero) and answers its length; with a null buffer
// only the length. 0 for a bad index or a malformed block: reading never
// passes the end of the block. 8-bit names are Windows-1252.
UINT DragQueryFile(HDROP drop, UINT index, Char* buffer, UINT size);

// ---------------------------------------------------------------------------
// Automation
//
// Objects are reached through IDispatch by member name; Variant (Variants.h)
// makes the calls read as call chains. Servers are found by program
// identifier in a process-wide registry: CreateOleObject makes a new object
// through the factory registered for the identifier, GetActiveOleObject
// answers the object a running server entered in the table of active
// objects. Identifiers compare without regard to case.

constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3u);
constexpr HRESULT MK_E_UNAVAILABLE = static_cast<HRESULT>(0x800401E3u);
constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = static_cast<HRESULT>(0x80080005u);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = static_cast<HRESULT>(0x80020001u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006u);
constexpr HRESULT DISP_E_NONAMEDARGS = static_cast<HRESULT>(0x80020007u);
constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009u);
constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000Bu);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);

class EOleError : public Exception {
public:
    using Exception::Exception;
    String ClassName() const override { return L"EOleError"; }
};

class EOleSysError : public EOleError {
public:
    EOleSysError(const String& msg, HRESULT errorCode) : EOleError(msg), FErrorCode(errorCode) {}
    String ClassName() const override { return L"EOleSysError"; }
    HRESULT ErrorCode() const { return FErrorCode; }

private:
    HRESULT FErrorCode;
};

// A member of an automation object failed: the message is the server's
// description, Source names the server.
class EOleException : public EOleSysError {
public:
    EOleException(const String& msg, HRESULT errorCode, const String& source, const String& helpFile = String(),
                  Integer helpContext = 0)
        : EOleSysError(msg, errorCode), FSource(source), FHelpFile(helpFile), FHelpContext(helpContext)
    {
    }
    String ClassName() const override { return L"EOleException"; }
    const String& Source() const { return FSource; }
    const String& HelpFile() const { return FHelpFile; }
    Integer HelpContext() const { return FHelpContext; }

private:
    String FSource, FHelpFile;
    Integer FHelpContext;
};

using DISPID = LONG;
constexpr DISPID DISPID_VALUE = 0;        // the object's default member
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_PROPERTYPUT = -3; // the named argument holding a property's new value

constexpr Word DISPATCH_METHOD = 1;
constexpr Word DISPATCH_PROPERTYGET = 2;
constexpr Word DISPATCH_PROPERTYPUT = 4;

// The arguments of one call. Unlike the wire form, positional arguments are
// in call order (the first argument first). Named arguments carry the
// numbers GetIDsOfNames gave their names; a property's new value is the
// named argument DISPID_PROPERTYPUT.
// The spans point into the caller's storage for the length of the call.
struct DISPPARAMS {
    std::span<const Variant> Args;
    std::span<const DISPID> NamedIds;
    std::span<const Variant> NamedArgs;
};

// What a server tells about a failed member (with DISP_E_EXCEPTION).
struct EXCEPINFO {
    Word wCode = 0;
    String bstrSource;
    String bstrDescription;
    String bstrHelpFile;
    DWORD dwHelpContext = 0;
    HRESULT scode = 0;
};

struct IDispatch : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{00020400-0000-0000-C000-000000000046}");
    // names[0] is a member, names[1..] names of its parameters; ids receives
    // one number per name. DISP_E_UNKNOWNNAME when any is unknown (the
    // known ones are still filled, the others DISPID_UNKNOWN).
    virtual HRESULT GetIDsOfNames(const std::wstring_view* names, UINT count, DISPID* ids) = 0;
    // Calls member id: flags DISPATCH_METHOD and/or DISPATCH_PROPERTYGET
    // (a late-bound read sends both) or DISPATCH_PROPERTYPUT. result may be
    // null. On DISP_E_EXCEPTION excepInfo tells what went wrong.
    virtual HRESULT Invoke(DISPID id, Word flags, const DISPPARAMS& params, Variant* result,
                           EXCEPINFO* excepInfo) = 0;
};
inline constexpr TGUID IID_IDispatch = IDispatch::IID;

// Calls a member of obj by name, the way Variant's Get, Call and Set do:
// raises EOleSysError for a name the object does not know (or a null
// object) and for a failed call without a description, EOleException with
// the server's description when the member failed.
Variant DispatchInvoke(IDispatch* obj, std::wstring_view name, Word flags, std::span<const Variant> args,
                       std::span<const TNamedArg> named = {});

// ---------------------------------------------------------------------------
// Writing servers: TAutoObject answers IDispatch from a table of members that
// each class builds once.
//
//     const TAutoMembers& TNode::Members() const {
//         static const TAutoMembers table = TAutoMembers::For<TNode>()
//             .Property(L"nodeName", [](TNode& n, const TAutoArgs&) { return Variant(n.Name()); })
//             .Method(L"load", [](TNode& n, const TAutoArgs& a) { return Variant(n.Load(a.Text(0))); },
//                     {L"url"});
//         return table;
//     }
//
// A member that raises an Exception fails the call with DISP_E_EXCEPTION,
// the exception's message as description and the object's source name.

class TAutoObject;

// The arguments a member sees: positional ones, then named ones placed at
// the position of their parameter name.
class TAutoArgs {
public:
    Integer Count() const { return Integer(FArgs.size()); }
    // Given and not marked as left out.
    bool Has(Integer index) const;
    // The argument, or Unassigned when it was not given.
    const Variant& operator[](Integer index) const;
    // The argument, raising EOleError "Invalid number of parameters" when
    // it was not given.
    const Variant& Required(Integer index) const;
    String Text(Integer index) const { return VarToStr(Required(index)); }
    // The new value of a property write.
    const Variant& Value() const { return FValue ? *FValue : Unassigned; }

private:
    friend class TAutoObject;
    std::span<const Variant> FArgs;   // the caller's, or FPlaced
    std::vector<Variant> FPlaced;     // positional and named arguments in place
    const Variant* FValue = nullptr;
};

class TAutoMembers {
public:
    using TGetter = std::function<Variant(TAutoObject& self, const TAutoArgs& args)>;
    using TSetter = std::function<void(TAutoObject& self, const TAutoArgs& args)>;

    struct TMember {
        String Name;
        std::vector<String> Params;
        TGetter Get;   // method body, or a property's read
        TSetter Put;   // a property's write; empty for read-only
    };

    template <class T>
    class TBuilder;
    template <class T>
    static TBuilder<T> For() { return TBuilder<T>(); }

    const std::vector<TMember>& Members() const { return FMembers; }
    // Number of the member (1-based), or DISPID_UNKNOWN.
    DISPID Find(std::wstring_view name) const;
    // The member that answers DISPID_VALUE (0: none).
    DISPID DefaultMember() const { return FDefault; }

private:
    std::vector<TMember> FMembers;
    DISPID FDefault = 0;
};

template <class T>
class TAutoMembers::TBuilder {
public:
    template <class F>
    TBuilder&& Method(const String& name, F body, std::vector<String> params = {}) &&
    {
        Add(name, std::move(body), nullptr, std::move(params));
        return std::move(*this);
    }
    template <class F>
    TBuilder&& Property(const String& name, F get, std::vector<String> params = {}) &&
    {
        Add(name, std::move(get), nullptr, std::move(params));
        return std::move(*this);
    }
    template <class F, class P>
    TBuilder&& Property(const String& name, F get, P put, std::vector<String> params = {}) &&
    {
        Add(name, std::move(get), std::move(put), std::move(params));
        return std::move(*this);
    }
    // The last member added is the object's default member.
    TBuilder&& Default() &&
    {
        FTable.FDefault = DISPID(FTable.FMembers.size());
        return std::move(*this);
    }
    operator TAutoMembers() && { return std::move(FTable); }

private:
    // The callables are wrapped once, so a call goes through one std::function.
    template <class F, class P>
    void Add(const String& name, F get, P put, std::vector<String> params)
    {
        TMember m;
        m.Name = name;
        m.Params = std::move(params);
        m.Get = [get = std::move(get)](TAutoObject& self, const TAutoArgs& a) -> Variant {
            return get(static_cast<T&>(self), a);
        };
        if constexpr (!std::is_same_v<P, std::nullptr_t>)
            m.Put = [put = std::move(put)](TAutoObject& self, const TAutoArgs& a) { put(static_cast<T&>(self), a); };
        FTable.FMembers.push_back(std::move(m));
    }
    TAutoMembers FTable;
};

class TAutoObject : public TInterfacedObject, public IDispatch {
public:
    HRESULT QueryInterface(const TGUID& iid, void** obj) override;
    HRESULT GetIDsOfNames(const std::wstring_view* names, UINT count, DISPID* ids) override;
    HRESULT Invoke(DISPID id, Word flags, const DISPPARAMS& params, Variant* result,
                   EXCEPINFO* excepInfo) override;

protected:
    // source: the server's name in error reports (its program identifier).
    explicit TAutoObject(const String& source) : FSource(source) {}
    ~TAutoObject() override = default;
    virtual const TAutoMembers& Members() const = 0;
    const String& Source() const { return FSource; }

private:
    // Members(), asked once: every call looks its member up in it.
    const TAutoMembers& Table() const
    {
        const TAutoMembers* t = FTable.load(std::memory_order_relaxed);
        if (!t) FTable.store(t = &Members(), std::memory_order_relaxed);
        return *t;
    }
    String FSource;
    mutable std::atomic<const TAutoMembers*> FTable{nullptr};
};

// ---------------------------------------------------------------------------
// The registry of servers

// Makes a new object of a server.
using TOleServerFactory = std::function<TComPtr<IDispatch>()>;

// Enters (or replaces) the factory of a program identifier.
void RegisterOleServer(const String& progId, TOleServerFactory factory);
// Removes it; objects already made live on.
void UnregisterOleServer(const String& progId);

// Enters a running object as the active one of its program identifier (the
// table holds a reference until revoked); answers the cookie that revokes it.
DWORD RegisterActiveObject(IDispatch* obj, const String& progId);
// Removes the entry (unknown cookies are ignored).
void RevokeActiveObject(DWORD cookie);

// Replaces the factory of one identifier for the life of the scope (tests
// put fakes in place this way) and puts back what was there before.
class TOleServerScope {
public:
    TOleServerScope(const String& progId, TOleServerFactory factory);
    ~TOleServerScope();
    TOleServerScope(const TOleServerScope&) = delete;
    TOleServerScope& operator=(const TOleServerScope&) = delete;

private:
    String FProgId;
    TOleServerFactory FPrevious;
};

// A new object of the server registered for the identifier. Raises
// EOleSysError "Invalid class string" (CO_E_CLASSSTRING) when none is.
TComPtr<IDispatch> CreateOleObject(const String& className);
// The running object entered for the identifier. Raises EOleSysError
// "Operation unavailable" (MK_E_UNAVAILABLE) when the server is registered
// but not running, "Invalid class string" when no server is registered.
TComPtr<IDispatch> GetActiveOleObject(const String& className);
