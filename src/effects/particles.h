// The particle fountain: a fixed pool of textured, alpha-faded particles reborn at the origin.
#pragma once

#include "scene/scene.h"

enum { kParticleCount = 400 };

struct Particle {
    float life;  // remaining life, also the alpha it is drawn with
    float fade;  // taken from life every frame
    Vec3 position;
    Vec3 velocity;      // the position moves by velocity x 0.01 per frame
    Vec3 acceleration;  // added to the velocity per frame
};

extern Particle Particles[kParticleCount];
extern Mesh ParticleQuad;  // a 100 x 100 square in the z = 0 plane, texture once across it

// Fills the pool from rand (never seeded here) and builds ParticleQuad; returns 1.
int InitParticles();
// Draws every particle facing CameraEye at its position plus the offset, then moves it one step.
// Only scale.x and scale.y are used. The caller binds the texture and sets the blend; returns 1.
int DrawParticles(float offsetX, float offsetY, float offsetZ, Vec3 scale);
