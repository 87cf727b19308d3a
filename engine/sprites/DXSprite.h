// DXSprite: the sprite tree of the game world. Sprites hang under one root (TSpriteEngine), are
// moved in insertion order, drawn in depth order onto the display's back surface and found by
// rectangle overlap on request; dead sprites are freed once per frame, never during a walk.
// TDXSpriteEngine is the window's component that owns the root and follows the display.
// Depends on Classes, the surface class, the display (DXDraws) and the image items
// (PictureCollection).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/assets/Classes.h"
#include "engine/display/DXDraws.h"
#include "engine/assets/Persistent.h"

ZARVOTH_DECLARE_EXCEPTION(ESpriteError, Exception);

class TSprite;
class TSpriteEngine;
class TPictureCollectionItem;

// A sprite class reference: builds a sprite of one class under a parent, so that tables of
// classes can create sprites without knowing their types, and names the class, so that a table
// entry can be recognised by name.
class TSpriteClass {
public:
    using TFactory = TSprite* (*)(TSprite* AParent);

    // Made by SpriteClassOf; there is no empty class reference.
    constexpr TSpriteClass(TFactory factory, std::string_view name) : FFactory(factory), FName(name) {}

    // The new sprite is owned by AParent (by the caller when AParent is none).
    TSprite* Create(TSprite* AParent) const { return FFactory(AParent); }
    std::string_view ClassName() const { return FName; }
    // Compares the class name without regard to case.
    bool ClassNameIs(std::string_view name) const;
    friend constexpr bool operator==(const TSpriteClass& a, const TSpriteClass& b) { return a.FFactory == b.FFactory; }

private:
    TFactory FFactory;
    std::string_view FName;
};

template <class T>
TSprite* CreateSpriteOfClass(TSprite* AParent) {
    return new T(AParent);
}

// The class reference of any sprite class that is constructible from its parent alone; its
// name is the class's SpriteClassName.
template <class T>
constexpr TSpriteClass SpriteClassOf() {
    return TSpriteClass(&CreateSpriteOfClass<T>, T::SpriteClassName);
}

class TSprite {
public:
    // Every class that a class reference names declares its own.
    static constexpr std::string_view SpriteClassName = "TSprite";

    // Attaches the new sprite to AParent (none only for a root), which then owns it.
    explicit TSprite(TSprite* AParent);
    // Destroys the subtree, then leaves the parent, the dead list and the sprite count.
    virtual ~TSprite();
    TSprite(const TSprite&) = delete;
    TSprite& operator=(const TSprite&) = delete;

    TSpriteEngine* Engine() const { return FEngine; }
    TSprite* Parent() const { return FParent; }
    bool IsDead() const { return FIsDead; }
    int Z() const { return FZ; }
    // Re-sorts the sprite among its siblings; the same value changes nothing.
    void SetZ(int AZ);

    // Children in insertion order.
    int Count() const { return static_cast<int>(FChildren.size()); }
    TSprite* Items(int Index) const;

    double WorldX() const;
    double WorldY() const;

    void Move(int MoveCount);
    void Draw();
    // Meets every sprite of the tree whose bounds overlap this one's; returns how many it met.
    int Collide();
    // Marks the sprite dead; it stays in the tree until the engine's FreeDead.
    void Kill();
    // Destroys every child, last first.
    void Clear();

    // Called on the sprite that started Collide, once per sprite met; setting Done ends the walk.
    virtual void HandleCollision(TSprite* Sprite, bool& Done);
    virtual void Render();
    virtual void Advance(int MoveCount);
    virtual TRect GetBounds();
    virtual bool AcceptsCollision(TSprite* Sprite);

    bool CanCollide = true;
    bool CanMove = true;
    bool Visible = true;
    double X = 0;
    double Y = 0;
    int Width = 0;
    int Height = 0;

private:
    void InsertIntoDrawList(TSprite* Sprite);
    void RemoveFromParent();
    void CollideWith(TSprite* Sprite);

    TSpriteEngine* FEngine = nullptr;
    TSprite* FParent = nullptr;
    std::vector<TSprite*> FChildren;  // owned
    bool FIsDead = false;
    std::vector<TSprite*> FDrawList;
    int FZ = 0;
};

class TImageSprite : public TSprite {
public:
    static constexpr std::string_view SpriteClassName = "TImageSprite";

    explicit TImageSprite(TSprite* AParent) : TSprite(AParent) {}

    // FrameStart + trunc(FramePos).
    int FrameIndex() const;

    // The bounds moved so that the image's frame is centred on them.
    TRect DrawRect();

    // Advances the animation; a one-shot animation stops on its last frame.
    void Advance(int MoveCount) override;
    // Draws frame FrameIndex of Image at the top left of DrawRect.
    void Render() override;

    int FrameCount = 0;
    bool FrameLooped = false;
    double FramePos = 0;
    double FrameSpeed = 0;
    int FrameStart = 0;
    TPictureCollectionItem* Image = nullptr;  // not owned
};

// The root of a sprite tree. It is never drawn itself and has no engine of its own.
class TSpriteEngine : public TSprite {
public:
    TSpriteEngine() : TSprite(nullptr) {}
    ~TSpriteEngine() override;

    // The target surface (not owned); none keeps the last surface rectangle.
    void SetSurface(TDirectDrawSurface* ASurface);
    TDirectDrawSurface* Surface() const { return FSurface; }
    const TRect& SurfaceRect() const { return FSurfaceRect; }

    // Destroys the sprites marked dead, last marked first.
    void FreeDead();
    void Draw();

    int SpriteCount() const { return FSpriteCount; }
    int DrawnCount() const { return FDrawnCount; }

private:
    friend class TSprite;

    int FSpriteCount = 0;
    // Scratch state of the running collision walk.
    int FHitCount = 0;
    bool FHitDone = false;
    TRect FHitRect;
    TSprite* FCollider = nullptr;
    std::vector<TSprite*> FDeadList;  // not owned: parents own the sprites
    int FDrawnCount = 0;
    TDirectDrawSurface* FSurface = nullptr;
    TRect FSurfaceRect;
};

// The window's sprite engine component: owns the root and hands it the display's back surface.
class TCustomDXSpriteEngine : public TComponent, private IDXDrawSubscriber {
public:
    TCustomDXSpriteEngine();
    ~TCustomDXSpriteEngine() override;
    TCustomDXSpriteEngine(const TCustomDXSpriteEngine&) = delete;
    TCustomDXSpriteEngine& operator=(const TCustomDXSpriteEngine&) = delete;

    // "DXDraw": the display's component name (taken from SetDXDraw), for the form to resolve.
    void DefineProperties(TPropertyList& list) override;
    const std::string& DXDrawName() const { return FDXDraw.Name; }

    TSpriteEngine& Engine() { return *FEngine; }
    TCustomDXDraw* DXDraw() const { return FDXDraw.Get(); }
    // Leaves the previous display's subscribers and joins the new one's, whose name it keeps.
    void SetDXDraw(TCustomDXDraw* Value) { FDXDraw.Set(Value); }

    void Move(int MoveCount);
    void FreeDead();
    // Draws only while a display is set and initialized.
    void Draw();

private:
    void DXDrawNotify(TCustomDXDraw& Sender, TDXDrawNotifyType NotifyType) override;

    std::unique_ptr<TSpriteEngine> FEngine;
    TDXDrawLink FDXDraw{*this};
};

class TDXSpriteEngine : public TCustomDXSpriteEngine {
public:
    std::string ClassName() const override { return "TDXSpriteEngine"; }
};
