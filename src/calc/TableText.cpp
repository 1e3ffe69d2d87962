#include "calc/TableText.h"

namespace kadrel {

std::string TableName(std::string_view name) {
    std::string text;
    bool quote = false;
    for (const char c : name) {
        if (c == '"') {
            quote = true;
            text += '"';
        }
        text += c;
    }
    return quote ? '"' + text + '"' : text;
}

}  // namespace kadrel
