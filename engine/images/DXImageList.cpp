// DXImageList: display binding and the forwarding of the display's notifications.
#include "engine/images/DXImageList.h"

TCustomDXImageList::~TCustomDXImageList() { SetDXDraw(nullptr); }

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
    list.Reference("DXDraw", FDXDraw.Name);
    list.Collection("Items", FItems);
}
