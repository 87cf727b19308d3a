// Enemies: the Federation fleet — TEnemy and its four kinds (the unarmed TEnemyShuttle, the
// torpedo ships TEnemyDefiant and TEnemyAkira, the heavy cruiser TEnemyInterpid with its charged
// beam) — and TEnemyPhotonTorpedo, which falls straight down onto the player. Each ship descends,
// manoeuvres, fires, takes the player's phaser shot, scores when destroyed, explodes and removes
// itself. Depends on Shared, Effects, the player ship it hits, the random generator and the
// game-wide score and frame time (Main).
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/sprites/DXSprite.h"

class TEnemyPhotonTorpedo;

// One row of the fleet's table.
struct TEnemyKind {
    int Image;
    std::int32_t Hull;
    float Speed;  // pixels per second
    std::int32_t TorpedoDamage;
    std::int32_t Score;  // added when destroyed
};

class TEnemy : public TImageSprite {
public:
    // Drawn as its ship, or, while exploding, as the explosion stretched over its own rectangle.
    void Render() override;
    // The part every kind runs first: the phaser shot, the end of the explosion or of the
    // flight off the screen, and the removal of a finished ship.
    void Advance(int MoveCount) override;

    virtual void TakeDamage(std::int32_t Amount);
    virtual std::int32_t GetHull() const;
    virtual bool IsExploding() const;
    virtual bool IsFinished() const;
    virtual void CheckPhaserHit();
    virtual void RemoveIfFinished();

    std::int32_t Hull = 0;
    std::int32_t TorpedoDamage = 0;
    float Speed = 0;
    bool Exploding = false;
    bool Finished = false;  // explosion over or off the screen; to be removed

protected:
    TEnemy(TSprite* AParent, const TEnemyKind& Kind);

    // Where the explosion is drawn, and how large.
    virtual TRect ExplosionRect() const = 0;
    // Y grows by the ship's speed for this frame.
    void Descend();
    // The x at which the ship's current image would be centred on the screen.
    int CentreLine() const;
    // A torpedo with this ship's damage, launched with its sound; the caller places it.
    TEnemyPhotonTorpedo& LaunchTorpedo();

private:
    std::int32_t FScore;
};

class TEnemyShuttle : public TEnemy {
public:
    static constexpr std::string_view SpriteClassName = "TEnemyShuttle";
    explicit TEnemyShuttle(TSprite* AParent);
    void Advance(int MoveCount) override;

protected:
    TRect ExplosionRect() const override;
};

// What the two torpedo ships share: after the common part they descend (exploding too), and
// while not exploding they move sideways by their kind's rule and fire while the player is
// visible. Their timer grows only in the frames in which they fire.
class TEnemyTorpedoShip : public TEnemy {
public:
    void Advance(int MoveCount) override;
    virtual void Fire();

    float FireTimer = 0;

protected:
    // LaunchAt: the timer's value at which a torpedo leaves (it grows by 5 a second).
    TEnemyTorpedoShip(TSprite* AParent, const TEnemyKind& Kind, float LaunchAt);

    // The kind's sideways move and banking.
    virtual void Manoeuvre() = 0;
    // Places a torpedo just launched.
    virtual void PlaceTorpedo(TEnemyPhotonTorpedo& Torpedo) = 0;

private:
    float FLaunchAt;
};

// Drifts away from the screen's vertical centre line, firing every 4 seconds.
class TEnemyDefiant : public TEnemyTorpedoShip {
public:
    static constexpr std::string_view SpriteClassName = "TEnemyDefiant";
    explicit TEnemyDefiant(TSprite* AParent);

protected:
    TRect ExplosionRect() const override;
    void Manoeuvre() override;
    void PlaceTorpedo(TEnemyPhotonTorpedo& Torpedo) override;
};

// Moves out to the quarter line on its side and holds there, firing every 2 seconds.
class TEnemyAkira : public TEnemyTorpedoShip {
public:
    static constexpr std::string_view SpriteClassName = "TEnemyAkira";
    explicit TEnemyAkira(TSprite* AParent);

protected:
    TRect ExplosionRect() const override;
    void Manoeuvre() override;
    void PlaceTorpedo(TEnemyPhotonTorpedo& Torpedo) override;
};

// Places itself above the screen at a random x, descends to StopY, and then fires its beam at
// the player while in range and charged, or closes in sideways. The session removes it.
class TEnemyInterpid : public TEnemy {
public:
    static constexpr std::string_view SpriteClassName = "TEnemyInterpid";
    explicit TEnemyInterpid(TSprite* AParent);
    void Advance(int MoveCount) override;
    void RemoveIfFinished() override;
    virtual void Fire();

    float StopY = 20.0f;
    float BeamCharge = 255.0f;  // 0 to 255

protected:
    TRect ExplosionRect() const override;
};

class TEnemyPhotonTorpedo : public TImageSprite {
public:
    static constexpr std::string_view SpriteClassName = "TEnemyPhotonTorpedo";
    explicit TEnemyPhotonTorpedo(TSprite* AParent);
    // Hits only the player ship, once.
    void HandleCollision(TSprite* Sprite, bool& Done) override;
    void Advance(int MoveCount) override;
    virtual void SetDamage(std::int32_t Amount);

    float Speed = 120.0f;
    std::int32_t Damage = 0;
};
