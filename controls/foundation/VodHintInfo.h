// VodHintInfo: the description of a rich hint (title, lines of notes, a
// picture, a help flag) that a control publishes as its OfficeHint, and the
// interface through which a hint window asks a control which description
// applies at a point.
#pragma once

#include <memory>

#include "controls/foundation/GDIPicture.h"
#include "platform/base/Interfaces.h"
#include "platform/base/Lists.h"
#include "platform/base/Objects.h"

class TVodHintInfo : public TPersistent {
    VEL_CLASS(TVodHintInfo, TPersistent)
public:
    TVodHintInfo();
    ~TVodHintInfo() override;

    // From another description: Title, the notes' lines, ShowHelp, the
    // picture (its bytes copied), WideTitle and WideNotes. Any other source,
    // nil included, is ignored.
    void Assign(TPersistent* Source) override;
    // Only the title and the notes' text count; the picture, ShowHelp and
    // the wide texts do not.
    bool IsEmpty() const;

    String Title() const { return FTitle; }
    void SetTitle(const String& v) { FTitle = v; }
    TStringList* Notes() const { return FNotes.get(); }
    // Copies the lines.
    void SetNotes(TStrings* v) { FNotes->Assign(v); }
    TGDIPPicture* Picture() const { return FPicture.get(); }
    // Copies the picture through its Assign.
    void SetPicture(TGDIPPicture* v) { FPicture->Assign(v); }
    bool ShowHelp() const { return FShowHelp; }
    void SetShowHelp(bool v) { FShowHelp = v; }
    String WideTitle() const { return FWideTitle; }
    void SetWideTitle(const String& v) { FWideTitle = v; }
    String WideNotes() const { return FWideNotes; }
    void SetWideNotes(const String& v) { FWideNotes = v; }

    static void Publish(TPublisher<TVodHintInfo>& p);

private:
    std::unique_ptr<TGDIPPicture> FPicture;
    bool FShowHelp = false;
    std::unique_ptr<TStringList> FNotes;
    String FTitle;
    String FWideTitle;
    String FWideNotes;
};

// Answers the control's own description object (not a copy) that applies at
// Point; the caller must not free it.
struct IQelOfficeHint : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{B7E98AA5-9E7A-4036-BF26-AB2F557A5CDD}");
    virtual void HintInfoAt(TPoint Point, TVodHintInfo*& Info) = 0;
};
VEL_INTERFACE(IQelOfficeHint)
inline constexpr TGUID IID_IQelOfficeHint = IQelOfficeHint::IID;
