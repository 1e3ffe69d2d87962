#include "align/TextFile.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace kadrel {
namespace {

// Every member of the stream (bgzip writes many).
std::optional<std::string> Gunzip(std::string_view bytes, std::string& error) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        error = "zlib cannot start";
        return std::nullopt;
    }
    std::size_t offset = 0;
    // zlib counts its input in uInt: a file over 4 GiB goes in in parts.
    const auto refill = [&] {
        if (stream.avail_in != 0 || offset == bytes.size()) return;
        const std::size_t n = std::min<std::size_t>(bytes.size() - offset, 1u << 30);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + offset));
        stream.avail_in = static_cast<uInt>(n);
        offset += n;
    };
    std::string text;
    char buffer[1 << 16];
    int status = Z_OK;
    for (;;) {
        refill();
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        text.append(buffer, sizeof buffer - stream.avail_out);
        if (status == Z_STREAM_END) {
            refill();
            if (stream.avail_in == 0) break;  // the last member
            status = inflateReset(&stream);   // bgzip and `cat a.gz b.gz` write several
            if (status != Z_OK) break;
            continue;
        }
        if (status != Z_OK) break;
        if (stream.avail_in == 0 && offset == bytes.size() && stream.avail_out != 0) {
            status = Z_BUF_ERROR;
            break;
        }
    }
    const char* message = stream.msg;
    inflateEnd(&stream);
    if (status == Z_STREAM_END) return text;
    error = status == Z_BUF_ERROR ? "the gzip data are cut short"
                                  : std::string("corrupt gzip data: ") + (message ? message : "zlib error");
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
        error = "it is a folder, not a file";
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = errno != 0 ? std::strerror(errno) : "cannot be opened";
        return std::nullopt;
    }
    std::string text;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        error = "read error";
        return std::nullopt;
    }
    // Reference libraries are shipped compressed; the bytes say so, whatever the name.
    if (text.starts_with("\x1F\x8B")) {
        auto unpacked = Gunzip(text, error);
        if (!unpacked) return std::nullopt;
        text = std::move(*unpacked);
    }
    // Some editors start a UTF-8 file with a byte-order mark; it is no part of the text.
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    return text;
}

std::string QuotedPath(const std::filesystem::path& path) {
    std::string quoted(1, '"');
    quoted += path.string();
    quoted += '"';
    return quoted;
}

}  // namespace kadrel
