// The hint window that shows markup texts: the grid's scroll hints and,
// installed for the whole application, its cell hints. Texts are measured
// and drawn by the grid's markup engine (bold, colours, images of the
// grid's image list, pictures of its container); a packed wide text is shown
// as plain single-line wide text. The window stays on the monitor where it
// opens and shows topmost without taking the activation.
#pragma once

#include "platform/ui/Forms.h"

class TCustomImageList;
class TPictureContainer;

class THTMLHintWindow : public THintWindow {
    VEL_CLASS(THTMLHintWindow, THintWindow)
public:
    explicit THTMLHintWindow(TComponent* AOwner);
    // Not owned; taken from the grid by ActivateHintData.
    TCustomImageList* Images = nullptr;
    TPictureContainer* PictureContainer = nullptr;

    void ActivateHint(TRect Rect, const String& AHint) override;
    // AData is null or a component (the grid passes itself as the hint
    // data): from a string grid the window takes its images and pictures.
    void ActivateHintData(TRect Rect, const String& AHint, void* AData) override;
    // (0, 0, width, height) of the text, measured as it will be drawn.
    TRect CalcHintRect(Integer MaxWidth, const String& AHint, void* AData) override;

    // The last text's measured size and, for a packed wide text, the text
    // unpacked.
    Integer TextWidth() const { return FTextWidth; }
    Integer TextHeight() const { return FTextHeight; }
    const String& WideCaption() const { return FWideCaption; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void PaintWindow(HDC DC) override;
    void Dispatch(TMessage& Message) override;

private:
    // Measures AHint within MaxWidth; true when it is packed wide text (its
    // unpacked text in Wide).
    bool Measure(const String& AHint, Integer MaxWidth, Integer& W, Integer& H, String& Wide);
    String FWideCaption;
    Integer FTextWidth = 0;
    Integer FTextHeight = 0;
};
