#include "app/MarkupLabels.h"

#include "controls/markup/HTMLText.h"

THTMLabel* MakeMarkupLabel(TComponent* owner, TWinControl* parent, const String& markup, TRect bounds)
{
    auto* l = new THTMLabel(owner);
    l->SetParent(parent);
    l->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    l->SetTransparent(true);
    l->SetLineWidth(0);
    l->HTMLText()->Add(markup);
    return l;
}

THTMLStaticText* MakeMarkupStaticText(TComponent* owner, TWinControl* parent, const String& markup,
                                      TRect bounds, TColor fontColor)
{
    auto* t = new THTMLStaticText(owner);
    t->SetParent(parent);
    t->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    t->Font()->SetColor(fontColor);
    t->HTMLText()->Add(markup);
    return t;
}

TControl* MarkupControl(THTMLabel* label) { return label; }

TControl* MarkupControl(THTMLStaticText* text) { return text; }
