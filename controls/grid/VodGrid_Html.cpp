// The markup export: the grid as an HTML table (optionally an XHTML 1.0
// Strict document) with one style class per distinct cell look, merged cells
// as spans, addresses as links and cell pictures as JPEG files beside it.
#include <map>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/VodObj.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/ImageList.h"
#include "platform/os/Shell.h"

namespace {

constexpr TColor kMarker = TColor(0x7FFFFFFF);

// An address for an attribute value: blanks and the characters that would
// end the value or the tag are percent-encoded, "&" written as an entity.
String EncodeHref(const String& S)
{
    String r;
    for (Char c : S) {
        switch (c) {
        case L' ': r += L"%20"; break;
        case L'"': r += L"%22"; break;
        case L'<': r += L"%3C"; break;
        case L'>': r += L"%3E"; break;
        case L'&': r += L"&amp;"; break;
        default: r += c;
        }
    }
    return r;
}

// An absolute file address: every byte outside the unreserved set and "/"
// percent-encoded (UTF-8).
String FileUrl(const String& Path)
{
    const std::string abs = UTF8Encode(ExpandFileName(Path));
    String r = L"file://";
    static const char* hex = "0123456789ABCDEF";
    for (unsigned char b : abs) {
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' || b == '.' ||
            b == '_' || b == '~' || b == '/')
            r += Char(b);
        else {
            r += L'%';
            r += Char(hex[b >> 4]);
            r += Char(hex[b & 15]);
        }
    }
    return r;
}

}  // namespace

String TVodStringGrid::HTMLImageTag(TGraphic* Graphic, const String& Dir, Integer& ImageNo)
{
    THTMLSettings* hs = HTMLSettings();
    const String folder = Dir + hs->ImageFolder();
    if (!DirectoryExists(folder) && !ForceDirectories(folder)) throw Exception(L"Cannot create " + folder);
    const String path = folder + L"/" + hs->ImageBaseName() + IntToStr(++ImageNo) + L".jpg";
    if (auto* jpg = dynamic_cast<TJPEGImage*>(Graphic)) {
        jpg->SaveToFile(path);
    } else {
        TBitmap bmp(std::max(1, Graphic->Width()), std::max(1, Graphic->Height()));
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect(TRect{0, 0, bmp.Width(), bmp.Height()});
        bmp.Canvas()->Draw(0, 0, Graphic);
        TJPEGImage out;
        out.Assign(&bmp);
        out.SaveToFile(path);
    }
    return L"<img src=\"" + FileUrl(path) + (hs->XHTML() ? L"\" />" : L"\">");
}

String TVodStringGrid::HTMLImageListTag(Integer Index, const String& Dir, Integer& ImageNo)
{
    TCustomImageList* il = GridImages();
    TBitmap bmp(il->Width(), il->Height());
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect{0, 0, bmp.Width(), bmp.Height()});
    il->Draw(bmp.Canvas(), 0, 0, Index, true);
    return HTMLImageTag(&bmp, Dir, ImageNo);
}

String TVodStringGrid::SaveToHTMLString(const String& Dir)
{
    THTMLSettings* hs = HTMLSettings();
    const bool x = hs->XHTML();
    const Integer c0 = (SaveFixedCells() || SaveFixedCols()) ? 0 : FixedCols();
    const Integer r0 = (SaveFixedCells() || SaveFixedRows()) ? 0 : FixedRows();
    const Integer c1 = ColCount() - 1, r1 = RowCount() - 1;
    const String nbsp = x ? L"&#160;" : L"&nbsp;";
    auto q = [x](const String& v) { return x ? L"\"" + v + L"\"" : v; };

    std::map<String, Integer> classes;
    std::vector<String> classOrder;
    std::vector<String> lines;
    Integer imageNo = 0;

    String table = L"<table border=\"" + IntToStr(hs->BorderSize()) + L"\" cellspacing=\"" +
                   IntToStr(hs->CellSpacing()) + L"\" cellpadding=\"" + IntToStr(hs->CellPadding()) + L"\" ";
    if (!hs->Summary().empty()) table += L"summary=\"" + hs->Summary() + L"\" ";
    if (!hs->TableStyle().empty()) table += L" " + hs->TableStyle() + L" ";
    table += L" width=\"" + IntToStr(hs->Width()) + L"%\">";
    lines.push_back(table);

    TFont font;
    TBrush brush;
    auto cell = [&](Integer c, Integer r, bool header) -> String {
        String attrs;
        const TPoint span = CellSpan(c, r);
        if (span.X > 0) attrs += L" colspan=\"" + IntToStr(span.X + 1) + L"\"";
        if (span.Y > 0) attrs += L" rowspan=\"" + IntToStr(span.Y + 1) + L"\"";

        const Integer src = RealColIndex(c);
        String text = SaveCell(src, r);
        const String original = text;
        if (!header) {
            if (hs->ConvertSpecialChars()) {
                String e;
                VurHTMLE::EncodeEntities(text, true, e);
                text = e;
            }
            if (hs->NonBreakingText()) {
                String e;
                VurHTMLE::SpacesToNbsp(text, e);
                text = e;
            }
        }
        text = LineBreaksToHTML(text);
        if (x) text = StringReplace(text, L"<br>", L"<br />", rfReplaceAll);
        if (URLShow()) {
            const size_t scheme = text.find(L"://");
            if (scheme != String::npos && text.find(L"</") == String::npos) {
                const String shown = URLFull() ? text : text.substr(scheme + 3, 255);
                text = L"<a href=\"" + EncodeHref(text) + L"\">" + shown + L"</a>";
            }
            const size_t mail = original.find(L"mailto:");
            if (mail != String::npos && original.find(L"</") == String::npos) {
                const String shown = URLFull() ? original : original.substr(mail + 7);
                text = L"<a href=\"" + EncodeHref(original) + L"\">" + shown + L"</a>";
            }
        }
        if (header ? text.empty() : Trim(text).empty()) text = nbsp;

        TIntList* cw = hs->ColWidths();
        if (header) {
            if (c < cw->Count()) attrs += L" width=" + q(IntToStr(cw->GetInteger(c)) + L"px");
        } else if (c - c0 < cw->Count() && !FHTMLHeaderWritten) {
            attrs += L" width=" + q(IntToStr(cw->GetInteger(c - c0)) + L"px");
        }

        font.Assign(Font());
        font.SetColor(kMarker);
        font.SetStyle(TFontStyles{});
        brush.SetColor(kMarker);
        TGridDrawState state;
        TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = true;
        TCellGradientDirection gd = GradientVertical;
        GetVisualProperties(c, r, state, false, false, false, &brush, colorTo, mirror, mirrorTo, &font, ha, va, ww, gd);
        TColor bg = brush.Color();
        if (header || IsFixed(c, r)) bg = FixedColor();
        if (!ww) attrs = L" nowrap=\"nowrap\"" + attrs;

        std::vector<String> decl;
        if (bg != kMarker && hs->SaveColor()) decl.push_back(L"background-color: #" + ColorToHTMLHex(TColor(ColorToRGB(bg))));
        if (font.Color() != kMarker && hs->SaveColor())
            decl.push_back(L"color: #" + ColorToHTMLHex(TColor(ColorToRGB(font.Color()))));
        decl.push_back(L"font-size:" + IntToStr(font.Size()) + L"pt");
        if (font.Style().Contains(fsItalic)) decl.push_back(L"font-style: italic");
        if (font.Style().Contains(fsBold)) decl.push_back(L"font-weight: bold");
        decl.push_back(L"font-family: " + font.Name());
        if (ha == taRightJustify) decl.push_back(L"text-align: right");
        else if (ha == taCenter) decl.push_back(L"text-align: center");
        decl.push_back(va == vtaTop ? L"vertical-align: top" : va == vtaCenter ? L"vertical-align: middle"
                                                                                : L"vertical-align: bottom");
        String d;
        for (size_t i = 0; i < decl.size(); ++i) d += (i ? L";" : L"") + decl[i];
        auto it = classes.find(d);
        if (it == classes.end()) {
            it = classes.emplace(d, Integer(classOrder.size())).first;
            classOrder.push_back(d);
        }

        String content = text;
        if (hs->ExportImages())
            if (TCellGraphic* g = GetCellGraphic(src, r)) {
                TCustomImageList* il = GridImages();
                switch (g->CellType()) {
                case ctBitmap:
                    if (g->Bitmap()) content = text + HTMLImageTag(g->Bitmap(), Dir, imageNo);
                    break;
                case ctPicture:
                    if (g->Picture() && g->Picture()->Graphic())
                        content = text + HTMLImageTag(g->Picture()->Graphic(), Dir, imageNo);
                    break;
                case ctImageList:
                    if (il && g->CellIndex() >= 0 && g->CellIndex() < il->Count())
                        content = HTMLImageListTag(g->CellIndex(), Dir, imageNo) + text;
                    break;
                case ctDataImage: {
                    Integer idx;
                    content.clear();
                    if (il && TryStrToInt(original, idx) && idx >= 0 && idx < il->Count())
                        content = HTMLImageListTag(idx, Dir, imageNo);
                    break;
                }
                case ctImages:
                    if (il) {
                        String tags;
                        if (TIntList* l = g->ImageList())
                            for (Integer i = 0; i < l->Count(); ++i)
                                if (l->GetInteger(i) >= 0 && l->GetInteger(i) < il->Count())
                                    tags += HTMLImageListTag(l->GetInteger(i), Dir, imageNo);
                        content = tags + text;
                    }
                    break;
                case ctNode: content = L"+" + text; break;
                default: break;
                }
            }
        return L"<td class=\"c" + IntToStr(it->second) + L"\"" + attrs + L">" + content + L"</td>";
    };

    auto row = [&](Integer r, bool header) {
        String l = L"<tr>";
        for (Integer c = c0; c <= c1; ++c) {
            if (IsMergedNonBaseCell(c, r)) continue;
            l += cell(c, r, header);
        }
        l += L"</tr>";
        lines.push_back(l);
    };

    FHTMLHeaderWritten = false;
    Integer body = r0;
    if (FixedRows() > 0 && (SaveFixedCells() || SaveFixedRows())) {
        row(0, true);
        FHTMLHeaderWritten = true;
        body = std::max(body, 1);
    }
    ExportNotification(esExportStart, body);
    for (Integer r = body; r <= r1; ++r) {
        ExportNotification(esExportNextRow, r);
        row(r, false);
    }
    ExportNotification(esExportDone, -1);
    lines.push_back(L"</table>");
    if (!hs->SuffixTag().empty()) lines.push_back(hs->SuffixTag());
    if (!hs->FooterText().empty()) lines.push_back(hs->FooterText());
    if (x) lines.push_back(L"</HTML>");

    String out;
    if (x) {
        out += L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
        out += L"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r\n";
        out += L"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n";
        out += L"<HTML xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\r\n";
    }
    out += hs->HeaderText();
    out += hs->PrefixTag();
    out += L"<style>\r\n";
    for (size_t i = 0; i < classOrder.size(); ++i) out += L".c" + IntToStr(Integer(i)) + L" {" + classOrder[i] + L"}\r\n";
    out += L"</style>\r\n";
    for (const String& l : lines) out += l + L"\r\n";
    return out;
}

void TVodStringGrid::WriteHTML(const String& FileName, bool Show, bool Unicode, bool Append)
{
    THTMLSettings* hs = HTMLSettings();
    TStringList list;
    if (Append) {
        try {
            list.LoadFromFile(FileName);
        } catch (const Exception&) {
            list.Clear();   // a file that cannot be read counts as empty
        }
    }
    if (!hs->HeaderFile().empty()) {
        TStringList h;
        h.LoadFromFile(hs->HeaderFile());
        list.AddStrings(&h);
    }
    String dir = StringReplace(ExtractFilePath(FileName), L"\\", L"/", rfReplaceAll);
    list.Add(SaveToHTMLString(dir));
    if (!hs->FooterFile().empty()) {
        TStringList f;
        f.LoadFromFile(hs->FooterFile());
        list.AddStrings(&f);
    }
    list.SaveToFile(FileName, Unicode ? (Encoding() ? Encoding() : TEncoding::UTF8()) : TEncoding::ASCII());
    if (Show || hs->AutoPreview()) ShellExecute(nullptr, L"open", FileName.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TVodStringGrid::SaveToHTML(const String& FileName, bool Show, bool Unicode)
{
    WriteHTML(FileName, Show, Unicode, false);
}

void TVodStringGrid::AppendToHTML(const String& FileName, bool Show, bool Unicode)
{
    WriteHTML(FileName, Show, Unicode, true);
}
