// The file picture: a cell picture held as a file name and read from the
// file at each draw, so the grid keeps no image data for it. Reading
// failures are swallowed: a picture that cannot be read draws nothing.
#include "controls/grid/VodObj.h"
#include "platform/base/Files.h"

void TFilePicture::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFilePicture*>(Source);
    if (!s) return;
    FFilename = s->FFilename;
    FWidth = s->FWidth;
    FHeight = s->FHeight;
}

void TFilePicture::SetFilename(const String& v)
{
    FFilename = v;
    if (v.empty() || !FileExists(v)) return;
    try {
        TPicture p;
        p.LoadFromFile(v);
        const Integer w = p.Width();
        FWidth = w;
        FHeight = p.Height();
    } catch (...) {
    }
}

void TFilePicture::DrawPicture(TCanvas* Canvas, const TRect& R)
{
    if (FFilename.empty() || !FileExists(FFilename)) return;
    try {
        TPicture p;
        p.LoadFromFile(FFilename);
        if (p.Graphic()) Canvas->StretchDraw(R, p.Graphic());
    } catch (...) {
    }
}
