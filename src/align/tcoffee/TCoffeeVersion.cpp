#include "align/tcoffee/TCoffeeVersion.h"

#include <optional>
#include <sstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "align/TextFile.h"
#include "align/tcoffee/ShellX.h"
#include "align/tcoffee/TCoffeeAligner.h"
#include "align/tcoffee/WorkFolder.h"

namespace kadrel {
namespace fs = std::filesystem;

std::string TCoffeeVersion(std::chrono::milliseconds timeLimit) {
    if (!TCoffeeAligner().CheckAvailable().empty()) return {};
    try {
        std::error_code ec;
        const fs::path temp = fs::temp_directory_path(ec);
        const WorkFolder folder(ec ? fs::path("/tmp") : temp);
        // Its settings and scratch folders in the private folder too: nothing lands in the home
        // folder, which need not be writable.
        std::vector<std::string> environment;
        for (const char* variable : {"TMP_4_TCOFFEE", "DIR_4_TCOFFEE", "HOME_4_TCOFFEE", "LOCKDIR_4_TCOFFEE",
                                     "CACHE_4_TCOFFEE"}) {
            fs::create_directories(folder.Path() / variable);
            environment.push_back(std::string(variable) + "=" + (folder.Path() / variable).string());
        }
        const int status = ShellX({"/bin/sh", "-c", "cd \"$0\" && exec t_coffee -version >said.txt 2>&1",
                                   folder.Path().string()},
                                  environment, {}, timeLimit);
        std::string problem;
        const std::optional<std::string> said = ReadWholeFile(folder.Path() / "said.txt", problem);
        std::istringstream lines(said.value_or(""));
        // "PROGRAM: T-COFFEE Version_13.41.0.28bdc39 (2019-11-30 ...)": the line naming its version.
        for (std::string line; std::getline(lines, line);) {
            if (line.find("Version") == std::string::npos) continue;
            const std::string_view prefix = "PROGRAM: ";
            if (line.rfind(prefix, 0) == 0) line.erase(0, prefix.size());
            while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ') line.pop_back();
            return line;
        }
        return "it did not say its version (exit status " + std::to_string(status) + ")";
    } catch (const TimeLimitExceeded&) {
        return "it did not say its version within " + std::to_string(timeLimit.count() / 1000) + " s";
    } catch (const std::system_error& e) {
        return std::string("its version could not be asked: ") + e.what();
    }
}

}  // namespace kadrel
