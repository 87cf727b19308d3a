// DXImageList: display binding and the forwarding of the display's notifications.
#include "engine/DXImageList.h"

TCustomDXImageList::~TCustomDXImageList() { SetDXDraw(nullptr); }

void TCustomDXImageList::SetDXDraw(TCustomDXDraw* value) {
    if (value == FDXDraw) {
        return;
    }
    // Unsubscribing from a running display finalizes the items through the notification.
    if (FDXDraw != nullptr) {
        TCustomDXDraw* old = FDXDraw;
        FDXDraw = nullptr;
        old->Unsubscribe(this);
    }
    FDXDraw = value;
    FDXDrawName = value != nullptr ? value->Name : std::string();
    if (FDXDraw != nullptr) {
        FDXDraw->Subscribe(this);
    }
}

void TCustomDXImageList::DXDrawNotify(TCustomDXDraw& Sender, TDXDrawNotifyType NotifyType) {
    switch (NotifyType) {
        case TDXDrawNotifyType::dxntDestroying:
            SetDXDraw(nullptr);
            break;
        case TDXDrawNotifyType::dxntInitialize:
            FItems.Initialize(Sender);
            break;
        case TDXDrawNotifyType::dxntFinalize:
            FItems.Finalize();
            break;
        case TDXDrawNotifyType::dxntRestore:
            FItems.Restore();
            break;
        default:
            break;
    }
}

void TCustomDXImageList::DefineProperties(TPropertyList& list) {
    TComponent::DefineProperties(list);
    list.Reference("DXDraw", FDXDrawName);
    list.Collection("Items", FItems);
}
