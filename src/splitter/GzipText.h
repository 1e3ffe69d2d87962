#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace lutrane {

// Whether the bytes begin as a gzip stream does (1F 8B), whatever the file is called.
inline bool IsGzip(std::string_view bytes) { return bytes.starts_with("\x1F\x8B"); }

// The text a gzip stream holds, all members of it (bgzip writes many); nothing, with `error`
// saying why, when the stream is corrupt or cut short. Lutrane shares no code with Kadrel, so it
// keeps this small use of zlib of its own.
std::optional<std::string> Gunzip(std::string_view bytes, std::string& error);

}  // namespace lutrane
