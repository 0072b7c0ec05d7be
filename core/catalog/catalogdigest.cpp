#include "core/catalog/catalogdigest.h"

// ZUVI_CATALOG_DIGEST is defined where the build has written the digest
// (cmake/catalogdigest.cmake); every other build of this file has none.
#ifdef ZUVI_CATALOG_DIGEST
#include <array>

#include "catalogdigest.inc"
#endif

namespace catalogdigest {

const Digest *compiled()
{
#ifdef ZUVI_CATALOG_DIGEST
    return &kDigest;
#else
    return nullptr;
#endif
}

} // namespace catalogdigest
