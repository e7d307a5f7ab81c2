#include "effects/particles.h"

#include "effects/effect_random.h"
#include "gfx/gl.h"
#include "render/mesh_draw.h"
#include "render/scene_draw.h"

#include <cstdlib>

Particle Particles[kParticleCount];
Mesh ParticleQuad;

// The draws happen in the order fade, velocity x, y, z; spread and zBase pick the generation.
static void SeedParticle(Particle* p, int spread, int zBase) {
    p->fade = (float)((EffectRandom() % 100) * 0.001 + 0.003);
    p->velocity.x = (float)((EffectRandom() % spread) - 26) * 10.0f;
    p->velocity.y = (float)((EffectRandom() % spread) - 25) * 10.0f;
    p->velocity.z = (float)((EffectRandom() % spread) - zBase) * 10.0f;
}

// Two triangles of a 100 x 100 square centred on the origin, the texture once across it.
static const FaceVertex kQuadCorners[2][3] = {
    {{-50, -50, 0, 0, 0}, {-50, 50, 0, 0, 1}, {50, 50, 0, 1, 1}},
    {{-50, -50, 0, 0, 0}, {50, -50, 0, 1, 0}, {50, 50, 0, 1, 1}},
};

int InitParticles() {
    for (Particle& p : Particles) {
        p.life = 3.0f;
        SeedParticle(&p, 100, 25);
        p.acceleration = MakeVec3(0, 0, 0);
        p.position = MakeVec3(0, 0, 0);
    }
    ParticleQuad.faceCount = 2;
    for (int f = 0; f < 2; ++f) {
        ParticleQuad.faces[f].vertexCount = 3;
        for (int v = 0; v < 3; ++v) ParticleQuad.faces[f].vertices[v] = kQuadCorners[f][v];
    }
    return 1;
}

// One frame of motion; a particle whose life runs out is reborn at the origin heading toward -z.
static void AdvanceParticle(Particle* p) {
    p->position.x += p->velocity.x * 0.01f;
    p->position.y += p->velocity.y * 0.01f;
    p->position.z += p->velocity.z * 0.01f;
    p->velocity.x += p->acceleration.x;
    p->velocity.y += p->acceleration.y;
    p->velocity.z += p->acceleration.z;
    p->life -= p->fade;
    if (!(p->life < 0)) return;
    p->life = 1.0f;
    p->position = MakeVec3(0, 0, 0);
    SeedParticle(p, 70, 105);
}

int DrawParticles(float offsetX, float offsetY, float offsetZ, Vec3 scale) {
    glDepthMask(GL_FALSE);  // no sorting: the particles never hide one another
    glDisable(GL_CULL_FACE);
    for (Particle& p : Particles) {
        glPushMatrix();
        glScalef(scale.x, scale.y, 1.0f);
        // The direction toward the eye, used directly as rotation angles in degrees.
        Vec3 angles = EnvNormal(p.position, CameraEye);
        glColor4f(1, 1, 1, p.life);
        glPushMatrix();
        DrawMesh(&ParticleQuad, p.position.x + offsetX, p.position.y + offsetY, p.position.z + offsetZ,
                 angles.x, angles.y, angles.z);
        glPopMatrix();
        glPopMatrix();
        AdvanceParticle(&p);
    }
    glDepthMask(GL_TRUE);
    return 1;
}
