// The database connection and record set objects of the automation
// registry, on SQLite. Database files are SQLite files; other desktop
// database formats cannot be read.
//
// Connection (late-bound members):
//   Open(ConnectionString): the file named by "DBQ=" or "Data Source=" (a
//     value may be in braces or quotes); opened for reading, never created.
//     A missing file or one that is not a database fails with the library's
//     message.
//   Close, ConnectionString (read and write)
// Record set:
//   ActiveConnection (read and write: a connection object)
//   Open(Source[, ActiveConnection]): prepares the SQL text as given (one
//     statement; nothing is added to it) and moves to the first record
//   Fields: Count, Item(index or name) (the default member); a field has
//     Name, Value and ActualSize
//   RecordCount: the number of records of the result (a static cursor: the
//     statement is run once more to count them, within the same read)
//   Eof, MoveNext, Close
// Values: integers give Integer (Int64 beyond its range), reals Double,
// texts OleStr, NULL Null, blobs a byte array. ActualSize is the value's
// size in bytes: 8 for numbers, the stored bytes of texts (UTF-8) and
// blobs, 0 for NULL and empty values.
// Every failure raises (EOleException with the library's message).
#pragma once

#include "platform/base/ComObj.h"

inline const String DatabaseConnectionProgId = L"ADODB.Connection";
inline const String DatabaseRecordSetProgId = L"ADODB.RecordSet";

TComPtr<IDispatch> CreateDatabaseConnection();
TComPtr<IDispatch> CreateDatabaseRecordSet();

// The database file a connection string names ("" when it names none).
String DatabaseFileFromConnectionString(const String& connectionString);
