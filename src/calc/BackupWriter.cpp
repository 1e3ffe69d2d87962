#include "calc/BackupWriter.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace kadrel {

bool BackupWriter::Commit() {
    if (failed_) {
        pending_.clear();
        return true;
    }
    errno = 0;
    std::ofstream out(file_, std::ios::binary | (started_ ? std::ios::app : std::ios::trunc));
    if (out) out.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    if (out) out.flush();
    if (!out) {
        error_ = "cannot write the backup \"" + file_.string() + "\" (" +
                 (errno != 0 ? std::strerror(errno) : "write error") + "); the run goes on without it";
        failed_ = true;
        pending_.clear();
        return false;
    }
    started_ = true;
    pending_.clear();
    return true;
}

}  // namespace kadrel
