// The grid's look as a file of "key=value" lines, so that an application
// can keep or exchange grid themes. Loading reads and checks every value
// before the first property changes.
#include <functional>
#include <map>
#include <vector>

#include "controls/grid/VodGrid.h"
#include "controls/grid/VodObj.h"
#include "platform/base/Encoding.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Colors.h"

namespace {

enum TVisKind { vkColor, vkBool, vkInt, vkFont, vkControlStyle, vkLook, vkBgDisplay, vkBgCells };

using G = TVodStringGrid;

// One key of the file (four for a font): how the value is read from and
// written to the grid. Enumerations travel as ordinals here.
struct TVisEntry {
    const wchar_t* Key;
    TVisKind Kind;
    std::function<Int64(G*)> Get;
    std::function<void(G*, Int64)> Set;
    std::function<TFont*(G*)> Font;
};

const std::vector<String>& EnumNames(TVisKind K)
{
    static const std::vector<String> styles = {L"csClassic", L"csFlat", L"csWinXP", L"csBorland",
                                               L"csQel",     L"csGlyph", L"csTheme"};
    static const std::vector<String> looks = {L"glStandard", L"glSoft", L"glClassic", L"glQel",       L"glXP",
                                              L"glListView", L"glVista", L"glWin7",   L"glOffice2007"};
    static const std::vector<String> display = {L"bdTile", L"bdFixed", L"bdGradientHorz", L"bdGradientVert"};
    static const std::vector<String> cells = {L"bcNormal", L"bcFixed", L"bcAll"};
    static const std::vector<String> none;
    switch (K) {
    case vkControlStyle: return styles;
    case vkLook: return looks;
    case vkBgDisplay: return display;
    case vkBgCells: return cells;
    default: return none;
    }
}

#define VIS_COLOR(key, get, set) \
    {key, vkColor, [](G* g) -> Int64 { return Int64(g->get); }, [](G* g, Int64 v) { g->set(TColor(v)); }, nullptr}
#define VIS_BOOL(key, get, set) \
    {key, vkBool, [](G* g) -> Int64 { return g->get ? 1 : 0; }, [](G* g, Int64 v) { g->set(v != 0); }, nullptr}
#define VIS_INT(key, get, set) \
    {key, vkInt, [](G* g) -> Int64 { return Int64(g->get); }, [](G* g, Int64 v) { g->set(v); }, nullptr}

// The keys in file order, without the gradient block at the end.
const std::vector<TVisEntry>& Entries()
{
    static const std::vector<TVisEntry> e = {
        VIS_COLOR(L"Color", Color(), SetColor),
        VIS_COLOR(L"HintColor", HintColor(), SetHintColor),
        VIS_COLOR(L"SelectionColor", SelectionColor(), SetSelectionColor),
        VIS_COLOR(L"SelectionColorTo", SelectionColorTo(), SetSelectionColorTo),
        VIS_COLOR(L"SelectionMirrorColor", SelectionMirrorColor(), SetSelectionMirrorColor),
        VIS_COLOR(L"SelectionMirrorColorTo", SelectionMirrorColorTo(), SetSelectionMirrorColorTo),
        VIS_COLOR(L"SelectionTextColor", SelectionTextColor(), SetSelectionTextColor),
        VIS_COLOR(L"URLColor", URLColor(), SetURLColor),
        VIS_BOOL(L"URLShow", URLShow(), SetURLShow),
        VIS_BOOL(L"URLShowInText", URLShowInText(), SetURLShowInText),
        VIS_COLOR(L"ScrollColor", ScrollColor(), SetScrollColor),
        VIS_COLOR(L"ActiveRowColor", ActiveRowColor(), SetActiveRowColor),
        VIS_BOOL(L"ActiveRowShow", ActiveRowShow(), SetActiveRowShow),
        VIS_BOOL(L"ActiveCellShow", ActiveCellShow(), SetActiveCellShow),
        {L"Font", vkFont, nullptr, nullptr, [](G* g) { return g->Font(); }},
        VIS_COLOR(L"ActiveCellColor", ActiveCellColor(), SetActiveCellColor),
        VIS_COLOR(L"ActiveCellColorTo", ActiveCellColorTo(), SetActiveCellColorTo),
        {L"ActiveCellFont", vkFont, nullptr, nullptr, [](G* g) { return g->ActiveCellFont(); }},
        {L"FixedFont", vkFont, nullptr, nullptr, [](G* g) { return g->FixedFont(); }},
        VIS_COLOR(L"Balloon.BackgroundColor", Balloon()->BackgroundColor(), Balloon()->SetBackgroundColor),
        VIS_COLOR(L"Balloon.TextColor", Balloon()->TextColor(), Balloon()->SetTextColor),
        {L"Balloon.Transparency", vkInt, [](G* g) -> Int64 { return g->Balloon()->Transparency(); },
         [](G* g, Int64 v) { g->Balloon()->SetTransparency(Byte(v)); }, nullptr},
        VIS_COLOR(L"Bands.PrimaryColor", Bands()->PrimaryColor(), Bands()->SetPrimaryColor),
        VIS_COLOR(L"Bands.SecondaryColor", Bands()->SecondaryColor(), Bands()->SetSecondaryColor),
        VIS_BOOL(L"Bands.Active", Bands()->Active(), Bands()->SetActive),
        {L"SortSettings.IndexColor", vkColor, [](G* g) -> Int64 { return g->SortSettings()->IndexColor; },
         [](G* g, Int64 v) {
             g->SortSettings()->IndexColor = TColor(v);
             g->Invalidate();
         },
         nullptr},
        VIS_COLOR(L"FloatingFooter.Color", FloatingFooter()->Color(), FloatingFooter()->SetColor),
        VIS_INT(L"ControlLook.CheckSize", ControlLook()->CheckSize(), ControlLook()->SetCheckSize),
        VIS_COLOR(L"ControlLook.Color", ControlLook()->Color(), ControlLook()->SetColor),
        VIS_COLOR(L"ControlLook.CommentColor", ControlLook()->CommentColor(), ControlLook()->SetCommentColor),
        {L"ControlLook.ControlStyle", vkControlStyle, [](G* g) -> Int64 { return g->ControlLook()->ControlStyle(); },
         [](G* g, Int64 v) { g->ControlLook()->SetControlStyle(TControlLook::TControlStyle(v)); }, nullptr},
        VIS_COLOR(L"ControlLook.FixedGradientFrom", ControlLook()->FixedGradientFrom(),
                  ControlLook()->SetFixedGradientFrom),
        VIS_COLOR(L"ControlLook.FixedGradientTo", ControlLook()->FixedGradientTo(), ControlLook()->SetFixedGradientTo),
        VIS_INT(L"ControlLook.RadioSize", ControlLook()->RadioSize(), ControlLook()->SetRadioSize),
        VIS_BOOL(L"ControlLook.FlatButton", ControlLook()->FlatButton(), ControlLook()->SetFlatButton),
        VIS_COLOR(L"ControlLook.ProgressBorderColor", ControlLook()->ProgressBorderColor(),
                  ControlLook()->SetProgressBorderColor),
        VIS_BOOL(L"ControlLook.ProgressXP", ControlLook()->ProgressXP(), ControlLook()->SetProgressXP),
        {L"Look", vkLook, [](G* g) -> Int64 { return g->Look(); }, [](G* g, Int64 v) { g->SetLook(TGridLook(v)); },
         nullptr},
        VIS_COLOR(L"SearchFooter.Color", SearchFooter()->Color(), SearchFooter()->SetColor),
        VIS_COLOR(L"SearchFooter.ColorTo", SearchFooter()->ColorTo(), SearchFooter()->SetColorTo),
        VIS_COLOR(L"Grouping.HeaderColor", Grouping()->HeaderColor(), Grouping()->SetHeaderColor),
        VIS_COLOR(L"Grouping.HeaderColorTo", Grouping()->HeaderColorTo(), Grouping()->SetHeaderColorTo),
        VIS_COLOR(L"Grouping.HeaderTextColor", Grouping()->HeaderTextColor(), Grouping()->SetHeaderTextColor),
        VIS_BOOL(L"Grouping.HeaderUnderline", Grouping()->HeaderUnderline(), Grouping()->SetHeaderUnderline),
        VIS_COLOR(L"Grouping.HeaderLineColor", Grouping()->HeaderLineColor(), Grouping()->SetHeaderLineColor),
        VIS_INT(L"Grouping.HeaderLineWidth", Grouping()->HeaderLineWidth(), Grouping()->SetHeaderLineWidth),
        VIS_COLOR(L"Grouping.SummaryColor", Grouping()->SummaryColor(), Grouping()->SetSummaryColor),
        VIS_COLOR(L"Grouping.SummaryColorTo", Grouping()->SummaryColorTo(), Grouping()->SetSummaryColorTo),
        VIS_COLOR(L"Grouping.SummaryTextColor", Grouping()->SummaryTextColor(), Grouping()->SetSummaryTextColor),
        VIS_BOOL(L"Grouping.SummaryLine", Grouping()->SummaryLine(), Grouping()->SetSummaryLine),
        VIS_COLOR(L"Grouping.SummaryLineColor", Grouping()->SummaryLineColor(), Grouping()->SetSummaryLineColor),
        VIS_INT(L"Grouping.SummaryLineWidth", Grouping()->SummaryLineWidth(), Grouping()->SetSummaryLineWidth),
        VIS_COLOR(L"GridLineColor", GridLineColor(), SetGridLineColor),
        VIS_COLOR(L"GridFixedLineColor", GridFixedLineColor(), SetGridFixedLineColor),
        VIS_INT(L"BackGround.Top", BackGround()->Top(), BackGround()->SetTop),
        VIS_INT(L"BackGround.Left", BackGround()->Left(), BackGround()->SetLeft),
        {L"BackGround.Display", vkBgDisplay, [](G* g) -> Int64 { return g->BackGround()->Display(); },
         [](G* g, Int64 v) { g->BackGround()->SetDisplay(TBackGroundDisplay(v)); }, nullptr},
        {L"BackGround.Cells", vkBgCells, [](G* g) -> Int64 { return g->BackGround()->Cells(); },
         [](G* g, Int64 v) { g->BackGround()->SetCells(TBackGroundCells(v)); }, nullptr},
        VIS_COLOR(L"BackGround.Color", BackGround()->Color(), BackGround()->SetColor),
        VIS_COLOR(L"BackGround.ColorTo", BackGround()->ColorTo(), BackGround()->SetColorTo),
    };
    return e;
}

// The gradient block: read only when its first key is there.
const std::vector<TVisEntry>& GradientEntries()
{
    static const std::vector<TVisEntry> e = {
        VIS_COLOR(L"QelGradFrom", QelGradientFrom(), SetQelGradientFrom),
        VIS_COLOR(L"QelGradTo", QelGradientTo(), SetQelGradientTo),
        VIS_COLOR(L"QelGradMirrorFrom", QelGradientMirrorFrom(), SetQelGradientMirrorFrom),
        VIS_COLOR(L"QelGradMirrorTo", QelGradientMirrorTo(), SetQelGradientMirrorTo),
    };
    return e;
}

#undef VIS_COLOR
#undef VIS_BOOL
#undef VIS_INT

String ColorText(TColor C)
{
    String name;
    if (ColorToIdent(C, name)) return name;
    return L"$" + IntToHex(uint32_t(C), 8);
}

String StyleText(TFontStyles S)
{
    String r;
    const std::pair<TFontStyle, const wchar_t*> names[] = {
        {fsBold, L"fsBold"}, {fsItalic, L"fsItalic"}, {fsUnderline, L"fsUnderline"}, {fsStrikeOut, L"fsStrikeOut"}};
    for (const auto& [st, n] : names)
        if (S.Contains(st)) r += (r.empty() ? L"" : L",") + String(n);
    return r;
}

bool ValidUTF8(const std::string& S)
{
    size_t i = 0;
    while (i < S.size()) {
        const unsigned char b = static_cast<unsigned char>(S[i]);
        size_t n;
        if (b < 0x80)
            n = 0;
        else if ((b >> 5) == 6 && b >= 0xC2)
            n = 1;
        else if ((b >> 4) == 14)
            n = 2;
        else if ((b >> 3) == 30 && b <= 0xF4)
            n = 3;
        else
            return false;
        if (S.size() - i <= n) return false;
        for (size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(S[i + k]) >> 6) != 2) return false;
        i += n + 1;
    }
    return true;
}

// The file's lines as key (lower case) to value; the first line of a key
// counts. Each line is UTF-8 when its bytes are, else the code page.
std::map<String, String> ReadKeys(const String& FileName)
{
    std::string bytes;
    try {
        TFileStream f(FileName, fmOpenRead | fmShareDenyNone);
        bytes.resize(size_t(f.Size()));
        if (!bytes.empty()) f.ReadBuffer(bytes.data(), Integer(bytes.size()));
    } catch (const Exception&) {
        throw Exception(L"Cannot open file " + FileName);
    }
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    std::map<String, String> keys;
    size_t i = 0;
    while (i <= bytes.size()) {
        size_t k = bytes.find('\n', i);
        if (k == std::string::npos) k = bytes.size();
        std::string line = bytes.substr(i, k - i);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const String text = ValidUTF8(line) ? UTF8ToString(line)
                                            : TEncoding::ANSI()->GetString(
                                                  reinterpret_cast<const Byte*>(line.data()), line.size());
        const size_t eq = text.find(L'=');
        if (eq != String::npos) keys.emplace(LowerCase(text.substr(0, eq)), text.substr(eq + 1));
        i = k + 1;
    }
    return keys;
}

class TVisReader {
public:
    explicit TVisReader(std::map<String, String> K) : FKeys(std::move(K)) {}
    bool Has(const String& Key) const { return FKeys.count(LowerCase(Key)) > 0; }
    String Value(const String& Key) const
    {
        auto it = FKeys.find(LowerCase(Key));
        return it == FKeys.end() ? String() : it->second;
    }
    // A missing or empty colour is clNone; otherwise a name or a number.
    TColor Color(const String& Key) const
    {
        const String v = Value(Key);
        if (v.empty()) return clNone;
        TColor c;
        if (IdentToColor(v, c)) return c;
        return TColor(StrToInt(v));
    }
    bool Bool(const String& Key) const { return SameText(Value(Key), L"true"); }
    Integer Int(const String& Key) const { return StrToInt(Value(Key)); }
    // The ordinal of the name (any case), or -1 for another value.
    Int64 Enum(const String& Key, TVisKind K) const
    {
        const String v = Value(Key);
        const auto& names = EnumNames(K);
        for (size_t i = 0; i < names.size(); ++i)
            if (SameText(v, names[i])) return Int64(i);
        return -1;
    }

private:
    std::map<String, String> FKeys;
};

// Reads every entry; with Apply also sets it. The first pass (without
// Apply) raises on any bad value before the grid changes.
void ReadEntries(G* g, const TVisReader& r, bool Apply)
{
    for (const TVisEntry& e : Entries()) {
        const String key = e.Key;
        switch (e.Kind) {
        case vkColor: {
            const TColor c = r.Color(key);
            if (Apply) e.Set(g, Int64(c));
            break;
        }
        case vkBool: {
            const bool b = r.Bool(key);
            if (Apply) e.Set(g, b ? 1 : 0);
            break;
        }
        case vkInt: {
            const Integer v = r.Int(key);
            if (key == L"Balloon.Transparency" && (v < 0 || v > 255))
                throw EConvertError(L"'" + r.Value(key) + L"' is not a valid transparency");
            if (Apply) e.Set(g, v);
            break;
        }
        case vkFont: {
            const TColor c = r.Color(key + L".Color");
            const String style = r.Value(key + L".Style");
            const Integer size = r.Int(key + L".Size");
            const String name = r.Value(key + L".Name");
            if (!Apply) break;
            TFont f;
            f.Assign(e.Font(g));
            f.SetColor(c);
            TFontStyles st;
            if (style.find(L"fsBold") != String::npos) st.Include(fsBold);
            if (style.find(L"fsItalic") != String::npos) st.Include(fsItalic);
            if (style.find(L"fsUnderline") != String::npos) st.Include(fsUnderline);
            if (style.find(L"fsStrikeOut") != String::npos) st.Include(fsStrikeOut);
            f.SetStyle(st);
            f.SetSize(size);
            if (!name.empty()) f.SetName(name);
            if (key == L"ActiveCellFont")
                g->SetActiveCellFont(&f);
            else {
                e.Font(g)->Assign(&f);
                g->Invalidate();
            }
            break;
        }
        default: {
            // Enumerations: another value leaves the property as it is; the
            // custom look is never set from the file.
            const Int64 v = r.Enum(key, e.Kind);
            if (Apply && v >= 0) e.Set(g, v);
            break;
        }
        }
    }
    if (!r.Value(L"QelGradFrom").empty()) {
        const TColor from = r.Color(L"QelGradFrom"), to = r.Color(L"QelGradTo");
        const TColor mirrorTo = r.Color(L"QelGradMirrorTo"), mirrorFrom = r.Color(L"QelGradMirrorFrom");
        const Integer style = r.Int(L"SelectionStyle");
        if (Apply) {
            g->SetQelGradientFrom(from);
            g->SetQelGradientTo(to);
            g->SetQelGradientMirrorTo(mirrorTo);
            g->SetQelGradientMirrorFrom(mirrorFrom);
            g->ControlLook()->SetFixedGradientFrom(from);
            g->ControlLook()->SetFixedGradientTo(to);
            g->ControlLook()->SetFixedGradientMirrorFrom(mirrorFrom);
            g->ControlLook()->SetFixedGradientMirrorTo(mirrorTo);
            // A style the grid does not have leaves the style as it is.
            if (style >= ssDefault && style <= ssOffice2007) g->SetSelectionStyle(TGridSelectionStyle(style));
        }
    }
    // The look set above may have replaced the selection colours.
    for (const TVisEntry& e : Entries()) {
        const String key = e.Key;
        if (key.rfind(L"Selection", 0) != 0) continue;
        const TColor c = r.Color(key);
        if (Apply) e.Set(g, Int64(c));
    }
}

}  // namespace

void TVodStringGrid::SaveVisualProps(const String& FileName)
{
    String out;
    auto line = [&](const String& k, const String& v) { out += k + L"=" + v + L"\r\n"; };
    for (const TVisEntry& e : Entries()) {
        switch (e.Kind) {
        case vkColor: line(e.Key, ColorText(TColor(e.Get(this)))); break;
        case vkBool: line(e.Key, e.Get(this) ? L"true" : L"false"); break;
        case vkInt: line(e.Key, IntToStr(e.Get(this))); break;
        case vkFont: {
            TFont* f = e.Font(this);
            const String k = e.Key;
            line(k + L".Color", ColorText(f->Color()));
            line(k + L".Style", StyleText(f->Style()));
            line(k + L".Size", IntToStr(f->Size()));
            line(k + L".Name", f->Name());
            break;
        }
        default: {
            const Int64 v = e.Get(this);
            const auto& names = EnumNames(e.Kind);
            line(e.Key, v >= 0 && v < Int64(names.size()) ? names[size_t(v)] : String());
        }
        }
    }
    for (const TVisEntry& e : GradientEntries()) line(e.Key, ColorText(TColor(e.Get(this))));
    line(L"SelectionStyle", IntToStr(Integer(SelectionStyle())));
    const std::string bytes = UTF8Encode(out);
    try {
        WriteFileAtomically(FileName, bytes.data(), bytes.size());
    } catch (const Exception&) {
        throw Exception(L"Cannot Create " + FileName);
    }
}

void TVodStringGrid::LoadVisualProps(const String& FileName)
{
    const TVisReader r(ReadKeys(FileName));
    ReadEntries(this, r, false);
    ReadEntries(this, r, true);
    FLook = glCustom;
    Invalidate();
}
