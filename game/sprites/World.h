// World: the rest of the game world — TBackground, the star field of 401 stars in three depth
// layers falling down the screen; TPlayerPhotonTorpedo, the player's torpedo flying straight at
// a typed angle; and TFriendSupplyShip, which descends, waits for a transport of supplies and
// leaves, and costs points when destroyed. Depends on Shared, Effects, the enemies the torpedo
// hits, the random generator and the game-wide score and frame time (Main).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/sprites/DXSprite.h"
#include "game/sprites/Enemies.h"

class TBackground : public TImageSprite {
public:
    static constexpr std::string_view SpriteClassName = "TBackground";

    struct TStar {
        float X = 0;
        float Y = 0;
        float SpeedFactor = 0;  // 1, 2 or 3
        std::int32_t Kind = 0;  // the frame drawn: 0, 1 or 2
    };
    static constexpr int StarCount = 401;

    explicit TBackground(TSprite* AParent);
    void Render() override;
    // Scatters the stars in the first two steps, then lets them fall; a star that reaches the
    // bottom comes back 150 pixels above the top as a new star.
    void Advance(int MoveCount) override;
    virtual void SetSpeed(float Value);
    virtual float GetSpeed() const;

    std::uint16_t InitPasses = 0;
    std::array<TStar, StarCount> Stars{};
    float ScrollSpeed = 25.0f;  // pixels per second of the slowest layer

private:
    // Kind and speed of a new star: two thirds of the stars are of kind 0.
    static void DrawKind(TStar& star);
};

class TPlayerPhotonTorpedo : public TImageSprite {
public:
    static constexpr std::string_view SpriteClassName = "TPlayerPhotonTorpedo";

    explicit TPlayerPhotonTorpedo(TSprite* AParent);
    // Damages the first enemy or supply ship it meets, and ends there.
    void HandleCollision(TSprite* Sprite, bool& Done) override;
    // Turned to its flight, centred on its position.
    void Render() override;
    void Advance(int MoveCount) override;
    virtual void SetDamage(std::int32_t Amount);
    // Degrees: 0 flies left, 90 up, 180 right, 270 down.
    virtual void SetAngle(float Degrees);

    float Speed = 120.0f;
    float Angle = 0;
    std::int32_t Damage = 0;
};

class TFriendSupplyShip : public TImageSprite {
public:
    static constexpr std::string_view SpriteClassName = "TFriendSupplyShip";

    // Above the screen at a random x.
    explicit TFriendSupplyShip(TSprite* AParent);
    void Advance(int MoveCount) override;
    virtual void TakeDamage(std::int32_t Amount);
    virtual void CheckPhaserHit();
    // Supplies were transported: the ship leaves.
    virtual void Leave();
    virtual std::int32_t GetHull() const;
    virtual bool IsDestroyed() const;
    // Gone or burnt out; the session removes it.
    virtual bool IsFinished() const;
    // Waiting in position: a transport is possible.
    virtual bool IsInPosition() const;

    std::int32_t Hull = 5000;
    float Speed = 20.0f;
    float StopY = 20.0f;
    float StayTimer = 0;  // seconds counted while not leaving, the descent included
    bool Transported = false;
    bool Destroyed = false;
    bool Finished = false;
    bool InPosition = false;
};

// Hands a sprite met in a collision to `hit` as the ship it is, when it can still be hit: an
// enemy that is not exploding or a supply ship that is not destroyed. Others are passed over.
template <class Hit>
void HitLiveShip(TSprite* sprite, Hit&& hit) {
    if (auto* enemy = dynamic_cast<TEnemy*>(sprite); enemy != nullptr && !enemy->IsExploding()) {
        hit(*enemy);
    }
    if (auto* supply = dynamic_cast<TFriendSupplyShip*>(sprite); supply != nullptr && !supply->IsDestroyed()) {
        hit(*supply);
    }
}
