#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "calc/SequenceSet.h"

namespace kadrel {
namespace {

using test::TempFolder;

// What gzip makes of `text`, cut to `keep` bytes (all when npos).
std::string Gzipped(const std::string& text, std::size_t keep = std::string::npos) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, text.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out.substr(0, keep);
}

// How a set is read as users bring it: every rule of the README's input section, with the warning
// (or the refusal) the user gets. The set is "set" (a file) or the folder "f".
TEST(InputRules, SetsAsUsersBringThem) {
    const std::string fastq = "@r1 x\nACGT\n+\n>>>>\n@r2\nAC\nGT\n+r2\nI>\nII\n";
    const std::string report = "Comparisons by Orvo   01/02/26 10:00     Kadrel 0.1.0\r\nSeq1\tSeq2\r\n";
    struct Case {
        const char* what;
        std::map<std::string, std::string> files;
        std::vector<std::string> names;  // or
        std::string error;               // what the refusal says
        std::string warning;             // what one warning says; empty: none at all
        std::string firstText = {};      // record 1's text as the aligner gets it, when given
    };
    const Case cases[] = {
        {"a 16S header holding '>'", {{"set", ">S51-W<gv>1 uncultured\r\nACGT\r\n>b\r\nAC\r\n"}},
         {"S51-W<gv", "1 uncultured", "b"}, "",
         "line 1: a '>' inside the line starts a new record there: record 1 \"S51-W<gv\" ends and record 2 "
         "\"1 uncultured\" begins"},
        {"once per file, with the count", {{"set", ">a\nAC\n>b x>y\nGG\n>c>d\n"}}, {"a", "b x", "y", "c", "d"}, "",
         "line 3: a '>' inside the line starts a new record there: record 2 \"b x\" ends and record 3 \"y\" begins "
         "(2 lines of the file hold such a '>')"},
        {"lone CR line ends", {{"set", ">a\rAC\r>b\rGG\r"}}, {"a", "b"}, "", ""},
        {"FASTQ, wrapped, qualities with '>'", {{"set", fastq}}, {"r1 x", "r2"}, "", "", ">r1 x\nACGT\n"},
        {"gzip FASTQ", {{"set", Gzipped(fastq)}}, {"r1 x", "r2"}, "", "", ">r1 x\nACGT\n"},
        {"gzip FASTA, two members", {{"set", Gzipped(">a\nAC\n") + Gzipped(">b\nGT\n")}}, {"a", "b"}, "", ""},
        {"FASTQ without '+'", {{"set", "@r\nACGT\n"}}, {}, "begins with '@' but is not a FASTQ file (line 1: the read has no '+' line)", ""},
        {"FASTQ, qualities short", {{"set", "@r\nACGT\n+\nII\n"}}, {}, "(line 1: the read has fewer qualities than bases)", ""},
        {"gzip cut short", {{"set", Gzipped(">a\nACGT\n", 15)}}, {}, "cannot read the file (the gzip data are cut short)", ""},
        {"corrupt gzip", {{"set", "\x1F\x8B\x07\x01 not deflate data at all"}}, {}, "corrupt gzip data", ""},
        {"binary in gzip", {{"set", Gzipped(std::string(">a\nAC\0\1", 7))}}, {}, "not a FASTA text file (it holds binary data)", ""},
        {"repeated names", {{"set", ">s\nA\n>s\nC\n>t\nG\n>s\nT\n>t\nA\n"}}, {"s", "s", "t", "s", "t"}, "",
         "record names held by more than one record: \"s\" (3 records), \"t\" (2 records); their rows cannot be told apart"},
        {"an earlier report of any name", {{"f/a.fas", ">a\nAC\n"}, {"f/run1.txt", report}}, {"a"}, "",
         "run1.txt\" is a report or backup of Kadrel; it is not read as a record"},
        {"a folder's FASTQ file", {{"f/x1.fq", "@read\nACGT\n+\nIIII\n"}}, {"x"}, "", "", ">read\nACGT\n"},
        {"a folder's gzip file", {{"f/r.fas.gz", Gzipped(">x\nACGT\n")}}, {"r.fa"}, "", "", ">x\nACGT\n"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        for (const auto& [name, bytes] : c.files) folder.Write(name, bytes);
        std::vector<std::string> names, warnings;
        std::string error, firstText;
        try {
            const SequenceSet set = ReadSequenceSet(1, folder / (c.files.begin()->first.starts_with("f/") ? "f" : "set"));
            RequireRecords(set);
            warnings = set.warnings;
            for (std::size_t r = 0; r < set.count; ++r) {
                const SequenceRecord record = LoadRecord(set, r);
                names.push_back(record.name);
                if (r == 0) firstText = record.text;
            }
        } catch (const SetError& e) {
            error = e.what();
        }
        EXPECT_EQ(names, c.names) << c.what;
        EXPECT_TRUE(c.error.empty() ? error.empty() : error.find(c.error) != std::string::npos) << c.what << ": " << error;
        ASSERT_EQ(warnings.size(), c.warning.empty() ? 0 : 1) << c.what;
        if (!c.warning.empty()) {
            EXPECT_NE(warnings[0].find(c.warning), std::string::npos) << c.what << ": " << warnings[0];
        }
        if (!c.firstText.empty()) {
            EXPECT_EQ(firstText, c.firstText) << c.what;
        }
    }
}

}  // namespace
}  // namespace kadrel
