// Sprites: the game world's sprites — the player ship, the enemy fleet and its torpedoes, the
// star background, the player's torpedoes and the supply ship — with the globals they share,
// their sound effects, and a class reference for each class a table may name. The one header
// the game includes for them; the classes live in game/sprites/ by family.
#pragma once

#include "game/sprites/Effects.h"
#include "game/sprites/Enemies.h"
#include "game/sprites/Player.h"
#include "game/sprites/Shared.h"
#include "game/sprites/World.h"
