// The panel's saved position: one section of an INI file or of a registry
// key under the current user, with the geometry and the collapsed state.
#include <memory>

#include "controls/chrome/VodPanel.h"
#include "platform/base/IniFiles.h"
#include "platform/base/Registry.h"

namespace {

// The store the position names: an INI file, or a registry key seen as one.
std::unique_ptr<TCustomIniFile> OpenStore(const TPanelPosition& P)
{
    if (P.Location() == clInifile) return std::make_unique<TIniFile>(P.Key());
    return std::make_unique<TRegistryIniFile>(P.Key());
}

// Runs Action on every panel of the group with the group's position (named by
// the panel's own section) in place of the panel's; the panel's own position
// is put back afterwards, also when Action throws.
void ForEachPanelAtGroupPosition(TVodPanelGroup* Group, void (TCustomVodPanel::*Action)())
{
    TPanelPosition temp(Group);
    for (Integer i = 0; i < Group->ControlCount(); ++i) {
        auto* panel = dynamic_cast<TCustomVodPanel*>(Group->Controls(i));
        if (!panel) continue;
        temp.Assign(panel->Position());
        panel->Position()->Assign(Group->Position());
        panel->Position()->SetSection(panel->Name());
        try {
            (panel->*Action)();
        } catch (...) {
            panel->Position()->Assign(&temp);
            throw;
        }
        panel->Position()->Assign(&temp);
    }
}

}  // namespace

void TCustomVodPanel::SavePosition()
{
    const TPanelPosition& p = *FPosition;
    if (p.Key().empty() || p.Section().empty() || Designing()) return;
    auto store = OpenStore(p);
    const String& s = p.Section();
    store->WriteInteger(s, L"Top", Top());
    store->WriteInteger(s, L"Left", Left());
    store->WriteInteger(s, L"Height", Height());
    store->WriteInteger(s, L"FullHeight", FFullHeight);
    store->WriteInteger(s, L"Width", Width());
    store->WriteBool(s, L"Collaps", FCollaps);
}

void TCustomVodPanel::LoadPosition()
{
    const TPanelPosition& p = *FPosition;
    if (p.Key().empty() || p.Section().empty() || Designing()) return;
    auto store = OpenStore(p);
    const String s = p.Section();
    // Height and Width first, while the panel may still be expanded; then
    // the collapsed state; then the expanded size it had when saved.
    TControl::SetTop(store->ReadInteger(s, L"Top", Top()));
    TControl::SetLeft(store->ReadInteger(s, L"Left", Left()));
    SetHeight(store->ReadInteger(s, L"Height", Height()));
    SetWidth(store->ReadInteger(s, L"Width", Width()));
    std::weak_ptr<bool> alive = FAlive;
    SetCollaps(store->ReadInteger(s, L"Collaps", 0) == 1);
    if (alive.expired() || !*alive.lock()) return;
    FFullHeight = store->ReadInteger(s, L"FullHeight", Height());
}

void TVodPanelGroup::SavePanelPositions()
{
    ForEachPanelAtGroupPosition(this, &TCustomVodPanel::SavePosition);
}

void TVodPanelGroup::LoadPanelPositions()
{
    ForEachPanelAtGroupPosition(this, &TCustomVodPanel::LoadPosition);
}
