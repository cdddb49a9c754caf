// The grid record at the head of the grid's cell stream: the grid's sizes
// and the stream's identity, one published component. The stream writer
// writes it first; the clipboard's paste reads it on its own to size the
// block before the cells come.
#pragma once

#include "platform/base/Objects.h"

namespace vodgrid_stream {

// A published field's setter that converts the read value to the field's type.
#define VEL_STREAM_SETF(Cls, Field) [](Cls* o, auto v) { o->Field = decltype(o->Field)(v); }

// Name and Tag are the component's own and are never written (no name, tag 0).
class TGridPropIO : public TComponent {
    VEL_CLASS(TGridPropIO, TComponent)
public:
    explicit TGridPropIO(TComponent* AOwner) : TComponent(AOwner) {}
    Integer ColCount = 0, RowCount = 0, ID = 0;
    String ColWidths, RowHeights;
    bool FullGrid = false;
    static void Publish(TPublisher<TGridPropIO>& p)
    {
        using C = TGridPropIO;
        p.Integer(L"ColCount", &C::ColCount, VEL_STREAM_SETF(C, ColCount));
        p.Integer(L"RowCount", &C::RowCount, VEL_STREAM_SETF(C, RowCount));
        p.Str(L"ColWidths", &C::ColWidths, VEL_STREAM_SETF(C, ColWidths));
        p.Str(L"RowHeights", &C::RowHeights, VEL_STREAM_SETF(C, RowHeights));
        p.Boolean(L"FullGrid", &C::FullGrid, VEL_STREAM_SETF(C, FullGrid));
        p.Integer(L"ID", &C::ID, VEL_STREAM_SETF(C, ID));
    }
};

}  // namespace vodgrid_stream
