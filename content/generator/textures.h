// The procedural pictures of the show: surfaces, skies, environment maps and glows.
// Every function is a pure function of its arguments, so the pictures are the same on every build.
#pragma once

#include "picture.h"

#include <functional>

// Fills a picture from a function of the pixel centre (u, v in 0..1, v up).
Picture ShadePicture(int width, int height, const std::function<Colour(float u, float v)>& shade);

// Glows and flares: black outside, drawn additively by the show.
Picture MakeFlare(int size, Colour core, Colour halo, int rays, float rayStrength);
// A sphere-map environment: sky above the horizon, ground below, a sun, seen in a mirror ball.
Picture MakeSphereEnv(int size, Colour zenith, Colour horizon, Colour ground, Colour sun, unsigned seed);
Picture MakeCloudSky(int size, Colour top, Colour bottom, Colour cloud, float cover, unsigned seed);
Picture MakeRasterBar(Colour colour);
Picture MakePlasma(int size);

// Surfaces (tile across their edges so repeated mapping shows no seams).
Picture MakeFloorTiles(int size, Colour a, Colour b, unsigned seed);
Picture MakeBricks(int size, Colour brick, Colour mortar, unsigned seed);
Picture MakePlanet(int size, Colour a, Colour b, Colour c, unsigned seed);
Picture MakeSkin(int size, Colour base, Colour spots, Colour belly, unsigned seed);
Picture MakeShadedFlat(int size, Colour low, Colour high, Colour highlight);
Picture MakeWater(int size, unsigned seed);
Picture MakeMetalPanels(int size, Colour tint, int panels, unsigned seed);
Picture MakeRibbedPipe(int size, Colour tint, Colour light, unsigned seed);
Picture MakeHazardStripes(int size, Colour a, Colour b, int stripes, unsigned seed);
Picture MakeGridFloor(int size, Colour ground, Colour line, unsigned seed);
