#include "ArchiveSeeds.h"
#include "ShapeSeeds.h"

#include "fuzz/common/SeedFiles.h"

// Writes the seed corpus of the fuzzer chosen at build time into the folder named by the first
// argument.
int main(int argc, char** argv) {
#if defined(KESTREL_SEEDS_UNPACK)
    return SeedsMain(argc, argv, PackedStreamSeeds);
#elif defined(KESTREL_SEEDS_SHAPE_IMPORT)
    return SeedsMain(argc, argv, ShapeImportSeeds);
#elif defined(KESTREL_SEEDS_SHAPE)
    return SeedsMain(argc, argv, ShapeSeeds);
#else
    return SeedsMain(argc, argv, ArchiveSeeds);
#endif
}
