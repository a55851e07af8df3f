#pragma once
// The sample worlds shipped in samples/, built item by item.
//
// Picture and music paths are relative to the world file's folder, so the
// samples work wherever they are copied.

#include "core/model/World.h"

namespace SampleWorlds {

World park();    // paths, a fountain plaza, trees, benches, a gazebo and a pond
World gallery(); // a gallery hall with pictures, furniture and music
World street();  // a crossing with houses, cars, a bus stop and traffic lights

} // namespace SampleWorlds
