#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "calc/SequenceSet.h"

namespace kadrel {
namespace {

using test::TempFolder;

TEST(SequenceSet, MultipleSequenceFilesAreCutAtEveryMarker) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> names;
        std::vector<std::string> texts;  // checked when not empty
    };
    const std::vector<Case> cases = {
        {"three records", ">a\r\nAC\r\n>b\r\nGT\r\n>c\r\nTT\r\n", {"a", "b", "c"},
         {">a\r\nAC\r\n", ">b\r\nGT\r\n", ">c\r\nTT\r\n"}},
        {"text before the first marker is dropped", "title\r\n\r\n>x\r\nAC\r\n", {"x"}, {">x\r\nAC\r\n"}},
        {"no marker, no record", "ACGT\r\nACGT\r\n", {}, {}},
        {"empty file", "", {}, {}},
        {"a marker inside a header line starts a record", ">a>b\r\nACGT", {"a", "b"}, {">a", ">b\r\nACGT"}},
        {"the name is the whole header line", ">seq1 some words\r\nAC\r\n", {"seq1 some words"}, {}},
        {"LF line ends", ">p q\nAC\nGT\n>r\nTT\n", {"p q", "r"}, {">p q\nAC\nGT\n", ">r\nTT\n"}},
        {"lone CR line ends", ">p\rAC\r>r\rTT\r", {"p", "r"}, {}},
        {"a record without line end is all name", ">abc", {"abc"}, {">abc"}},
        {"names need not be unique", ">s\nA\n>s\nC\n", {"s", "s"}, {}},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const SequenceSet set = ReadSequenceSet(2, folder.Write("set.fas", c.text));
        ASSERT_EQ(set.count, c.names.size()) << c.what;
        for (std::size_t r = 0; r < set.count; ++r) {
            const SequenceRecord record = LoadRecord(set, r);
            EXPECT_EQ(record.name, c.names[r]) << c.what;
            if (!c.texts.empty()) {
                EXPECT_EQ(record.text, c.texts[r]) << c.what;
            }
        }
    }
}

TEST(SequenceSet, FolderSetsListRegularVisibleFilesInNameOrder) {
    TempFolder folder;
    for (const char* name : {"b.fas", "aB", "A.fas", "ab", "a.fas", "AB", "seq1.fasta", "seq1.fas", "Ab", "abc",
                             "abcd", "Zed.txt", ".hidden.fas"})
        folder.Write(name, std::string(">") + name + "\nACGT\n");
    std::filesystem::create_directory(folder / "sub.fas");

    const SequenceSet set = ReadSequenceSet(1, folder.Path());
    // Names equal but for case go by byte order.
    const std::vector<std::string> listed = {"A.fas", "a.fas", "AB",       "Ab",         "aB",     "ab",
                                             "abc",   "abcd",  "b.fas",    "seq1.fas",   "seq1.fasta", "Zed.txt"};
    EXPECT_EQ(set.fileNames, listed);
    ASSERT_EQ(set.count, listed.size());
    const std::vector<std::string> names = {"A", "a", "AB", "Ab", "aB", "ab", "abc", "abcd", "b", "seq1", "seq1.f", "Zed"};
    for (std::size_t r = 0; r < set.count; ++r) {
        const SequenceRecord record = LoadRecord(set, r);
        EXPECT_EQ(record.name, names[r]);
        // The file's own header never names the record, and its text is the whole file.
        EXPECT_EQ(record.text, ">" + listed[r] + "\nACGT\n");
    }
}

TEST(SequenceSet, AFileGoneSinceTheListingIsNamedInTheError) {
    TempFolder folder;
    folder.Write("gone.fas", ">g\nAC\n");
    const SequenceSet set = ReadSequenceSet(1, folder.Path());
    std::filesystem::remove(folder / "gone.fas");
    try {
        LoadRecord(set, 0);
        ADD_FAILURE() << "no error for a vanished file";
    } catch (const SetError& e) {
        EXPECT_NE(std::string(e.what()).find("gone.fas"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace kadrel
