#pragma once

// The recoil page's weapons as parameters of one side-view drawing: receiver, handguard, barrel, stock,
// magazine, grip and sight. Units are arbitrary; the drawing fits each weapon into its picture.

enum class Body { Boxy, Angular, Rounded, Bullpup, Pistol, Tube, Gatling };
enum class Guard { None, Plain, Vented, Rail, Ribbed };
enum class Muzzle { Plain, Brake, Suppressor, FlashHider };
enum class Stock { None, Solid, Skeleton, Telescoping, Wood, Wire, Thumbhole };
enum class Mag { None, Straight, Curved, Drum, Box, InGrip, Tube, Cylinder, Tank };
enum class Grip { Pistol, Vertical, Wrist };
enum class Sight { None, Iron, CarryHandle, RedDot, Scope, Rail };
enum class Extra { None, Bayonet, DoubleBarrel, BoltHandle };

struct GunShape
{
    Body body;
    double length, up, down; // receiver; the bore runs along y = 0, the muzzle to the right
    Guard guard;
    double guardLength, guardHeight;
    double barrelLength, barrelRadius;
    Muzzle muzzle;
    Stock stock;
    double stockLength;
    Mag mag;
    double magLength, magAt; // magAt, gripAt: fraction of the receiver's length
    Grip grip;
    double gripAt;
    Sight sight;
    bool foregrip, bipod;
    Extra extra;
};

#include <QImage>

// Twelve weapons per game, games 0-2.
extern const GunShape kGunShapes[3][12];

// One weapon in side view, in the look of its game (0-2).
QImage gunPicture(int game, const GunShape &shape);
