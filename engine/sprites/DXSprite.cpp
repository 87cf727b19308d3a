// DXSprite: the sprite tree, its four walks (move, draw, collide, free the dead) and the
// component that follows the display. Depends on Classes, the surface class, DXDraws and the
// image items (PictureCollection).
#include "engine/sprites/DXSprite.h"

#include <algorithm>
#include <climits>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "engine/images/PictureCollection.h"

namespace {

int SaturateToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

void EraseLast(std::vector<TSprite*>& list, TSprite* sprite) {
    const auto found = std::find(list.rbegin(), list.rend(), sprite);
    if (found != list.rend()) {
        list.erase(std::next(found).base());
    }
}

}  // namespace

// ---- TSpriteClass ----

bool TSpriteClass::ClassNameIs(std::string_view name) const {
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return std::ranges::equal(FName, name, {}, lower, lower);
}

// ---- TSprite ----

TSprite::TSprite(TSprite* AParent) : FParent(AParent) {
    if (AParent == nullptr) {
        return;
    }
    AParent->FChildren.push_back(this);
    AParent->InsertIntoDrawList(this);
    FEngine = AParent->FEngine != nullptr ? AParent->FEngine : dynamic_cast<TSpriteEngine*>(AParent);
    if (FEngine != nullptr) {
        ++FEngine->FSpriteCount;
    }
}

TSprite::~TSprite() {
    Clear();
    RemoveFromParent();
}

void TSprite::RemoveFromParent() {
    if (FParent == nullptr) {
        return;
    }
    if (FEngine != nullptr) {
        --FEngine->FSpriteCount;
        EraseLast(FEngine->FDeadList, this);
    }
    EraseLast(FParent->FChildren, this);
    EraseLast(FParent->FDrawList, this);
    FParent = nullptr;
}

void TSprite::Clear() {
    while (!FChildren.empty()) {
        delete FChildren.back();  // the child leaves FChildren on its own
    }
}

TSprite* TSprite::Items(int Index) const {
    if (FChildren.empty()) {
        throw ESpriteError(Format("Index of the list exceeds the range. (%d)", Index));
    }
    if (Index < 0 || Index >= Count()) {
        RaiseListIndexError(Index);
    }
    return FChildren[static_cast<std::size_t>(Index)];
}

double TSprite::WorldX() const {
    return FParent != nullptr ? X + FParent->WorldX() : X;
}

double TSprite::WorldY() const {
    return FParent != nullptr ? Y + FParent->WorldY() : Y;
}

// Binary search that lands before every sibling of equal depth: the sprite inserted (or
// re-sorted) last is drawn first among equals.
void TSprite::InsertIntoDrawList(TSprite* Sprite) {
    int low = 0;
    int high = static_cast<int>(FDrawList.size()) - 1;
    while (low <= high) {
        const int mid = (low + high) / 2;
        if (FDrawList[static_cast<std::size_t>(mid)]->FZ < Sprite->FZ) {
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    FDrawList.insert(FDrawList.begin() + low, Sprite);
}

void TSprite::SetZ(int AZ) {
    if (AZ == FZ) {
        return;
    }
    FZ = AZ;
    if (FParent != nullptr) {
        EraseLast(FParent->FDrawList, this);
        FParent->InsertIntoDrawList(this);
    }
}

// Children born during the walk are left for the next frame: the count is taken first.
void TSprite::Move(int MoveCount) {
    if (!CanMove) {
        return;
    }
    Advance(MoveCount);
    const std::size_t count = FChildren.size();
    for (std::size_t i = 0; i < count && i < FChildren.size(); ++i) {
        FChildren[i]->Move(MoveCount);
    }
}

void TSprite::Draw() {
    if (!Visible) {
        return;
    }
    if (FEngine != nullptr && OverlapRect(GetBounds(), FEngine->FSurfaceRect)) {
        Render();
        ++FEngine->FDrawnCount;
    }
    const std::size_t count = FDrawList.size();
    for (std::size_t i = 0; i < count && i < FDrawList.size(); ++i) {
        FDrawList[i]->Draw();
    }
}

int TSprite::Collide() {
    if (FEngine == nullptr || FIsDead || !CanCollide) {
        return 0;
    }
    TSpriteEngine& engine = *FEngine;
    engine.FHitCount = 0;
    engine.FHitDone = false;
    engine.FHitRect = GetBounds();
    engine.FCollider = this;
    const std::size_t count = engine.FChildren.size();
    for (std::size_t i = 0; i < count && i < engine.FChildren.size() && !engine.FHitDone; ++i) {
        CollideWith(engine.FChildren[i]);
    }
    return engine.FHitCount;
}

// One step of the collision walk over the whole tree; the stop flag ends it everywhere.
void TSprite::CollideWith(TSprite* Sprite) {
    if (!Sprite->CanCollide) {
        return;
    }
    TSpriteEngine& engine = *FEngine;
    if (Sprite != this && OverlapRect(Sprite->GetBounds(), engine.FHitRect) && AcceptsCollision(Sprite) &&
        Sprite->AcceptsCollision(this)) {
        ++engine.FHitCount;
        HandleCollision(Sprite, engine.FHitDone);
        if (!CanCollide || FIsDead) {
            engine.FHitDone = true;
        }
    }
    const std::size_t count = Sprite->FChildren.size();
    for (std::size_t i = 0; i < count && i < Sprite->FChildren.size() && !engine.FHitDone; ++i) {
        CollideWith(Sprite->FChildren[i]);
    }
}

void TSprite::Kill() {
    if (FEngine != nullptr && !FIsDead) {
        FIsDead = true;
        FEngine->FDeadList.push_back(this);
    }
}

void TSprite::HandleCollision(TSprite* /*Sprite*/, bool& /*Done*/) {}

void TSprite::Render() {}

void TSprite::Advance(int /*MoveCount*/) {}

TRect TSprite::GetBounds() {
    const int left = TruncToInt(WorldX());
    const int top = TruncToInt(WorldY());
    return TRect{left, top, SaturateToInt(std::int64_t{left} + Width), SaturateToInt(std::int64_t{top} + Height)};
}

bool TSprite::AcceptsCollision(TSprite* /*Sprite*/) {
    return true;
}

// ---- TImageSprite ----

int TImageSprite::FrameIndex() const {
    return SaturateToInt(std::int64_t{FrameStart} + TruncToInt(FramePos));
}

TRect TImageSprite::DrawRect() {
    const TRect bounds = GetBounds();
    if (Image == nullptr) {
        return bounds;
    }
    const std::int64_t dx = (std::int64_t{Width} - Image->Width()) / 2;
    const std::int64_t dy = (std::int64_t{Height} - Image->Height()) / 2;
    return TRect{SaturateToInt(bounds.Left + dx), SaturateToInt(bounds.Top + dy), SaturateToInt(bounds.Right + dx),
                 SaturateToInt(bounds.Bottom + dy)};
}

void TImageSprite::Render() {
    if (Image != nullptr) {
        const TRect at = DrawRect();
        Image->Draw(Engine()->Surface(), at.Left, at.Top, FrameIndex());
    }
}

void TImageSprite::Advance(int MoveCount) {
    FramePos += FrameSpeed * MoveCount;
    if (FrameLooped) {
        if (FrameCount > 0) {
            FramePos = std::fmod(FramePos, static_cast<double>(FrameCount));
            if (FramePos < 0) {
                FramePos += FrameCount;
            }
            if (FramePos >= FrameCount) {  // a tiny negative remainder rounded up to the count
                FramePos = 0;
            }
        } else {
            FramePos = 0;
        }
        return;
    }
    if (FramePos >= FrameCount) {
        FramePos = FrameCount - 1;
        FrameSpeed = 0;
    }
    if (FramePos < 0) {
        FramePos = 0;
        FrameSpeed = 0;
    }
}

// ---- TSpriteEngine ----

TSpriteEngine::~TSpriteEngine() {
    // The children reach back into the dead list and the count, so they go while those exist.
    Clear();
}

void TSpriteEngine::SetSurface(TDirectDrawSurface* ASurface) {
    FSurface = ASurface;
    if (ASurface != nullptr) {
        FSurfaceRect = ASurface->ClientRect();
        Width = ASurface->Width();
        Height = ASurface->Height();
    }
}

void TSpriteEngine::FreeDead() {
    while (!FDeadList.empty()) {
        delete FDeadList.back();  // the sprite leaves the dead list on its own
    }
}

void TSpriteEngine::Draw() {
    FDrawnCount = 0;
    TSprite::Draw();
}

// ---- TCustomDXSpriteEngine ----

TCustomDXSpriteEngine::TCustomDXSpriteEngine() : FEngine(std::make_unique<TSpriteEngine>()) {}

TCustomDXSpriteEngine::~TCustomDXSpriteEngine() {
    SetDXDraw(nullptr);
}

void TCustomDXSpriteEngine::DefineProperties(TPropertyList& list) {
    TComponent::DefineProperties(list);
    list.Reference("DXDraw", FDXDraw.Name);
}

void TCustomDXSpriteEngine::DXDrawNotify(TCustomDXDraw& Sender, TDXDrawNotifyType NotifyType) {
    switch (NotifyType) {
        case TDXDrawNotifyType::dxntInitialize:
            FEngine->SetSurface(Sender.Surface());
            break;
        case TDXDrawNotifyType::dxntFinalize:
            FEngine->SetSurface(nullptr);
            break;
        case TDXDrawNotifyType::dxntDestroying:
            SetDXDraw(nullptr);
            break;
        default:
            break;
    }
}

void TCustomDXSpriteEngine::Move(int MoveCount) {
    FEngine->Move(MoveCount);
}

void TCustomDXSpriteEngine::FreeDead() {
    FEngine->FreeDead();
}

void TCustomDXSpriteEngine::Draw() {
    if (DXDraw() != nullptr && DXDraw()->Initialized()) {
        FEngine->Draw();
    }
}
