#include "cli/VersionText.h"

#include "SourceCommit.h"
#include "align/builtin/BuiltinVersions.h"
#include "align/tcoffee/TCoffeeVersion.h"

namespace kadrel::cli {

std::string VersionText() {
    std::string text = std::string("kadrel ") + KADREL_VERSION;
    if (const std::string commit = KADREL_SOURCE_COMMIT; !commit.empty()) text += "\nsource commit " + commit;
    const std::string tcoffee = TCoffeeVersion();
    text += "\nt_coffee: " + (tcoffee.empty() ? std::string("not on the search path") : tcoffee);
    return text + "\nbuilt-in aligner: " + BuiltinAlignerLibraries();
}

}  // namespace kadrel::cli
