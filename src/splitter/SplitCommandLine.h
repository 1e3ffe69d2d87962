#pragma once
#include <ostream>

namespace lutrane {

// `lutrane [-o DIR] FASTA...`: the split without a window. Messages and the count of files
// written go to err, help and version to out. Returns 0 when every record was written,
// 2 for bad usage or an input or output folder that cannot be used, 128 + the signal's number
// when SIGINT, SIGTERM or SIGHUP stopped it (then nothing it wrote is left).
int RunSplitCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace lutrane
