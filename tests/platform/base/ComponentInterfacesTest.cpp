// Components answer the interfaces their classes derive from, without
// reference counting.
#include <gtest/gtest.h>

#include "platform/base/Objects.h"

namespace {

struct IShape : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{5D1C7E0A-0B57-4E43-9A56-0F5B1C2D3E01}");
    virtual int Corners() = 0;
};
VEL_INTERFACE(IShape)

struct IShapeEx : virtual IShape {
    static constexpr TGUID IID = MakeGUID("{5D1C7E0A-0B57-4E43-9A56-0F5B1C2D3E02}");
    virtual int Sides() = 0;
};
VEL_INTERFACE(IShapeEx)

struct IColour : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{5D1C7E0A-0B57-4E43-9A56-0F5B1C2D3E03}");
    virtual int Colour() = 0;
};
VEL_INTERFACE(IColour)

// Entered, but implemented by nobody here.
struct INever : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{5D1C7E0A-0B57-4E43-9A56-0F5B1C2D3E04}");
};
VEL_INTERFACE(INever)

class TSquare : public TComponent, public IShapeEx, public virtual TComponentInterfaces {
public:
    using TComponent::TComponent;
    int Corners() override { return 4; }
    int Sides() override { return 4; }
};

// A descendant declaring one more interface keeps one IUnknown.
class TRedSquare : public TSquare, public IColour, public virtual TComponentInterfaces {
public:
    using TSquare::TSquare;
    int Colour() override { return 0xFF; }
};

}  // namespace

TEST(ComponentInterfaces, QueryAnswersDeclaredInterfacesOfTheClassAndItsAncestors)
{
    TComponent owner(nullptr);
    auto* red = new TRedSquare(&owner);
    auto* plain = new TComponent(&owner);

    IShape* shape = nullptr;
    ASSERT_TRUE(Supports(red, shape));
    EXPECT_EQ(shape->Corners(), 4);
    IShapeEx* ex = nullptr;
    ASSERT_TRUE(Supports(red, IShapeEx::IID, ex));
    EXPECT_EQ(ex->Sides(), 4);
    IColour* colour = nullptr;
    ASSERT_TRUE(Supports(red, colour));
    EXPECT_EQ(colour->Colour(), 0xFF);

    // By GUID alone, and through one interface for another.
    void* p = nullptr;
    ASSERT_TRUE(Supports(static_cast<TObject*>(red), IColour::IID, &p));
    EXPECT_EQ(static_cast<IColour*>(p)->Colour(), 0xFF);
    ASSERT_EQ(shape->QueryInterface(IColour::IID, &p), S_OK);
    EXPECT_EQ(static_cast<IColour*>(p), colour);
    ASSERT_EQ(colour->QueryInterface(IShapeEx::IID, &p), S_OK);
    EXPECT_EQ(static_cast<IShapeEx*>(p), ex);
    ASSERT_EQ(colour->QueryInterface(IID_IUnknown, &p), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(p), static_cast<IUnknown*>(shape));
    EXPECT_EQ(colour->QueryInterface(INever::IID, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(colour->QueryInterface(IColour::IID, nullptr), E_POINTER);
    EXPECT_TRUE(Supports(static_cast<IUnknown*>(shape), IColour::IID));

    // The wrong GUID for the pointer type, an unknown GUID, nil, a plain component.
    IShape* wrong = shape;
    EXPECT_FALSE(Supports(red, IColour::IID, wrong));
    EXPECT_EQ(wrong, nullptr);
    EXPECT_FALSE(Supports(red, MakeGUID("{00000000-0000-0000-0000-00000000ABCD}"), &p));
    EXPECT_FALSE(Supports(static_cast<TObject*>(nullptr), IShape::IID, &p));
    IShape* none = shape;
    EXPECT_FALSE(Supports(plain, none));
    EXPECT_EQ(none, nullptr);
    EXPECT_FALSE(Supports(plain, IID_IUnknown, &p));
    EXPECT_FALSE(Supports(plain, IShape::IID));

    // Counting never frees: the owner does (the leak check sees the rest).
    for (int i = 0; i < 3; ++i) {
        colour->AddRef();
        shape->Release();
        shape->Release();
    }
    {
        TComPtr<IShape> held(shape);
    }
    EXPECT_EQ(red->Owner(), &owner);
    EXPECT_EQ(shape->Corners(), 4);
}
