// DXImageList: the image list component. It owns a picture collection and binds it to a display:
// the display's notifications initialize, build, rebuild and drop the items' surfaces, so the
// pictures are uploaded at every display initialization, after every loss of surfaces and after
// every load while the display runs. Depends on DXDraws and PictureCollection.
#pragma once

#include <string>

#include "engine/display/DXDraws.h"
#include "engine/images/PictureCollection.h"
#include "engine/assets/Persistent.h"

class TCustomDXImageList : public TComponent, public IDXDrawSubscriber {
public:
    TCustomDXImageList() = default;
    ~TCustomDXImageList() override;
    TCustomDXImageList(const TCustomDXImageList&) = delete;
    TCustomDXImageList& operator=(const TCustomDXImageList&) = delete;

    // The display it draws with; assigning unsubscribes from the old one and subscribes to the
    // new one. Cleared when that display is destroyed.
    TCustomDXDraw* DXDraw() const { return FDXDraw.Get(); }
    void SetDXDraw(TCustomDXDraw* value) { FDXDraw.Set(value); }
    // The display's component name as the form description gives it, for the form to resolve.
    const std::string& DXDrawName() const { return FDXDraw.Name; }

    TPictureCollection& Items() { return FItems; }

    void DXDrawNotify(TCustomDXDraw& Sender, TDXDrawNotifyType NotifyType) override;

    // "DXDraw" (a reference) and "Items" (the pictures stored in the form).
    void DefineProperties(TPropertyList& list) override;

private:
    TPictureCollection FItems;
    TDXDrawLink FDXDraw{*this};
};

class TDXImageList : public TCustomDXImageList {
public:
    std::string ClassName() const override { return "TDXImageList"; }
};
