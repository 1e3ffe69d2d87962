// Reading taxonomy from the headers of the common reference libraries and from a table.
#include <gtest/gtest.h>

#include "calc/Taxonomy.h"
#include "calc/TaxonomyTable.h"

namespace kadrel {
namespace {

struct HeaderCase {
    const char* what;
    const char* header;
    const char* id;
    const char* lineage;  // Lineage::Text()
};

TEST(TaxonomyTest, EachHeaderConventionGivesItsLineageAndId) {
    const HeaderCase cases[] = {
        {"SINTAX", "LS01;tax=d:Eukaryota,k:Animalia,p:Arthropoda,c:Insecta,o:Odonata,f:Lestidae,g:Lestes,s:Lestes_sponsa;",
         "LS01", "Animalia;Arthropoda;Insecta;Odonata;Lestidae;Lestes;Lestes sponsa"},
        {"SINTAX, domain only and no species", "r2;tax=d:Bacteria,p:Firmicutes,g:Bacillus", "r2",
         "Bacteria;Firmicutes;;;;Bacillus"},
        {"UNITE general",
         "Abrothallus_subhalei|MT153946|SH1227328.09FU|reps|k__Fungi;p__Ascomycota;c__Dothideomycetes;"
         "o__Abrothallales;f__Abrothallaceae;g__Abrothallus;s__Abrothallus_subhalei",
         "Abrothallus_subhalei|MT153946|SH1227328.09FU|reps",
         "Fungi;Ascomycota;Dothideomycetes;Abrothallales;Abrothallaceae;Abrothallus;Abrothallus subhalei"},
        {"UNITE, unidentified ranks", "x|KY1|SH2.09FU|refs|k__Fungi;p__Ascomycota;c__unidentified;o__unidentified;"
         "f__unidentified;g__unidentified;s__Ascomycota_sp", "x|KY1|SH2.09FU|refs", "Fungi;Ascomycota"},
        {"Greengenes 13_8, spaced, epithet alone",
         "4479944 k__Bacteria; p__Proteobacteria; c__Gammaproteobacteria; o__Enterobacteriales; "
         "f__Enterobacteriaceae; g__Escherichia; s__coli",
         "4479944",
         "Bacteria;Proteobacteria;Gammaproteobacteria;Enterobacteriales;Enterobacteriaceae;Escherichia;Escherichia coli"},
        {"GTDB-style d__ with notes",
         "RS_GCF_000005845.2~NC_000913.3 d__Bacteria;p__Pseudomonadota;c__Gammaproteobacteria;o__Enterobacterales;"
         "f__Enterobacteriaceae;g__Escherichia;s__Escherichia coli [location=1..1542] [ssu_len=1542]",
         "RS_GCF_000005845.2~NC_000913.3",
         "Bacteria;Pseudomonadota;Gammaproteobacteria;Enterobacterales;Enterobacteriaceae;Escherichia;Escherichia coli"},
        {"Greengenes, empty ranks", "g1 k__Bacteria; p__Firmicutes; c__; o__; f__; g__; s__", "g1", "Bacteria;Firmicutes"},
        {"an empty rank between named ones", "q7 k__Fungi;p__;c__Sordariomycetes;g__Fusarium;s__Fusarium_solani", "q7",
         "Fungi;;Sordariomycetes;;;Fusarium;Fusarium solani"},
        {"SILVA, seven levels",
         "AB000389.1.1509 Bacteria;Proteobacteria;Gammaproteobacteria;Vibrionales;Vibrionaceae;Photobacterium;"
         "Photobacterium iliopiscarium",
         "AB000389.1.1509",
         "Bacteria;Proteobacteria;Gammaproteobacteria;Vibrionales;Vibrionaceae;Photobacterium;Photobacterium iliopiscarium"},
        {"SILVA, a deeper eukaryote",
         "AY123.1.1800 Eukaryota;Amorphea;Obazoa;Opisthokonta;Holozoa;Metazoa;Arthropoda;Insecta;Odonata;Lestes;"
         "Lestes sponsa",
         "AY123.1.1800", "Eukaryota;;;;;Lestes;Lestes sponsa"},
        {"MIDORI2",
         "MW123456.1.1.658###root_1;Eukaryota_2759;Arthropoda_6656;Insecta_50557;Odonata_6961;Lestidae_6994;"
         "Lestes_6995;Lestes sponsa_184760",
         "MW123456.1.1.658", "Eukaryota;Arthropoda;Insecta;Odonata;Lestidae;Lestes;Lestes sponsa"},
        {"MIDORI2 with a kingdom", "A1###root_1;Eukaryota_2759;Metazoa_33208;Chordata_7711;Aves_8782;Strigiformes_30458;"
         "Strigidae_30459;Strix_8987;Strix aluco_8988",
         "A1", "Metazoa;Chordata;Aves;Strigiformes;Strigidae;Strix;Strix aluco"},
        {"PR2, eight ranks",
         "AY505519.1.1736_U|Eukaryota|Archaeplastida|Rhodophyta|Rhodellophyceae|Rhodellales|Rhodellales_X|Rhodella|"
         "Rhodella_violacea",
         "AY505519.1.1736_U|Eukaryota|Archaeplastida|Rhodophyta|Rhodellophyceae|Rhodellales|Rhodellales_X|Rhodella|"
         "Rhodella_violacea",
         "Eukaryota;Rhodophyta;Rhodellophyceae;Rhodellales;Rhodellales X;Rhodella;Rhodella violacea"},
        {"PR2, nine ranks (subdivision)",
         "KX1.1.1700_U|Eukaryota|TSAR|Alveolata|Dinoflagellata|Dinophyceae|Gymnodiniales|Gymnodiniaceae|Gymnodinium|"
         "Gymnodinium_catenatum",
         "KX1.1.1700_U|Eukaryota|TSAR|Alveolata|Dinoflagellata|Dinophyceae|Gymnodiniales|Gymnodiniaceae|Gymnodinium|"
         "Gymnodinium_catenatum",
         "Eukaryota;Alveolata;Dinophyceae;Gymnodiniales;Gymnodiniaceae;Gymnodinium;Gymnodinium catenatum"},
        {"ID|Genus_species", "BOLD123|Lestes_dryas some note", "BOLD123|Lestes_dryas", ";;;;;Lestes;Lestes dryas"},
        {"ID|Genus_sp. is no species", "X9|Lestes_sp.", "X9|Lestes_sp.", ";;;;;Lestes"},
        {"no taxonomy", "Lestes sponsa COI ref-A", "Lestes", "unclassified"},
        {"a description with semicolons is no lineage", "q1 collected 2024; site 4; net", "q1", "unclassified"},
        {"an empty header", "", "", "unclassified"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HeaderLineage(c.header).Text(), c.lineage) << c.what;
        EXPECT_EQ(RecordId(c.header), c.id) << c.what;
    }
}

TEST(TaxonomyTest, NamesAreMadeComparable) {
    EXPECT_EQ(TaxonName("  Lestes__sponsa ", Rank::Species), "Lestes sponsa");
    EXPECT_EQ(TaxonName("uncultured bacterium", Rank::Species), "");
    EXPECT_EQ(TaxonName("Lestes sp.", Rank::Species), "");
    EXPECT_EQ(TaxonName("Lestes sp.", Rank::Genus), "Lestes sp.");  // "sp." says nothing only of a species
    EXPECT_EQ(TaxonName("Incertae_sedis", Rank::Family), "");
}

TEST(TaxonomyTest, ATableGivesLineagesByIdWithItsColumnsInAnyOrder) {
    // BOLD's data packages: the process id first, ranks among other columns, CR LF line ends.
    const std::string text =
        "processid\tsampleid\tspecies\tgenus\tsubfamily\tfamily\torder\tclass\tphylum\tkingdom\tbin_uri\r\n"
        "ODO001-19\tS1\tLestes sponsa\tLestes\t\tLestidae\tOdonata\tInsecta\tArthropoda\tAnimalia\tBOLD:AAA1111\r\n"
        "ODO002-19\tS2\t\tSympecma\t\tLestidae\tOdonata\tInsecta\tArthropoda\tAnimalia\r\n"
        "\r\n";
    const TaxonomyTable table = TaxonomyTable::Parse(text, "bold.tsv");
    ASSERT_EQ(table.size(), 2u);
    ASSERT_NE(table.Find("ODO001-19"), nullptr);
    EXPECT_EQ(table.Find("ODO001-19")->Text(), "Animalia;Arthropoda;Insecta;Odonata;Lestidae;Lestes;Lestes sponsa");
    // A BOLD FASTA header's first word holds more '|' fields after the id.
    ASSERT_NE(table.Find("ODO002-19|Sympecma|COI-5P"), nullptr);
    EXPECT_EQ(table.Find("ODO002-19|Sympecma|COI-5P")->Text(), "Animalia;Arthropoda;Insecta;Odonata;Lestidae;Sympecma");
    EXPECT_EQ(table.Find("ODO003-19"), nullptr);
}

TEST(TaxonomyTest, ATableThatCannotBeUsedIsRefusedNamingFileAndLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"id\tnote\nr1\tx\n", "\"t.tsv\" line 1: the first line names no rank column"},
        {"id\tspecies\nr1\tA b\nr1\tA c\n", "\"t.tsv\" line 3: record \"r1\" is given a second time"},
        {"id\tgenus\n\tLestes\n", "\"t.tsv\" line 2: no record id in the first column"},
        {"", "\"t.tsv\": the taxonomy file is empty"},
    };
    for (const auto& [text, message] : cases) {
        try {
            TaxonomyTable::Parse(text, "t.tsv");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const TaxonomyError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, std::string(message).size()), message);
        }
    }
}

}  // namespace
}  // namespace kadrel
