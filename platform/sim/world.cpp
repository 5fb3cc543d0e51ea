// The world reader arrives with the browsing work; until then the world is
// empty unless a test sets one.
#include "platform/sim/world.h"

#include <cstdlib>

namespace sim {

static World currentWorld = {};
static bool worldLoaded = false;

bool ParseWorld(const char*, const char*, World*, char*, size_t) { return false; }

const World& CurrentWorld() {
    if (!worldLoaded) {
        currentWorld = World{};
        currentWorld.radioError = ERROR_NO_MORE_ITEMS;
        currentWorld.deviceError = ERROR_NO_MORE_ITEMS;
        worldLoaded = true;
    }
    return currentWorld;
}

void UseWorld(const World& world) {
    currentWorld = world;
    worldLoaded = true;
}

}  // namespace sim
