// Alignment and anchors: children with Align take bands off the parent's
// client area in the order top, bottom, left, right, client, custom; then
// anchored children keep their distances to the edges they hold.
#include <algorithm>

#include "platform/ui/Controls.h"

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::Loaded()
{
    TControl::Loaded();
    // Children aligned while this control was loading waited for it: lay
    // them out now, so a form is in shape before it is first shown.
    if (FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::RequestAlign() { TControl::RequestAlign(); }

void TWinControl::AlignControl(TControl* AControl)
{
    if (ComponentState().Contains(csDestroying)) return;
    if (FAlignLevel != 0 || ComponentState().Contains(csLoading)) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    DisableAlign();
    try {
        TRect r = ClientRect();
        AlignControls(AControl, r);
    } catch (...) {
        FControlState.Exclude(csAlignmentNeeded);
        --FAlignLevel;
        throw;
    }
    // Requests the children made while being placed are answered already.
    FControlState.Exclude(csAlignmentNeeded);
    --FAlignLevel;
}

namespace {

bool InsertBefore(TControl* c1, TControl* c2, TAlign a)
{
    switch (a) {
    case alTop: return c1->Top() < c2->Top();
    case alBottom: return c1->Top() + c1->Height() >= c2->Top() + c2->Height();
    case alLeft: return c1->Left() < c2->Left();
    case alRight: return c1->Left() + c1->Width() >= c2->Left() + c2->Width();
    default: return false;
    }
}

bool Anchored(TControl* c) { return !(c->Anchors() == TAnchors{akLeft, akTop}); }

}  // namespace

void TWinControl::DoAlign(TAlign AAlign, TControl* AControl, TRect& Rect)
{
    std::vector<TControl*> list;
    auto wanted = [&](TControl* c) {
        if (c->Align() != AAlign || !c->Visible()) return false;
        return AAlign != alNone || Anchored(c);
    };
    if (AControl && AControl->Parent() == this && wanted(AControl)) list.push_back(AControl);
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c == AControl || !wanted(c)) continue;
        size_t pos = 0;
        while (pos < list.size() && !InsertBefore(c, list[pos], AAlign)) ++pos;
        list.insert(list.begin() + long(pos), c);
    }
    TRect client = ClientRect();
    for (TControl* c : list) {
        Integer l = Rect.Left, t = Rect.Top;
        Integer w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
        switch (AAlign) {
        case alTop: h = c->Height(); break;
        case alBottom: h = c->Height(); t = Rect.Bottom - h; break;
        case alLeft: w = c->Width(); break;
        case alRight: w = c->Width(); l = Rect.Right - w; break;
        case alClient: break;
        case alNone:
        case alCustom: {
            l = c->Left();
            t = c->Top();
            w = c->Width();
            h = c->Height();
            TAnchors a = c->Anchors();
            TPoint rules = c->AnchorRules();
            TPoint orig = c->OriginalParentSize();
            if (AAlign == alNone && orig.X > 0 && orig.Y > 0) {
                if (a.Contains(akRight)) {
                    if (a.Contains(akLeft))
                        w = client.Width() - (orig.X - rules.X);
                    else
                        l = rules.X + (client.Width() - orig.X);
                } else if (!a.Contains(akLeft)) {
                    l = MulDiv(rules.X, client.Width(), orig.X) - w / 2;
                }
                if (a.Contains(akBottom)) {
                    if (a.Contains(akTop))
                        h = client.Height() - (orig.Y - rules.Y);
                    else
                        t = rules.Y + (client.Height() - orig.Y);
                } else if (!a.Contains(akTop)) {
                    t = MulDiv(rules.Y, client.Height(), orig.Y) - h / 2;
                }
            }
            break;
        }
        }
        c->SetBounds(l, t, std::max(0, w), std::max(0, h));
        // What the control took (its constraints may keep it smaller or
        // larger than offered).
        switch (AAlign) {
        case alTop: Rect.Top += c->Height(); break;
        case alBottom: Rect.Bottom -= c->Height(); break;
        case alLeft: Rect.Left += c->Width(); break;
        case alRight: Rect.Right -= c->Width(); break;
        default: break;
        }
    }
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect)
{
    bool work = false;
    for (Integer i = 0; i < ControlCount() && !work; ++i) {
        TControl* c = Controls(i);
        work = c->Align() != alNone || Anchored(c);
    }
    if (!work) return;
    AdjustClientRect(Rect);
    Rect.Left += FPadding.Left();
    Rect.Top += FPadding.Top();
    Rect.Right -= FPadding.Right();
    Rect.Bottom -= FPadding.Bottom();
    FControlState.Include(csAligning);
    try {
        for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone}) DoAlign(a, AControl, Rect);
    } catch (...) {
        FControlState.Exclude(csAligning);
        throw;
    }
    FControlState.Exclude(csAligning);
}
