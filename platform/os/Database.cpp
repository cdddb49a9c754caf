#include "platform/os/Database.h"

#include <memory>
#include <vector>

#include <sqlite3.h>

#include "platform/base/SysUtils.h"

namespace {

const String NoCurrentRecord =
    L"Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current "
    L"record.";
const String ObjectClosed = L"Operation is not allowed when the object is closed.";

[[noreturn]] void Fail(const String& message, const String& source)
{
    throw EOleException(message, E_FAIL, source);
}

struct TSqliteDb {
    sqlite3* Db = nullptr;
    ~TSqliteDb()
    {
        if (Db) sqlite3_close_v2(Db);
    }
};

String LibraryMessage(sqlite3* db) { return UTF8ToString(db ? sqlite3_errmsg(db) : "out of memory"); }

// ---------------------------------------------------------------------------
// Connection

class TConnection : public TAutoObject {
public:
    TConnection() : TAutoObject(DatabaseConnectionProgId) {}

    std::shared_ptr<TSqliteDb> Db() const { return FDb; }

    void Open(const String& connectionString)
    {
        if (FDb) Fail(L"Operation is not allowed when the object is open.", Source());
        if (!connectionString.empty()) FConnectionString = connectionString;
        String file = DatabaseFileFromConnectionString(FConnectionString);
        if (file.empty()) Fail(L"The connection string names no database file.", Source());
        auto db = std::make_shared<TSqliteDb>();
        // Read only and never created: an import must not make or change
        // files. One thread uses a connection and its record sets.
        int rc = sqlite3_open_v2(UTF8Encode(file).c_str(), &db->Db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
        if (rc == SQLITE_OK) {
            // Opening is lazy; reading the schema shows whether the file is
            // a database at all.
            rc = sqlite3_table_column_metadata(db->Db, "main", "sqlite_master", nullptr, nullptr, nullptr, nullptr,
                                               nullptr, nullptr);
        }
        if (rc != SQLITE_OK) Fail(LibraryMessage(db->Db) + L": " + file, Source());
        FDb = std::move(db);
    }

    void Close()
    {
        if (!FDb) Fail(ObjectClosed, Source());
        FDb.reset();   // record sets still open keep the file open until they close
    }

protected:
    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TConnection>()
                .Method(L"Open",
                        [](TConnection& c, const TAutoArgs& a) {
                            c.Open(a.Has(0) ? a.Text(0) : String());
                            return Variant();
                        },
                        {L"ConnectionString", L"UserID", L"Password", L"Options"})
                .Method(L"Close",
                        [](TConnection& c, const TAutoArgs&) {
                            c.Close();
                            return Variant();
                        })
                .Property(
                    L"ConnectionString", [](TConnection& c, const TAutoArgs&) { return Variant(c.FConnectionString); },
                    [](TConnection& c, const TAutoArgs& a) {
                        if (c.FDb) Fail(L"Operation is not allowed when the object is open.", c.Source());
                        c.FConnectionString = VarToStr(a.Value());
                    })
                .Default();
        return table;
    }

private:
    String FConnectionString;
    std::shared_ptr<TSqliteDb> FDb;
};

// ---------------------------------------------------------------------------
// Record set

class TRecordSet;

// What the record set's fields read: the open statement and its position.
struct TCursor {
    std::shared_ptr<TSqliteDb> Db;
    sqlite3_stmt* Stmt = nullptr;
    std::string Sql;
    bool Eof = true;
    Int64 Seen = 0;          // records stepped onto so far
    Int64 Count = -1;        // known record count
    ~TCursor()
    {
        if (Stmt) sqlite3_finalize(Stmt);
    }
};

class TField : public TAutoObject {
public:
    TField(std::shared_ptr<TCursor> cursor, int column)
        : TAutoObject(DatabaseRecordSetProgId), FCursor(std::move(cursor)), FColumn(column)
    {
    }

protected:
    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TField>()
                .Property(L"Value", [](TField& f, const TAutoArgs&) { return f.Value(); })
                .Default()
                .Property(L"Name",
                          [](TField& f, const TAutoArgs&) {
                              sqlite3_stmt* s = f.Statement();
                              return Variant(UTF8ToString(sqlite3_column_name(s, f.FColumn)));
                          })
                .Property(L"ActualSize", [](TField& f, const TAutoArgs&) { return Variant(f.ActualSize()); });
        return table;
    }

private:
    sqlite3_stmt* Statement() const
    {
        if (!FCursor->Stmt) Fail(ObjectClosed, Source());
        return FCursor->Stmt;
    }
    sqlite3_stmt* Current() const
    {
        sqlite3_stmt* s = Statement();
        if (FCursor->Eof) Fail(NoCurrentRecord, Source());
        return s;
    }

    Variant Value() const
    {
        sqlite3_stmt* s = Current();
        switch (sqlite3_column_type(s, FColumn)) {
        case SQLITE_INTEGER: {
            sqlite3_int64 v = sqlite3_column_int64(s, FColumn);
            if (v >= INT32_MIN && v <= INT32_MAX) return Variant(Integer(v));
            return Variant(Int64(v));
        }
        case SQLITE_FLOAT: return Variant(sqlite3_column_double(s, FColumn));
        case SQLITE_TEXT: {
            auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, FColumn));
            size_t bytes = text ? size_t(sqlite3_column_bytes(s, FColumn)) : 0;
            // Plain ASCII (the common case) widens byte by byte.
            String wide(bytes, L'\0');
            for (size_t i = 0; i < bytes; ++i) {
                if (static_cast<unsigned char>(text[i]) >= 0x80)
                    return Variant(UTF8ToString(std::string(text, bytes)));
                wide[i] = Char(text[i]);
            }
            return Variant(std::move(wide));
        }
        case SQLITE_BLOB: {
            auto* data = static_cast<const Byte*>(sqlite3_column_blob(s, FColumn));
            int bytes = sqlite3_column_bytes(s, FColumn);
            return VarArrayOfBytes(data, data ? size_t(bytes) : 0);
        }
        default: return Variant::Null();
        }
    }

    Integer ActualSize() const
    {
        sqlite3_stmt* s = Current();
        switch (sqlite3_column_type(s, FColumn)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: return 8;
        case SQLITE_TEXT:
        case SQLITE_BLOB: return sqlite3_column_bytes(s, FColumn);
        default: return 0;
        }
    }

    std::shared_ptr<TCursor> FCursor;
    int FColumn;
};

class TFields : public TAutoObject {
public:
    explicit TFields(std::shared_ptr<TCursor> cursor) : TAutoObject(DatabaseRecordSetProgId), FCursor(std::move(cursor))
    {
        if (FCursor->Stmt) FItems.resize(size_t(sqlite3_column_count(FCursor->Stmt)));
    }

protected:
    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TFields>()
                .Property(L"Count", [](TFields& f, const TAutoArgs&) { return Variant(Integer(f.FItems.size())); })
                .Method(L"Item", [](TFields& f, const TAutoArgs& a) { return f.Item(a.Required(0)); }, {L"Index"})
                .Default();
        return table;
    }

private:
    Variant Item(const Variant& index)
    {
        if (!FCursor->Stmt) Fail(ObjectClosed, Source());
        Int64 i = -1;
        if (index.VarType() == varOleStr) {
            for (size_t c = 0; c < FItems.size(); ++c)
                if (SameText(UTF8ToString(sqlite3_column_name(FCursor->Stmt, int(c))), index.AsString())) {
                    i = Int64(c);
                    break;
                }
        } else {
            i = index.AsInt64();
        }
        if (i < 0 || i >= Int64(FItems.size()))
            Fail(L"Item cannot be found in the collection corresponding to the requested name or ordinal.", Source());
        TComPtr<IDispatch>& field = FItems[size_t(i)];
        if (!field) field = TComPtr<IDispatch>(new TField(FCursor, int(i)));
        return Variant(field);
    }

    std::shared_ptr<TCursor> FCursor;
    std::vector<TComPtr<IDispatch>> FItems;   // made on first use, then the same object
};

class TRecordSet : public TAutoObject {
public:
    TRecordSet() : TAutoObject(DatabaseRecordSetProgId) {}

protected:
    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TRecordSet>()
                .Property(
                    L"ActiveConnection", [](TRecordSet& r, const TAutoArgs&) { return r.FConnection; },
                    [](TRecordSet& r, const TAutoArgs& a) { r.SetConnection(a.Value()); })
                .Method(L"Open",
                        [](TRecordSet& r, const TAutoArgs& a) {
                            if (a.Has(1)) r.SetConnection(a[1]);
                            r.Open(a.Text(0));
                            return Variant();
                        },
                        {L"Source", L"ActiveConnection", L"CursorType", L"LockType", L"Options"})
                .Property(L"Fields", [](TRecordSet& r, const TAutoArgs&) { return r.Fields(); })
                .Property(L"RecordCount", [](TRecordSet& r, const TAutoArgs&) { return Variant(r.RecordCount()); })
                .Property(L"Eof", [](TRecordSet& r, const TAutoArgs&) { return Variant(r.Open_().Eof); })
                .Method(L"MoveNext",
                        [](TRecordSet& r, const TAutoArgs&) {
                            r.MoveNext();
                            return Variant();
                        })
                .Method(L"Close", [](TRecordSet& r, const TAutoArgs&) {
                    r.Open_();
                    r.FCursor.reset();
                    r.FFields = Variant();
                    return Variant();
                });
        return table;
    }

private:
    TCursor& Open_()
    {
        if (!FCursor) Fail(ObjectClosed, Source());
        return *FCursor;
    }

    void SetConnection(const Variant& v)
    {
        if (FCursor) Fail(L"Operation is not allowed when the object is open.", Source());
        TComPtr<IDispatch> d = v.VarType() == varDispatch ? v.AsDispatch() : nullptr;
        if (!d || !dynamic_cast<TConnection*>(d.Get()))
            Fail(L"Arguments are of the wrong type, are out of acceptable range, or are in conflict with one "
                 L"another.",
                 Source());
        FConnection = v;
    }

    void Step(TCursor& c)
    {
        int rc = sqlite3_step(c.Stmt);
        if (rc == SQLITE_ROW) {
            c.Eof = false;
            ++c.Seen;
        } else if (rc == SQLITE_DONE) {
            c.Eof = true;
            c.Count = c.Seen;
        } else {
            c.Eof = true;
            Fail(LibraryMessage(c.Db->Db), Source());
        }
    }

    void Open(const String& sql)
    {
        if (FCursor) Fail(L"Operation is not allowed when the object is open.", Source());
        if (FConnection.IsEmpty()) Fail(L"The connection cannot be used to perform this operation.", Source());
        auto* conn = dynamic_cast<TConnection*>(FConnection.AsDispatch().Get());
        std::shared_ptr<TSqliteDb> db = conn ? conn->Db() : nullptr;
        if (!db) Fail(ObjectClosed, Source());

        auto cursor = std::make_shared<TCursor>();
        cursor->Db = db;
        cursor->Sql = UTF8Encode(sql);
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db->Db, cursor->Sql.c_str(), int(cursor->Sql.size()), &cursor->Stmt, &tail) !=
            SQLITE_OK)
            Fail(LibraryMessage(db->Db), Source());
        if (!cursor->Stmt) Fail(L"Command text was not set for the command object.", Source());
        if (tail && *tail) {
            // One statement only: anything after it but blanks and comments
            // is refused rather than silently left out.
            sqlite3_stmt* more = nullptr;
            int rc = sqlite3_prepare_v2(db->Db, tail, -1, &more, nullptr);
            if (more) sqlite3_finalize(more);
            if (rc != SQLITE_OK || more) Fail(L"Characters found after end of SQL statement.", Source());
        }
        Step(*cursor);
        FCursor = std::move(cursor);
    }

    Variant Fields()
    {
        TCursor& c = Open_();
        (void)c;
        if (FFields.IsEmpty()) FFields = Variant(TComPtr<IDispatch>(new TFields(FCursor)));
        return FFields;
    }

    Integer RecordCount()
    {
        TCursor& c = Open_();
        if (c.Count < 0) {
            // While the cursor has not reached its end its read is still
            // open, so a second run of the same text sees the same data.
            sqlite3_stmt* counter = nullptr;
            if (sqlite3_prepare_v2(c.Db->Db, c.Sql.c_str(), int(c.Sql.size()), &counter, nullptr) != SQLITE_OK)
                Fail(LibraryMessage(c.Db->Db), Source());
            Int64 n = 0;
            int rc;
            while ((rc = sqlite3_step(counter)) == SQLITE_ROW) ++n;
            sqlite3_finalize(counter);
            if (rc != SQLITE_DONE) Fail(LibraryMessage(c.Db->Db), Source());
            c.Count = n;
        }
        return c.Count > INT32_MAX ? INT32_MAX : Integer(c.Count);
    }

    void MoveNext()
    {
        TCursor& c = Open_();
        if (c.Eof) Fail(NoCurrentRecord, Source());
        Step(c);
    }

    Variant FConnection;
    std::shared_ptr<TCursor> FCursor;
    Variant FFields;
};

}  // namespace

String DatabaseFileFromConnectionString(const String& connectionString)
{
    // key=value pairs separated by ";"; a value may be wrapped in braces
    // (up to the closing brace) or in quotes (a doubled quote stands for one).
    const String& s = connectionString;
    size_t i = 0;
    String found;
    while (i < s.size()) {
        size_t eq = s.find(L'=', i);
        if (eq == String::npos) break;
        String key = Trim(s.substr(i, eq - i));
        i = eq + 1;
        while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
        String value;
        if (i < s.size() && s[i] == L'{') {
            size_t close = s.find(L'}', i + 1);
            if (close == String::npos) close = s.size();
            value = s.substr(i + 1, close - i - 1);
            i = close + 1;
            size_t semi = s.find(L';', std::min(i, s.size()));
            i = semi == String::npos ? s.size() : semi + 1;
        } else if (i < s.size() && (s[i] == L'"' || s[i] == L'\'')) {
            Char q = s[i++];
            while (i < s.size()) {
                if (s[i] == q) {
                    if (i + 1 < s.size() && s[i + 1] == q) {
                        value += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += s[i++];
            }
            size_t semi = s.find(L';', i);
            i = semi == String::npos ? s.size() : semi + 1;
        } else {
            size_t semi = s.find(L';', i);
            if (semi == String::npos) semi = s.size();
            value = Trim(s.substr(i, semi - i));
            i = semi + 1;
        }
        if (SameText(key, L"DBQ") || SameText(key, L"Data Source")) found = value;
    }
    return found;
}

TComPtr<IDispatch> CreateDatabaseConnection() { return TComPtr<IDispatch>(new TConnection); }
TComPtr<IDispatch> CreateDatabaseRecordSet() { return TComPtr<IDispatch>(new TRecordSet); }
