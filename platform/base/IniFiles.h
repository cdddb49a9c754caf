// INI files: "[section]" headers and "name=value" lines. Section and key
// names compare case-insensitively; names and values are trimmed. Lines that
// are neither (comments, blank or malformed lines) are ignored when reading
// and kept as they are when the file is written again. Files are read as
// UTF-8 unless a byte order mark says otherwise, and written back in the
// encoding they were read in. A write goes to a temporary file in the same
// folder that is then renamed over the file, so the file is never half
// written.
#pragma once

#include <memory>

#include "platform/base/Lists.h"
#include "platform/base/Objects.h"
#include "platform/base/Types.h"

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const String& fileName) : FFileName(fileName) {}
    ~TCustomIniFile() override = default;

    const String& FileName() const { return FFileName; }

    virtual String ReadString(const String& section, const String& ident, const String& defaultValue) = 0;
    virtual void WriteString(const String& section, const String& ident, const String& value) = 0;
    // Decimal or "$"/"0x" hexadecimal text; anything else gives the default.
    virtual Integer ReadInteger(const String& section, const String& ident, Integer defaultValue);
    virtual void WriteInteger(const String& section, const String& ident, Integer value);
    // A number, non-zero meaning true; written as "1" or "0".
    virtual bool ReadBool(const String& section, const String& ident, bool defaultValue);
    virtual void WriteBool(const String& section, const String& ident, bool value);
    // Floats, dates and times as text in the current FormatSettings;
    // unreadable text gives the default.
    virtual double ReadFloat(const String& section, const String& ident, double defaultValue);
    virtual void WriteFloat(const String& section, const String& ident, double value);
    virtual TDateTime ReadDate(const String& section, const String& ident, TDateTime defaultValue);
    virtual void WriteDate(const String& section, const String& ident, TDateTime value);
    virtual TDateTime ReadDateTime(const String& section, const String& ident, TDateTime defaultValue);
    virtual void WriteDateTime(const String& section, const String& ident, TDateTime value);
    virtual TDateTime ReadTime(const String& section, const String& ident, TDateTime defaultValue);
    virtual void WriteTime(const String& section, const String& ident, TDateTime value);

    virtual bool SectionExists(const String& section);
    virtual bool ValueExists(const String& section, const String& ident);
    // The key names of a section, in file order.
    virtual void ReadSection(const String& section, TStrings& strings) = 0;
    // The section names, in file order.
    virtual void ReadSections(TStrings& strings) = 0;
    // "name=value" for every key of a section.
    virtual void ReadSectionValues(const String& section, TStrings& strings) = 0;
    virtual void EraseSection(const String& section) = 0;
    virtual void DeleteKey(const String& section, const String& ident) = 0;
    virtual void UpdateFile() = 0;

private:
    String FFileName;
};

struct TIniContent;   // private to the implementation

// Where an INI file name leads: a bare name (no folder) to the user's
// configuration folder beside the registry store, any other name unchanged.
String IniFileLocation(const String& fileName);

// Keeps the file in memory; nothing reaches the disk before UpdateFile.
class TMemIniFile : public TCustomIniFile {
public:
    // Reads the file when it exists (a missing file is an empty one).
    explicit TMemIniFile(const String& fileName);
    ~TMemIniFile() override;

    String ReadString(const String& section, const String& ident, const String& defaultValue) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    bool SectionExists(const String& section) override;
    bool ValueExists(const String& section, const String& ident) override;
    void ReadSection(const String& section, TStrings& strings) override;
    void ReadSections(TStrings& strings) override;
    void ReadSectionValues(const String& section, TStrings& strings) override;
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    // Writes the content to the file; EIniFileException "Unable to write to
    // %s" when that fails (the file is then as it was).
    void UpdateFile() override;

    void Clear();
    // The content as file lines, and replacing it from lines.
    void GetStrings(TStrings& strings);
    void SetStrings(TStrings& strings);
    // Takes another file name; with reload its content is read.
    void Rename(const String& fileName, bool reload);

private:
    std::unique_ptr<TIniContent> FContent;
    String FName;
};

// Works on the file itself: each read sees the file as it is now and each
// write is on disk when the call returns (EIniFileException "Unable to write
// to %s" otherwise).
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const String& fileName);
    ~TIniFile() override;

    String ReadString(const String& section, const String& ident, const String& defaultValue) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    bool SectionExists(const String& section) override;
    bool ValueExists(const String& section, const String& ident) override;
    void ReadSection(const String& section, TStrings& strings) override;
    void ReadSections(TStrings& strings) override;
    void ReadSectionValues(const String& section, TStrings& strings) override;
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    // Every write is already on disk: nothing to do.
    void UpdateFile() override {}

private:
    TIniContent& Fresh();
    void Save();

    std::unique_ptr<TIniContent> FContent;
};
