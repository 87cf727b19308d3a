// Player: TPlayer, the ship the player flies — steered by the keyboard's direction states,
// firing the phaser at the last click and torpedoes at a typed angle, with cloak, shields,
// warp, ramming, damage through the shields and its explosion. It writes the shared globals the
// other sprites read. Depends on Shared, Effects, the enemies and the supply ship it rams, the
// torpedo it launches, and the main window's input (Main).
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/sprites/DXSprite.h"

class TPlayer : public TImageSprite {
public:
    static constexpr std::string_view SpriteClassName = "TPlayer";
    // The phaser energy one shot spends.
    static constexpr float PhaserShotCost = 10.0f;

    explicit TPlayer(TSprite* AParent);

    // Ramming: each side takes the other's remaining hull.
    void HandleCollision(TSprite* Sprite, bool& Done) override;
    void Advance(int MoveCount) override;

    // A click in the play area: aims there, and asks for a shot while the left button is held.
    virtual void MouseDown(TPoint Point);
    virtual void MouseUp();
    virtual float GetPhaserEnergy() const;
    virtual float GetShieldEnergy() const;
    virtual std::int32_t GetHull() const;
    virtual std::int32_t GetHullPercent() const;
    virtual std::int32_t GetTorpedoes() const;
    virtual void RepairHull();
    virtual void ReloadTorpedoes();
    virtual void RechargeShields();
    virtual void SetCloak(bool On);
    virtual void SetShields(bool On);
    // Light (true) or heavy ship, placed below the screen at full strength.
    virtual void SetShipType(bool Light);
    virtual void SetControllable(bool On);
    virtual void TakeDamage(std::int32_t Amount);
    // Launches a torpedo from the ship's centre; nothing while exploding, cloaked or empty.
    virtual void FireTorpedo(float Angle);
    virtual void SetWarp(bool On, bool WithSound);
    virtual bool IsExploding() const;
    virtual void SetImage(int Index);
    // Below the bottom edge, centred, level, at ship depth.
    virtual void PlaceAtStart(int Index);
    virtual void Steer();
    virtual void RechargeEnergy();
    // The phaser's energy gained per second: less while the shields are up.
    double PhaserRecharge() const;
    virtual void FirePhaser();
    virtual void ApplyBeamHits();

    std::int32_t Hull = 0;
    std::int32_t Speed = 0;  // pixels per second
    std::int32_t TorpedoDamage = 0;
    float PhaserEnergy = 100.0f;  // nominally 0 to 100
    float ShieldEnergy = 100.0f;
    bool Controllable = true;
    bool Warping = false;
    bool Cloaked = false;
    bool ShieldsUp = false;
    bool Exploding = false;
    std::int32_t PhaserPower = 0;  // round(PhaserEnergy x 2.5): the shot's intensity and damage
    std::int32_t Torpedoes = 0;
    bool LightShip = false;
    bool FireRequested = false;

private:
    std::int32_t FullHull() const;
    int NormalImage() const;
};
