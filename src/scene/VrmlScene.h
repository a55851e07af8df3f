#pragma once
// VRML97 files read with Coin3D, shown as a VRML browser would show them.
// Shared by the preview window and tools/render-wrl.
//
// Coin needs help in three places: its image loading needs a library this
// system lacks (Qt's image readers are used instead), it tints an RGB
// texture with the material's diffuse colour (VRML97 lets the texture
// replace it), and a VRML Viewpoint is not a camera to it (firstViewpoint
// gives what a camera needs).

#include <QString>
#include <QStringList>

#include <Inventor/SbBox3f.h>
#include <Inventor/SbRotation.h>
#include <Inventor/SbVec3f.h>

#include <functional>
#include <memory>
#include <optional>

class SoGroup;
class SoNode;
class SoPerspectiveCamera;

// The OpenGL format Coin draws with: 2.1 compatibility profile with depth and
// stencil buffers. Set it as the default before the application object exists.
void setCoinSurfaceFormat();

// Sets up Coin once: database, texture reader, message capture, textures
// loaded with the file instead of on a sensor.
void initCoin();

// Every message Coin gave while reading (through its error handlers: a file
// with an extra closing brace still gives a scene): errors make the file
// unusable, warnings not.
struct SceneRead {
    SoGroup *root = nullptr; // referenced; released by ~Scene
    QStringList errors;
    QStringList warnings;
};

// The visitor's size for collisions: how close it may come to anything, its
// eye's height above the ground, and the highest step it walks over.
struct Avatar {
    float collisionDistance = 0.25f;
    float height = 1.6f;
    float stepHeight = 0.75f;
};

struct TextureShare;

class Scene {
public:
    // Reads a VRML file; textures are looked up beside it, then in searchDirs.
    // Textured materials get a white diffuse colour in the scene read (the
    // file stays as it is), and texture nodes of the same image are shared.
    // A graph in which a node holds itself (which Coin's reader builds from a
    // USE inside its own DEF, and on which any traversal overflows the stack)
    // is an error and gives no root.
    // Images::White reads every texture image as one white pixel, for the
    // nodes alone: no image is decoded, which in a forked child of the
    // editor could wait for threads forever (Qt's image routines start them).
    enum class Images { Decoded, White };
    static Scene read(const QString &path, const QStringList &searchDirs = {},
                      Images images = Images::Decoded);
    // The same for VRML text in memory, whose every texture image reads as
    // one white pixel: the nodes are what counts.
    static Scene fromText(const QByteArray &vrml);
    ~Scene();
    Scene(Scene &&other) noexcept;
    Scene &operator=(Scene &&other) noexcept;
    Scene(const Scene &) = delete;
    Scene &operator=(const Scene &) = delete;

    bool ok() const { return m_read.root != nullptr && m_read.errors.isEmpty(); }
    SoGroup *root() const { return m_read.root; }
    const QStringList &errors() const { return m_read.errors; }
    const QStringList &warnings() const { return m_read.warnings; }
    bool hasLights() const;
    bool hasSound() const;
    // NavigationInfo's headlight; VRML's default (on) when there is none.
    bool wantsHeadlight() const;
    // NavigationInfo's speed in units per second; VRML's default 1 when there is none.
    float walkingSpeed() const;
    // NavigationInfo's avatarSize, or VRML's defaults.
    Avatar avatar() const;

private:
    friend class PartReader;
    Scene() = default;
    static Scene readInput(const QString &path, const QByteArray &vrml,
                           const QStringList &searchDirs, TextureShare *share, bool whitePixels);
    SceneRead m_read;
};

// Reads many small VRML texts that make up one scene (one per item of the
// world being edited): images are looked up in searchDirs or by their
// absolute path, and each image file is decoded once and each texture node
// made once for all the texts read through the same reader. The texture
// nodes read point at the reader's decoded images: the reader must outlive
// them.
class PartReader {
public:
    explicit PartReader(QStringList searchDirs);
    ~PartReader();
    PartReader(const PartReader &) = delete;
    PartReader &operator=(const PartReader &) = delete;

    Scene read(const QByteArray &vrml);
    // One more folder to look in (the user's library), when it is not yet one.
    void addSearchDir(const QString &dir);

private:
    QStringList m_searchDirs;
    std::unique_ptr<TextureShare> m_share;
};

// What the first NavigationInfo of a graph says, or VRML's defaults.
bool wantsHeadlight(SoNode *root);
float walkingSpeed(SoNode *root);
Avatar avatar(SoNode *root);

// The first Viewpoint of a scene, in world coordinates.
struct Viewpoint {
    SbVec3f position;
    SbRotation orientation;
    float fieldOfView = 0.785398f; // radians, the smaller of the two view angles
};
std::optional<Viewpoint> firstViewpoint(SoNode *root);

SbBox3f boundingBox(SoNode *root);

// Every node of a scene read, once each, however many USEs share it: the
// nodes held by any field, not only children.
void forEachNode(SoNode *root, const std::function<void(SoNode *)> &visit);

// Near and far planes that take in the whole box from the camera's position.
void fitClippingPlanes(SoPerspectiveCamera *camera, const SbBox3f &box);
