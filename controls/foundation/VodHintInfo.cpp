// VodHintInfo: the hint description.
#include "controls/foundation/VodHintInfo.h"

TVodHintInfo::TVodHintInfo() : FPicture(new TGDIPPicture), FNotes(new TStringList) {}

TVodHintInfo::~TVodHintInfo() = default;

void TVodHintInfo::Assign(TPersistent* Source)
{
    auto* from = dynamic_cast<TVodHintInfo*>(Source);
    if (!from || from == this) return;
    SetTitle(from->Title());
    SetNotes(from->Notes());
    SetShowHelp(from->ShowHelp());
    SetPicture(from->Picture());
    SetWideTitle(from->WideTitle());
    SetWideNotes(from->WideNotes());
}

bool TVodHintInfo::IsEmpty() const { return FTitle.empty() && FNotes->Text().empty(); }

void TVodHintInfo::Publish(TPublisher<TVodHintInfo>& p)
{
    p.Str(L"Title", &TVodHintInfo::Title, &TVodHintInfo::SetTitle);
    p.Object(L"Notes", &TVodHintInfo::Notes);
    p.Object(L"Picture", &TVodHintInfo::Picture);
    p.Boolean(L"ShowHelp", &TVodHintInfo::ShowHelp, &TVodHintInfo::SetShowHelp).Default = 0;
}
