// PictureContainer: the pictures markup text shows through its image tag.
// THTMLPicture keeps an image file's bytes unchanged and decodes them at
// every draw, with the frame bookkeeping of animated GIF files; a
// THTMLPictureCache keeps the pictures a markup control fetched by address;
// a TPictureContainer holds named pictures that markup on the same form
// refers to by name.
#pragma once

#include <memory>

#include "platform/base/Lists.h"
#include "platform/base/Streams.h"
#include "platform/base/Threads.h"
#include "platform/gfx/Graphics.h"

class TControl;
class THTMLPicture;

using TDownloadProgressEvent = std::function<void(TObject* Sender, Cardinal dwSize, Cardinal dwTotSize)>;
using TDownloadCancelEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TDownloadCompleteEvent = std::function<void(TObject* Sender)>;
using TDownloadErrorEvent = std::function<void(TObject* Sender, const String& err)>;

// Started for a picture given by a web address while its asynchronous flag
// is set. Transferring pictures is not part of this system: the thread ends
// at once, frees itself and touches nothing; it keeps no reference to the
// picture, so the picture may be freed before the thread ends.
class TDownLoadThread : public TThread {
public:
    explicit TDownLoadThread(THTMLPicture* aHTMLPicture);

protected:
    void Execute() override {}
};

// The frame facts of GIF bytes, read by scans that never look past the data.
namespace gif_scan {
bool IsGIF(const Byte* d, size_t n);
// Frames: graphic control extensions directly followed by an image
// descriptor that lies whole inside the data; -1 for data that is no GIF.
Integer FrameCount(const Byte* d, size_t n);
struct TFrameInfo {
    Integer Delay = -1;  // hundredths of a second; -1 when there is no such frame
    bool Transparent = false;
    Word Disposal = 0;
    Word XPos = 0, YPos = 0, XSize = 0, YSize = 0;
};
TFrameInfo FrameInfo(const Byte* d, size_t n, Integer Frame);
// The bytes up to the first frame followed by those of frame Frame and all
// later ones (the frames before it are left out).
TBytes Repack(const Byte* d, size_t n, Integer Frame);
}  // namespace gif_scan

class THTMLPicture : public TGraphic {
    VEL_CLASS(THTMLPicture, TGraphic)
public:
    THTMLPicture();
    ~THTMLPicture() override;

    void Assign(TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void LoadFromFile(const String& FileName) override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;
    void DefineProperties(TFiler* Filer) override;
    void LoadFromClipboardFormat(Word, uintptr_t, HPALETTE) override {}
    void SaveToClipboardFormat(Word&, uintptr_t&, HPALETTE&) override {}
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    void LoadFromResourceID(HINSTANCE Instance, Integer ResID);
    // "RES://name" and "FILE://path" (any case) load; any other address is
    // kept (URL and ID) or, with Asynch, handed once to a download thread.
    void LoadFromURL(const String& url);

    bool Stretch() const { return FStretched; }
    void SetStretch(bool v) { FStretched = v; }
    Integer Frame() const { return FFrame; }
    void SetFrame(Integer Value);
    void FrameNext();
    void FramePrev();
    // One animation tick (a tenth of a second); true when the frame changed.
    bool Step();

    bool Busy() const { return FThreadBusy; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool v) { FAsynch = v; }
    const String& ID() const { return FID; }
    void SetID(const String& v) { FID = v; }
    const String& URL() const { return FURL; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool v) { FIsDB = v; }
    bool IsGIF() const;
    Integer FrameCount();
    Integer FrameTime(Integer i);
    Integer MaxWidth() const { return FWidth; }
    Integer MaxHeight() const { return FHeight; }
    Integer FrameXPos() const { return FFrameXPos; }
    Integer FrameYPos() const { return FFrameYPos; }
    Integer FrameXSize() const { return FFrameXSize; }
    Integer FrameYSize() const { return FFrameYSize; }
    Integer AnimMaxX() const { return FAnimMaxX; }
    Integer AnimMaxY() const { return FAnimMaxY; }
    bool FrameTransp() const { return FFrameTransp; }
    Integer FrameDisposal() const { return FFrameDisposal; }
    const TMemoryStream* Datastream() const { return FDatastream.get(); }

    TNotifyEvent OnFrameChange;
    TDownloadProgressEvent OnDownLoadProgress;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadErrorEvent OnDownLoadError;

protected:
    bool GetEmpty() const override { return FIsEmpty; }
    int GetWidth() const override { return FWidth; }
    int GetHeight() const override { return FHeight; }

private:
    void MeasureFrame();
    void TakeBytes(TStream* Stream);
    const Byte* Data() const { return static_cast<const Byte*>(FDatastream->Memory()); }
    size_t Size() const { return size_t(FDatastream->Size()); }
    // The bytes a decoder gets: a GIF without the frames before the current one.
    TBytes DecodableBytes();

    std::unique_ptr<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    bool FStretched = false;
    Integer FLogPixX = 96, FLogPixY = 96;
    String FURL;
    String FID;
    Integer FHeight = 0, FWidth = 0;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    Integer FFrame = 1;
    Integer FFrameCount = -1;
    Word FFrameXPos = 0, FFrameYPos = 0, FFrameXSize = 0, FFrameYSize = 0;
    bool FFrameTransp = false;
    Word FFrameDisposal = 0;
    Word FAnimMaxX = 0, FAnimMaxY = 0;
    Integer FNextCount = -1;
    Integer FTimerCount = -1;
};

// A markup control's pictures fetched by address, found by their source text.
class THTMLPictureCache : public TList {
    VEL_CLASS(THTMLPictureCache, TList)
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache() override;

    THTMLPicture* AddPicture();
    // The first picture whose ID equals the text exactly, or null.
    THTMLPicture* FindPicture(const String& ID) const;
    THTMLPicture* GetPicture(Integer Index) const { return static_cast<THTMLPicture*>(Items(Index)); }
    void SetPicture(Integer Index, THTMLPicture* Value) { SetItems(Index, Value); }
    void ClearPictures();
    // Steps every picture; true when any changed frame.
    bool Animate();
};

class TPictureItem : public TCollectionItem {
    VEL_CLASS(TPictureItem, TCollectionItem)
public:
    explicit TPictureItem(TCollection* Collection);
    ~TPictureItem() override;

    void Assign(TPersistent* Source) override;
    THTMLPicture* Picture() const { return static_cast<THTMLPicture*>(FPicture.get()); }
    void SetPicture(TGraphic* Value);
    const String& Name() const { return FName; }
    void SetName(const String& v) { FName = v; }
    NativeInt Tag() const { return FTag; }
    void SetTag(NativeInt v) { FTag = v; }

protected:
    virtual TGraphic* CreatePicture();

private:
    std::unique_ptr<TGraphic> FPicture;
    NativeInt FTag = 0;
    String FName;
};

class TPictureCollection : public TOwnedCollection {
    VEL_CLASS(TPictureCollection, TOwnedCollection)
public:
    explicit TPictureCollection(TComponent* AOwner);

    static TCollectionItemClass GetItemClass();
    TPictureItem* Items(Integer Index) const { return static_cast<TPictureItem*>(TCollection::Items(Index)); }
    TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
    TPictureItem* Insert(Integer Index) { return static_cast<TPictureItem*>(TCollection::Insert(Index)); }
    // Steps every item's picture; true when any changed frame.
    bool Animate();

private:
    TComponent* FOwner;
};

class TPictureContainer : public TComponent {
    VEL_CLASS(TPictureContainer, TComponent)
public:
    explicit TPictureContainer(TComponent* AOwner);
    ~TPictureContainer() override;

    // The picture of the first item of that name (ASCII letters compared
    // without case), owned by the item; null when none has it.
    THTMLPicture* FindPicture(const String& Name);
    // A picture copy of the named item's picture, valid until the next call
    // or the container's end; null when none has the name.
    TPicture* FindBitmap(const String& Name);
    void RegisterControl(TControl* AControl);
    // Repaints every registered control, then raises OnChange.
    virtual void Changed();
    virtual Integer GetVersionNr() const;
    String Version() const;
    void SetVersion(const String&) {}

    TPictureCollection* Items() const { return FItems.get(); }
    // Copies the given collection's items (the container keeps its own).
    void SetItems(TPictureCollection* Value);
    Integer ControlCount() const { return FControls.Count(); }
    TControl* Controls(Integer Index) const;

    TNotifyEvent OnChange;

protected:
    virtual TPictureCollection* CreateItems();
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TList FControls;
    std::unique_ptr<TPicture> FPicture;
    std::unique_ptr<TPictureCollection> FItems;
};
