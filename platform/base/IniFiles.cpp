#include "platform/base/IniFiles.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/base/Encoding.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Files.h"
#include "platform/base/Registry.h"
#include "platform/base/SysUtils.h"

// ---------------------------------------------------------------------------
// TCustomIniFile: typed values over strings

Integer TCustomIniFile::ReadInteger(const String& section, const String& ident, Integer defaultValue)
{
    String s = ReadString(section, ident, String());
    if (s.size() > 2 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X')) s = L"$" + s.substr(2);
    return StrToIntDef(s, defaultValue);
}

void TCustomIniFile::WriteInteger(const String& section, const String& ident, Integer value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const String& section, const String& ident, bool defaultValue)
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& section, const String& ident, bool value)
{
    WriteString(section, ident, value ? L"1" : L"0");
}

double TCustomIniFile::ReadFloat(const String& section, const String& ident, double defaultValue)
{
    return StrToFloatDef(ReadString(section, ident, String()), defaultValue);
}

void TCustomIniFile::WriteFloat(const String& section, const String& ident, double value)
{
    WriteString(section, ident, FloatToStr(value));
}

TDateTime TCustomIniFile::ReadDate(const String& section, const String& ident, TDateTime defaultValue)
{
    TDateTime v;
    return TryStrToDate(ReadString(section, ident, String()), v) ? v : defaultValue;
}

void TCustomIniFile::WriteDate(const String& section, const String& ident, TDateTime value)
{
    WriteString(section, ident, DateToStr(value));
}

TDateTime TCustomIniFile::ReadDateTime(const String& section, const String& ident, TDateTime defaultValue)
{
    TDateTime v;
    return TryStrToDateTime(ReadString(section, ident, String()), v) ? v : defaultValue;
}

void TCustomIniFile::WriteDateTime(const String& section, const String& ident, TDateTime value)
{
    WriteString(section, ident, DateTimeToStr(value));
}

TDateTime TCustomIniFile::ReadTime(const String& section, const String& ident, TDateTime defaultValue)
{
    TDateTime v;
    return TryStrToTime(ReadString(section, ident, String()), v) ? v : defaultValue;
}

void TCustomIniFile::WriteTime(const String& section, const String& ident, TDateTime value)
{
    WriteString(section, ident, TimeToStr(value));
}

bool TCustomIniFile::SectionExists(const String& section)
{
    TStringList keys;
    ReadSection(section, keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& section, const String& ident)
{
    TStringList keys;
    ReadSection(section, keys);
    for (Integer i = 0; i < keys.Count(); ++i)
        if (AnsiSameText(keys[i], ident)) return true;
    return false;
}

// ---------------------------------------------------------------------------
// The content of a file

struct TIniLine {
    String Raw;       // the line as written
    bool IsKey = false;
    String Name;      // trimmed
    String Value;     // trimmed
};

struct TIniSection {
    String Name;
    std::vector<TIniLine> Lines;
};

struct TIniContent {
    std::vector<String> Preamble;   // lines before the first section
    std::vector<TIniSection> Sections;
    TEncoding* Encoding = TEncoding::UTF8();
    bool WithPreamble = false;      // the file began with a byte order mark
    String LineBreak = L"\n";

    void Clear()
    {
        Preamble.clear();
        Sections.clear();
    }

    void AddLine(const String& raw)
    {
        String line = Trim(raw);
        if (line.size() >= 2 && line[0] == L'[') {
            size_t close = line.find(L']');
            if (close != String::npos) {
                Sections.push_back({Trim(line.substr(1, close - 1)), {}});
                return;
            }
        }
        TIniLine l;
        l.Raw = raw;
        size_t eq = line.find(L'=');
        if (eq != String::npos && eq > 0 && line[0] != L';' && line[0] != L'#') {
            l.Name = Trim(line.substr(0, eq));
            l.Value = Trim(line.substr(eq + 1));
            l.IsKey = !l.Name.empty();
        }
        if (Sections.empty()) Preamble.push_back(raw);
        else Sections.back().Lines.push_back(l);
    }

    void SetText(const String& text)
    {
        Clear();
        size_t crlf = text.find(L"\r\n");
        size_t lf = text.find(L'\n');
        LineBreak = (crlf != String::npos && crlf + 1 == lf) ? L"\r\n" : L"\n";
        size_t i = 0;
        while (i < text.size()) {
            size_t j = text.find_first_of(L"\r\n", i);
            if (j == String::npos) j = text.size();
            AddLine(text.substr(i, j - i));
            i = j;
            if (i < text.size() && text[i] == L'\r') ++i;
            if (i < text.size() && text[i] == L'\n') ++i;
        }
    }

    std::vector<String> Lines() const
    {
        std::vector<String> out(Preamble.begin(), Preamble.end());
        for (const TIniSection& s : Sections) {
            out.push_back(L"[" + s.Name + L"]");
            for (const TIniLine& l : s.Lines) out.push_back(l.Raw);
        }
        return out;
    }

    String Text() const
    {
        String out;
        for (const String& l : Lines()) out += l + LineBreak;
        return out;
    }

    TIniSection* FindSection(const String& name)
    {
        String n = Trim(name);
        for (TIniSection& s : Sections)
            if (AnsiSameText(s.Name, n)) return &s;
        return nullptr;
    }

    static TIniLine* FindKey(TIniSection& s, const String& ident)
    {
        String id = Trim(ident);
        for (TIniLine& l : s.Lines)
            if (l.IsKey && AnsiSameText(l.Name, id)) return &l;
        return nullptr;
    }

    String Read(const String& section, const String& ident, const String& def)
    {
        TIniSection* s = FindSection(section);
        if (!s) return def;
        TIniLine* l = FindKey(*s, ident);
        return l ? l->Value : def;
    }

    void Write(const String& section, const String& ident, const String& value)
    {
        if (section.find_first_of(L"]\r\n") != String::npos)
            throw EIniFileException(L"Invalid section name '" + section + L"'");
        String id = Trim(ident);
        if (id.empty() || id.find_first_of(L"=\r\n") != String::npos || id[0] == L'[' || id[0] == L';' ||
            id[0] == L'#')
            throw EIniFileException(L"Invalid key name '" + ident + L"'");
        if (value.find_first_of(L"\r\n") != String::npos)
            throw EIniFileException(L"Line breaks are not allowed in the value of '" + ident + L"'");
        String sec = Trim(section);
        TIniSection* s = FindSection(sec);
        if (!s) {
            // A blank line between the last section and the new one.
            std::vector<TIniLine>* last = Sections.empty() ? nullptr : &Sections.back().Lines;
            if (last && !last->empty() && !Trim(last->back().Raw).empty()) last->push_back({});
            if (!last && !Preamble.empty() && !Trim(Preamble.back()).empty()) Preamble.push_back(String());
            Sections.push_back({sec, {}});
            s = &Sections.back();
        }
        String v = Trim(value);
        if (TIniLine* l = FindKey(*s, id)) {
            l->Value = v;
            l->Raw = l->Name + L"=" + v;
            return;
        }
        // Before the blank lines that end the section.
        auto pos = s->Lines.end();
        while (pos != s->Lines.begin() && Trim((pos - 1)->Raw).empty()) --pos;
        TIniLine l;
        l.IsKey = true;
        l.Name = id;
        l.Value = v;
        l.Raw = id + L"=" + v;
        s->Lines.insert(pos, l);
    }

    void ReadSection(const String& section, TStrings& strings)
    {
        strings.BeginUpdate();
        strings.Clear();
        if (TIniSection* s = FindSection(section))
            for (const TIniLine& l : s->Lines)
                if (l.IsKey) strings.Add(l.Name);
        strings.EndUpdate();
    }

    void ReadSections(TStrings& strings)
    {
        strings.BeginUpdate();
        strings.Clear();
        std::vector<String> seen;
        for (const TIniSection& s : Sections) {
            bool dup = false;
            for (const String& n : seen) dup = dup || AnsiSameText(n, s.Name);
            if (!dup) {
                seen.push_back(s.Name);
                strings.Add(s.Name);
            }
        }
        strings.EndUpdate();
    }

    void ReadSectionValues(const String& section, TStrings& strings)
    {
        strings.BeginUpdate();
        strings.Clear();
        if (TIniSection* s = FindSection(section))
            for (const TIniLine& l : s->Lines)
                if (l.IsKey) strings.Add(l.Name + L"=" + l.Value);
        strings.EndUpdate();
    }

    void EraseSection(const String& section)
    {
        String n = Trim(section);
        for (auto it = Sections.begin(); it != Sections.end();) {
            if (AnsiSameText(it->Name, n)) it = Sections.erase(it);
            else ++it;
        }
    }

    void DeleteKey(const String& section, const String& ident)
    {
        TIniSection* s = FindSection(section);
        if (!s) return;
        String id = Trim(ident);
        for (auto it = s->Lines.begin(); it != s->Lines.end(); ++it) {
            if (it->IsKey && AnsiSameText(it->Name, id)) {
                s->Lines.erase(it);
                return;
            }
        }
    }

    void Load(const String& fileName)
    {
        Clear();
        Encoding = TEncoding::UTF8();
        WithPreamble = false;
        std::ifstream in(UTF8Encode(fileName), std::ios::binary);
        if (!in) return;
        TBytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        TEncoding* enc = nullptr;
        Integer skip = TEncoding::GetBufferEncoding(bytes, enc, TEncoding::UTF8());
        Encoding = enc ? enc : TEncoding::UTF8();
        WithPreamble = skip > 0;
        SetText(Encoding->GetString(bytes.data() + skip, bytes.size() - size_t(skip)));
    }

    void Save(const String& fileName) const
    {
        TBytes bytes = WithPreamble ? Encoding->GetPreamble() : TBytes();
        TBytes body = Encoding->GetBytes(Text());
        bytes.insert(bytes.end(), body.begin(), body.end());
        if (!WriteFileAtomic(fileName, bytes.data(), bytes.size()))
            throw EIniFileException(L"Unable to write to " + fileName);
    }
};

// ---------------------------------------------------------------------------
// TMemIniFile

String IniFileLocation(const String& fileName)
{
    if (fileName.empty() || fileName.find(PathDelim) != String::npos) return fileName;
    // The user's configuration folder: the one that holds the registry store's folder.
    const String regFolder = ExcludeTrailingPathDelimiter(ExtractFilePath(RegistryStorePath()));
    const String folder = ExtractFilePath(regFolder);
    ForceDirectories(folder);
    return folder + fileName;
}

TMemIniFile::TMemIniFile(const String& fileName)
    : TCustomIniFile(IniFileLocation(fileName)), FContent(std::make_unique<TIniContent>()),
      FName(IniFileLocation(fileName))
{
    FContent->Load(FName);
}

TMemIniFile::~TMemIniFile() = default;

String TMemIniFile::ReadString(const String& section, const String& ident, const String& defaultValue)
{
    return FContent->Read(section, ident, defaultValue);
}

void TMemIniFile::WriteString(const String& section, const String& ident, const String& value)
{
    FContent->Write(section, ident, value);
}

bool TMemIniFile::SectionExists(const String& section) { return FContent->FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(const String& section, const String& ident)
{
    TIniSection* s = FContent->FindSection(section);
    return s && TIniContent::FindKey(*s, ident);
}

void TMemIniFile::ReadSection(const String& section, TStrings& strings) { FContent->ReadSection(section, strings); }

void TMemIniFile::ReadSections(TStrings& strings) { FContent->ReadSections(strings); }

void TMemIniFile::ReadSectionValues(const String& section, TStrings& strings)
{
    FContent->ReadSectionValues(section, strings);
}

void TMemIniFile::EraseSection(const String& section) { FContent->EraseSection(section); }

void TMemIniFile::DeleteKey(const String& section, const String& ident) { FContent->DeleteKey(section, ident); }

void TMemIniFile::UpdateFile() { FContent->Save(FName); }

void TMemIniFile::Clear() { FContent->Clear(); }

void TMemIniFile::GetStrings(TStrings& strings)
{
    strings.BeginUpdate();
    strings.Clear();
    for (const String& l : FContent->Lines()) strings.Add(l);
    strings.EndUpdate();
}

void TMemIniFile::SetStrings(TStrings& strings)
{
    FContent->Clear();
    for (Integer i = 0; i < strings.Count(); ++i) FContent->AddLine(strings[i]);
}

void TMemIniFile::Rename(const String& fileName, bool reload)
{
    FName = fileName;
    if (reload) FContent->Load(fileName);
}

// ---------------------------------------------------------------------------
// TIniFile

TIniFile::TIniFile(const String& fileName)
    : TCustomIniFile(IniFileLocation(fileName)), FContent(std::make_unique<TIniContent>())
{
}

TIniFile::~TIniFile() = default;

TIniContent& TIniFile::Fresh()
{
    FContent->Load(FileName());
    return *FContent;
}

void TIniFile::Save() { FContent->Save(FileName()); }

String TIniFile::ReadString(const String& section, const String& ident, const String& defaultValue)
{
    return Fresh().Read(section, ident, defaultValue);
}

void TIniFile::WriteString(const String& section, const String& ident, const String& value)
{
    Fresh().Write(section, ident, value);
    Save();
}

bool TIniFile::SectionExists(const String& section) { return Fresh().FindSection(section) != nullptr; }

bool TIniFile::ValueExists(const String& section, const String& ident)
{
    TIniSection* s = Fresh().FindSection(section);
    return s && TIniContent::FindKey(*s, ident);
}

void TIniFile::ReadSection(const String& section, TStrings& strings) { Fresh().ReadSection(section, strings); }

void TIniFile::ReadSections(TStrings& strings) { Fresh().ReadSections(strings); }

void TIniFile::ReadSectionValues(const String& section, TStrings& strings)
{
    Fresh().ReadSectionValues(section, strings);
}

void TIniFile::EraseSection(const String& section)
{
    TIniContent& c = Fresh();
    if (!c.FindSection(section)) return;
    c.EraseSection(section);
    Save();
}

void TIniFile::DeleteKey(const String& section, const String& ident)
{
    TIniContent& c = Fresh();
    TIniSection* s = c.FindSection(section);
    if (!s || !TIniContent::FindKey(*s, ident)) return;
    c.DeleteKey(section, ident);
    Save();
}
