// The hover buttons' settings: the button descriptions, which announce a
// change to their collection (marking it updated so the shown buttons are
// built again), and the placement of the row of buttons.
#include "controls/grid/VodGrid.h"

THoverButtonsCollectionItem::THoverButtonsCollectionItem(TCollection* Collection)
    : TCollectionItem(Collection), FPicture(std::make_unique<TPicture>())
{
}

THoverButtonsCollectionItem::~THoverButtonsCollectionItem() = default;

void THoverButtonsCollectionItem::Announce()
{
    if (auto* c = dynamic_cast<THoverButtonsCollection*>(Collection())) c->Update(this);
}

void THoverButtonsCollectionItem::SetCaption(const String& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Announce();
}

void THoverButtonsCollectionItem::SetEnabled(bool v)
{
    if (FEnabled == v) return;
    FEnabled = v;
    Announce();
}

void THoverButtonsCollectionItem::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    Announce();
}

void THoverButtonsCollectionItem::SetHint(const String& v)
{
    if (FHint == v) return;
    FHint = v;
    Announce();
}

void THoverButtonsCollectionItem::SetImageIndex(Integer v)
{
    if (FImageIndex == v) return;
    FImageIndex = v;
    Announce();
}

void THoverButtonsCollectionItem::SetPicture(TPicture* v)
{
    FPicture->Assign(v);
    Announce();
}

void THoverButtonsCollectionItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<THoverButtonsCollectionItem*>(Source);
    if (!s) return;
    FTag = s->FTag;
    FFlat = s->FFlat;
    FEnabled = s->FEnabled;
    FCaption = s->FCaption;
    FHint = s->FHint;
    FPicture->Assign(s->FPicture.get());
    FWidth = s->FWidth;
}

THoverButtonsCollection::THoverButtonsCollection(TPersistent* AOwner)
    : TOwnedCollection(AOwner, CollectionItemClass<THoverButtonsCollectionItem>())
{
}

void THoverButtonsCollection::Update(TCollectionItem* Item)
{
    TOwnedCollection::Update(Item);
    FUpdated = true;
}

THoverButtons::THoverButtons(TPersistent* AOwner)
    : FOwner(AOwner), FButtons(std::make_unique<THoverButtonsCollection>(this))
{
}

THoverButtons::~THoverButtons() = default;

void THoverButtons::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<THoverButtons*>(Source);
    if (!s) return;
    FEnabled = s->FEnabled;
    FButtons->Assign(s->FButtons.get());
    FColumn = s->FColumn;
    FPosition = s->FPosition;
    FRows = s->FRows;
    FMoveActiveRow = s->FMoveActiveRow;
}
