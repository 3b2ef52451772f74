// Linked into the programs of the build tree that load the player's modules but
// do not sit beside them: they load them from the build tree's folder.

#include "platform/engine/module_loader.h"

namespace {

const bool kFromBuildTree = (LoadModulesFromBuildTree(LIRVAN_BUILD_TREE_MODULES), true);

} // namespace
