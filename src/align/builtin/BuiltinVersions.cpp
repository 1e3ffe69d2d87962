#include "align/builtin/BuiltinVersions.h"

#include <parasail.h>

namespace kadrel {

std::string BuiltinAlignerLibraries() {
    return std::string("WFA2-lib ") + KADREL_WFA2_VERSION + " and parasail " +
           std::to_string(PARASAIL_VERSION_MAJOR) + "." + std::to_string(PARASAIL_VERSION_MINOR) + "." +
           std::to_string(PARASAIL_VERSION_PATCH);
}

}  // namespace kadrel
