#include "fixed/fixed_program.h"

#include "fixed/fixed_state.h"

#include <cstdio>
#include <string>

// What a program is built for: one bit a switch, the fog mode in two bits.
enum : unsigned {
    kTexture = 1u << 0,
    kLighting = 1u << 1,
    kLight0 = 1u << 2,
    kLight1 = 1u << 3,
    kColourMaterial = 1u << 4,
    kGenS = 1u << 5,
    kGenT = 1u << 6,
    kPoints = 1u << 7,
    kSmoothLine = 1u << 8,
    kFogShift = 9,  // 1 linear, 2 exponential, 3 squared exponential
    kVariants = 1u << 11,
};

static const char* const kVertexSource = R"(
layout(location = 0) in vec4 Clip;
layout(location = 1) in vec3 Eye;
layout(location = 2) in vec3 Normal;
layout(location = 3) in vec4 Colour;
layout(location = 4) in vec2 TexCoord;
layout(location = 5) in vec4 Coverage;
uniform float PointSize;
out vec4 ShadedColour;
out vec2 ShadedTexCoord;
out float FogDistance;
#ifdef SMOOTH_LINE
out vec4 LineCoverage;
#endif

#ifdef LIGHTING
uniform vec4 SceneAmbient, MaterialAmbient, MaterialDiffuse, MaterialSpecular, MaterialEmission;
uniform float Shininess;
uniform vec4 LightPosition[2], LightAmbient[2], LightDiffuse[2], LightSpecular[2];

// One light's share by OpenGL 1.1's equation, for a viewer at infinity. The normal is used as the
// modelview made it: GL normalizes it only when asked to.
vec3 LightTerm(int i, vec3 ambient, vec3 diffuse) {
    vec4 p = LightPosition[i];
    vec3 toLight = normalize(p.w == 0.0 ? p.xyz : p.xyz / p.w - Eye);
    float lambert = dot(Normal, toLight);
    vec3 colour = ambient * LightAmbient[i].rgb + max(lambert, 0.0) * diffuse * LightDiffuse[i].rgb;
    if (lambert > 0.0) {
        float nh = max(dot(Normal, normalize(toLight + vec3(0.0, 0.0, 1.0))), 0.0);
        colour += (Shininess > 0.0 ? pow(nh, Shininess) : 1.0) * MaterialSpecular.rgb * LightSpecular[i].rgb;
    }
    return colour;
}
#endif

void main() {
    gl_Position = Clip;
#ifdef POINTS
    gl_PointSize = PointSize;
#endif
    vec4 colour = Colour;
#ifdef LIGHTING
#ifdef COLOUR_MATERIAL
    vec4 ambient = Colour, diffuse = Colour;
#else
    vec4 ambient = MaterialAmbient, diffuse = MaterialDiffuse;
#endif
    vec3 lit = MaterialEmission.rgb + ambient.rgb * SceneAmbient.rgb;
#ifdef LIGHT0
    lit += LightTerm(0, ambient.rgb, diffuse.rgb);
#endif
#ifdef LIGHT1
    lit += LightTerm(1, ambient.rgb, diffuse.rgb);
#endif
    colour = vec4(lit, diffuse.a);
#endif
    ShadedColour = clamp(colour, 0.0, 1.0);
    ShadedTexCoord = TexCoord;
#if defined(GEN_S) || defined(GEN_T)
    // Sphere map: the eye's ray reflected about the normal, onto the unit disc.
    vec3 u = normalize(Eye);
    vec3 r = u - 2.0 * Normal * dot(Normal, u);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
#ifdef GEN_S
    ShadedTexCoord.s = r.x / m + 0.5;
#endif
#ifdef GEN_T
    ShadedTexCoord.t = r.y / m + 0.5;
#endif
#endif
    FogDistance = abs(Eye.z);
#ifdef SMOOTH_LINE
    LineCoverage = Coverage;
#endif
}
)";

static const char* const kFragmentSource = R"(
precision highp float;
in vec4 ShadedColour;
in vec2 ShadedTexCoord;
in float FogDistance;
#ifdef SMOOTH_LINE
in vec4 LineCoverage;
#endif
uniform sampler2D Texture;
uniform vec4 FogColour;
uniform float FogDensity, FogStart, FogEnd;
out vec4 FragmentColour;

void main() {
    vec4 colour = ShadedColour;
#ifdef TEXTURE
    colour *= texture(Texture, ShadedTexCoord);
#endif
#if FOG == 1
    float f = (FogEnd - FogDistance) / (FogEnd - FogStart);
#elif FOG == 2
    float f = exp(-FogDensity * FogDistance);
#elif FOG == 3
    float d = FogDensity * FogDistance;
    float f = exp(-d * d);
#endif
#if FOG
    colour.rgb = mix(FogColour.rgb, colour.rgb, clamp(f, 0.0, 1.0));
#endif
#ifdef SMOOTH_LINE
    colour.a *= clamp(LineCoverage.y - abs(LineCoverage.x), 0.0, 1.0) *
                clamp(LineCoverage.w - abs(LineCoverage.z), 0.0, 1.0);
#endif
    FragmentColour = colour;
}
)";

struct Program {
    GLuint name;
    bool failed;
    unsigned version;  // the state version its uniforms were last set from
    GLint pointSize, sceneAmbient, material[4], shininess;
    GLint lightPosition, lightAmbient, lightDiffuse, lightSpecular;
    GLint fogColour, fogDensity, fogStart, fogEnd;
};

static Program Programs[kVariants];
static GLuint CurrentProgram = 0;

void ResetFixedPrograms() {
    for (Program& p : Programs) p = Program{};
    CurrentProgram = 0;
}

static unsigned FogBits() {
    switch (Fixed.fogMode) {
        case GL_LINEAR: return 1;
        case GL_EXP: return 2;
        default: return 3;
    }
}

// The switches the current state draws with; those without effect are left out, so that fewer
// programs are built.
static unsigned CurrentVariant(GLenum primitive) {
    const FixedPipeline& f = Fixed;
    unsigned key = 0;
    if (f.texture2D && FixedTextureComplete()) {
        key |= kTexture;
        if (f.genS && f.genModeS == GL_SPHERE_MAP) key |= kGenS;
        if (f.genT && f.genModeT == GL_SPHERE_MAP) key |= kGenT;
    }
    if (f.lighting) {
        key |= kLighting;
        if (f.lights[0].enabled) key |= kLight0;
        if (f.lights[1].enabled) key |= kLight1;
        if (f.colourMaterial) key |= kColourMaterial;
    }
    if (primitive == GL_POINTS) key |= kPoints;
    if (primitive == kSmoothLines) key |= kSmoothLine;
    if (f.fog) key |= FogBits() << kFogShift;
    return key;
}

static std::string Header(unsigned key) {
    std::string h = "#version 300 es\n";
    static const struct {
        unsigned bit;
        const char* name;
    } kSwitches[] = {{kTexture, "TEXTURE"},
                     {kLighting, "LIGHTING"},
                     {kLight0, "LIGHT0"},
                     {kLight1, "LIGHT1"},
                     {kColourMaterial, "COLOUR_MATERIAL"},
                     {kGenS, "GEN_S"},
                     {kGenT, "GEN_T"},
                     {kPoints, "POINTS"},
                     {kSmoothLine, "SMOOTH_LINE"}};
    for (const auto& s : kSwitches)
        if (key & s.bit) h += std::string("#define ") + s.name + "\n";
    h += "#define FOG " + std::to_string(key >> kFogShift) + "\n";
    return h;
}

static GLuint Compile(GLenum kind, const std::string& source) {
    GLuint shader = glCreateShader(kind);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        fprintf(stderr, "fixed-function layer: a shader does not compile: %s\n", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

static GLuint Link(unsigned key) {
    const std::string header = Header(key);
    GLuint vertex = Compile(GL_VERTEX_SHADER, header + kVertexSource);
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, header + kFragmentSource);
    GLuint program = vertex && fragment ? glCreateProgram() : 0;
    if (program) {
        glAttachShader(program, vertex);
        glAttachShader(program, fragment);
        glLinkProgram(program);
        GLint ok = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok) {
            fprintf(stderr, "fixed-function layer: a program does not link\n");
            glDeleteProgram(program);
            program = 0;
        }
    }
    if (vertex) glDeleteShader(vertex);
    if (fragment) glDeleteShader(fragment);
    return program;
}

static void Locate(Program* p) {
    auto at = [p](const char* name) { return glGetUniformLocation(p->name, name); };
    p->pointSize = at("PointSize");
    p->sceneAmbient = at("SceneAmbient");
    p->material[0] = at("MaterialAmbient");
    p->material[1] = at("MaterialDiffuse");
    p->material[2] = at("MaterialSpecular");
    p->material[3] = at("MaterialEmission");
    p->shininess = at("Shininess");
    p->lightPosition = at("LightPosition");
    p->lightAmbient = at("LightAmbient");
    p->lightDiffuse = at("LightDiffuse");
    p->lightSpecular = at("LightSpecular");
    p->fogColour = at("FogColour");
    p->fogDensity = at("FogDensity");
    p->fogStart = at("FogStart");
    p->fogEnd = at("FogEnd");
}

// Uniforms a program does not use have location -1, which GL ignores.
static void SetUniforms(const Program& p) {
    const FixedPipeline& f = Fixed;
    glUniform1f(p.pointSize, f.pointSize);
    glUniform4fv(p.sceneAmbient, 1, f.sceneAmbient);
    const float* material[4] = {f.materialAmbient, f.materialDiffuse, f.materialSpecular, f.materialEmission};
    for (int i = 0; i < 4; ++i) glUniform4fv(p.material[i], 1, material[i]);
    glUniform1f(p.shininess, f.shininess);
    float position[8], ambient[8], diffuse[8], specular[8];
    for (int l = 0; l < 2; ++l)
        for (int c = 0; c < 4; ++c) {
            position[l * 4 + c] = f.lights[l].position[c];
            ambient[l * 4 + c] = f.lights[l].ambient[c];
            diffuse[l * 4 + c] = f.lights[l].diffuse[c];
            specular[l * 4 + c] = f.lights[l].specular[c];
        }
    glUniform4fv(p.lightPosition, 2, position);
    glUniform4fv(p.lightAmbient, 2, ambient);
    glUniform4fv(p.lightDiffuse, 2, diffuse);
    glUniform4fv(p.lightSpecular, 2, specular);
    glUniform4fv(p.fogColour, 1, f.fogColour);
    glUniform1f(p.fogDensity, f.fogDensity);
    glUniform1f(p.fogStart, f.fogStart);
    glUniform1f(p.fogEnd, f.fogEnd);
}

bool UseFixedProgram(GLenum primitive) {
    const unsigned key = CurrentVariant(primitive);
    Program& p = Programs[key];
    if (p.failed) return false;
    if (!p.name) {
        p.name = Link(key);
        if (!p.name) {
            p.failed = true;
            return false;
        }
        Locate(&p);
    }
    if (CurrentProgram != p.name) {
        glUseProgram(p.name);
        CurrentProgram = p.name;
    }
    if (p.version != Fixed.version) {
        SetUniforms(p);
        p.version = Fixed.version;
    }
    return true;
}
