#include <QProcess>

#include "WindowTestSupport.h"
#include "align/TCoffeeAligner.h"

namespace kadrel::ui::test {
namespace {

using TextbookWindow = WindowTest;

std::pair<std::string, std::string> BannerAndRest(const std::string& report) {
    const auto end = report.find("\r\n");
    return {report.substr(0, end), end == std::string::npos ? std::string() : report.substr(end + 2)};
}

// One transversion in ten sites: Kimura's published form gives 0.108, the classic one 0.081.
TEST_F(TextbookWindow, PublishedFormulasGiveTheReportOfCompareTextbook) {
    for (const char* side : {"p", "q"}) ASSERT_TRUE(QDir(work_.path()).mkdir(side));
    WriteFile(Folder("p/one.fas"), ">one\r\nACGTACGTAC\r\n");
    WriteFile(Folder("q/two.fas"), ">two\r\nACGTACGTTC\r\n");
    Open([] { return std::make_unique<TCoffeeAligner>(); });
    ChooseFolders(Folder("p"), Folder("q"));
    Click("Option2");
    Click("CheckTextbook");
    CalculateAndWait();

    QProcess compare;
    compare.start(QStringLiteral(KADREL_EXE),
                  {"compare", Folder("p"), Folder("q"), "--no-backup", "-m", "k2p", "--textbook"});
    ASSERT_TRUE(compare.waitForFinished(60000));
    const auto [banner, rest] = BannerAndRest(box_->ReportText());
    const auto [cliBanner, cliRest] = BannerAndRest(compare.readAllStandardOutput().toStdString());
    EXPECT_EQ(rest, cliRest);
    EXPECT_NE(rest.find("(textbook)\r\none\ttwo\t10\t1\t0.1\t0\t0\t1\t0\t0.108\r\n"), std::string::npos) << rest;
    for (const std::string& line : {banner, cliBanner}) EXPECT_TRUE(line.ends_with(" (textbook formulas)")) << line;
}

}  // namespace
}  // namespace kadrel::ui::test
