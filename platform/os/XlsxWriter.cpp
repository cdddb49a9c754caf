#include "platform/os/XlsxWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include <xlsxwriter.h>

#include "platform/base/SysUtils.h"

namespace {

[[noreturn]] void Fail(const String& fileName, const String& cause)
{
    throw EXlsxError(fileName + L": " + cause);
}

// The library's workbook, closed (and its memory freed) on every path.
class TLxwBook {
public:
    TLxwBook(const std::string& file, const std::string& tmpDir)
    {
        lxw_workbook_options options{};
        options.tmpdir = const_cast<char*>(tmpDir.c_str());
        FBook = workbook_new_opt(file.c_str(), &options);
    }
    ~TLxwBook()
    {
        if (FBook) workbook_close(FBook);
    }
    TLxwBook(const TLxwBook&) = delete;
    TLxwBook& operator=(const TLxwBook&) = delete;
    lxw_workbook* Get() const { return FBook; }
    // Writes the package; answers the library's error code.
    lxw_error Close()
    {
        lxw_error e = workbook_close(FBook);
        FBook = nullptr;
        return e;
    }

private:
    lxw_workbook* FBook = nullptr;
};

}  // namespace

String XlsxSheetNameFault(const String& name)
{
    if (name.empty()) return L"a sheet name cannot be empty";
    if (name.size() > 31) return L"a sheet name cannot be longer than 31 characters";
    for (Char ch : name)
        if (ch == L'[' || ch == L']' || ch == L':' || ch == L'*' || ch == L'?' || ch == L'/' || ch == L'\\')
            return L"a sheet name cannot hold [ ] : * ? / \\";
    return String();
}

void WriteXlsxWorkbook(const TXlsxWorkbook& book, const String& fileName)
{
    if (book.Sheets.empty()) Fail(fileName, L"a workbook needs at least one sheet");
    for (const TXlsxSheet& sheet : book.Sheets) {
        String fault = XlsxSheetNameFault(sheet.Name);
        if (!fault.empty()) Fail(fileName, fault + L": \"" + sheet.Name + L"\"");
        for (const auto& [at, cell] : sheet.Cells) {
            if (cell.Formula) Fail(fileName, L"formulas cannot be written (sheet " + sheet.Name + L")");
            if (cell.Kind == TXlsxCellKind::Error)
                Fail(fileName, L"error values cannot be written (sheet " + sheet.Name + L")");
            if (at.first < 1 || at.first > XlsxMaxRows || at.second < 1 || at.second > XlsxMaxColumns)
                Fail(fileName, L"a cell lies outside the sheet (sheet " + sheet.Name + L")");
        }
    }

    std::string target = UTF8Encode(fileName);
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? std::string(".") : target.substr(0, slash == 0 ? 1 : slash);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    // A free name beside the target: the rename at the end stays within one
    // file system, and the library's own scratch files go there too.
    std::string tmp = dir + "/." + base + ".XXXXXX";
    int fd = mkstemp(tmp.data());
    if (fd < 0) Fail(fileName, L"cannot create a file in the folder");
    // The file takes the mode the target has, or a new file's usual mode.
    struct stat st {};
    mode_t mode;
    if (stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);
    close(fd);
    struct TRemove {
        std::string Path;
        bool Keep = false;
        ~TRemove()
        {
            if (!Keep) unlink(Path.c_str());
        }
    } guard{tmp};

    TLxwBook lxw(tmp, dir);
    if (!lxw.Get()) Fail(fileName, L"cannot start the workbook");
    std::map<std::pair<int, std::string>, lxw_format*> formats;
    auto formatOf = [&](const TXlsxCell& cell) -> lxw_format* {
        // An id above the built-in ones without a code names a format the
        // workbook never defined: there is nothing to keep.
        if (cell.NumFmtCode.empty() && (cell.NumFmtId <= 0 || cell.NumFmtId > 163)) return nullptr;
        std::string code = UTF8Encode(cell.NumFmtCode);
        auto key = std::make_pair(code.empty() ? cell.NumFmtId : -1, code);
        auto it = formats.find(key);
        if (it != formats.end()) return it->second;
        lxw_format* f = workbook_add_format(lxw.Get());
        if (!f) Fail(fileName, L"out of memory");
        if (code.empty()) format_set_num_format_index(f, static_cast<uint8_t>(cell.NumFmtId));
        else format_set_num_format(f, code.c_str());
        formats.emplace(key, f);
        return f;
    };

    for (size_t i = 0; i < book.Sheets.size(); ++i) {
        const TXlsxSheet& sheet = book.Sheets[i];
        std::string name = UTF8Encode(sheet.Name);
        lxw_worksheet* ws = workbook_add_worksheet(lxw.Get(), name.c_str());
        if (!ws) Fail(fileName, L"cannot add the sheet \"" + sheet.Name + L"\" (a name used twice?)");
        std::string text;
        for (const auto& [at, cell] : sheet.Cells) {
            lxw_row_t r = static_cast<lxw_row_t>(at.first - 1);
            lxw_col_t c = static_cast<lxw_col_t>(at.second - 1);
            lxw_format* f = formatOf(cell);
            lxw_error e = LXW_NO_ERROR;
            switch (cell.Kind) {
            case TXlsxCellKind::String:
                text = UTF8Encode(cell.Text);
                // The library writes an empty text as a blank cell.
                e = text.empty() ? worksheet_write_blank(ws, r, c, f) : worksheet_write_string(ws, r, c, text.c_str(), f);
                break;
            case TXlsxCellKind::Number: e = worksheet_write_number(ws, r, c, cell.Number, f); break;
            case TXlsxCellKind::Boolean: e = worksheet_write_boolean(ws, r, c, cell.Boolean ? 1 : 0, f); break;
            case TXlsxCellKind::Empty:
                if (f) e = worksheet_write_blank(ws, r, c, f);
                break;
            case TXlsxCellKind::Error: break;   // refused above
            }
            if (e != LXW_NO_ERROR)
                Fail(fileName, L"cannot write a cell of sheet " + sheet.Name + L": " + UTF8ToString(lxw_strerror(e)));
        }
        if (static_cast<int>(i) == book.ActiveSheet) worksheet_activate(ws);
        if (sheet.ActiveRow >= 1 && sheet.ActiveRow <= XlsxMaxRows && sheet.ActiveColumn >= 1 &&
            sheet.ActiveColumn <= XlsxMaxColumns) {
            lxw_row_t r = static_cast<lxw_row_t>(sheet.ActiveRow - 1);
            lxw_col_t c = static_cast<lxw_col_t>(sheet.ActiveColumn - 1);
            worksheet_set_selection(ws, r, c, r, c);
        }
    }
    lxw_error e = lxw.Close();
    if (e != LXW_NO_ERROR) Fail(fileName, L"cannot write the file: " + UTF8ToString(lxw_strerror(e)));
    if (std::rename(tmp.c_str(), target.c_str()) != 0) Fail(fileName, L"cannot replace the file");
    guard.Keep = true;
}
