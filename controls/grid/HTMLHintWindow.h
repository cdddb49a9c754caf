// The hint window the grid installs for the whole application when markup
// hints are wanted. (Least form: the class and its references; measuring and
// drawing the markup come with the grid's painting family.)
#pragma once

#include "platform/ui/Forms.h"

class TCustomImageList;
class TPictureContainer;

class THTMLHintWindow : public THintWindow {
    VEL_CLASS(THTMLHintWindow, THintWindow)
public:
    explicit THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
    TCustomImageList* Images = nullptr;
    TPictureContainer* PictureContainer = nullptr;
};
